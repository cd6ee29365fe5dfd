#pragma once
// The user procedures of the main window that other windows share through
// the table of procedures: marking a conversation read, help, the message
// store, the web page.
#include <QString>
#include <QtGlobal>

class QWidget;

namespace parlova {

// The conversation's unread messages count as read.
void MarkTalkRead(const QString& theme);
// The help page of a context number, the contents for 0; a box names the
// page when it cannot be shown (no browser, or the page missing), at once,
// or once a launcher has ended without showing it.
void ShowHelp(qint32 context);
// The message-store window when the store is read; otherwise asks whether
// to read it first and queues one read at the end of the phone queue.
void ShowMessageStore();
// The maker's web page in the user's browser.
void OpenWebSite(QWidget* owner);
// The web page's address, a build setting.
QString WebSiteAddress();

// ShowMessageStore's question.
QString ReadStoreQuestion();
// ShowHelp's box for a page that was not shown.
QString HelpNotShownText(const QString& page, bool pageExists);

// Fills the slots of the table above with these procedures.
void InstallMainProcedures();

}  // namespace parlova
