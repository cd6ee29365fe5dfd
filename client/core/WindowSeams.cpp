#include "client/core/WindowSeams.h"

#include "platform/VbError.h"

namespace parlova {

void ShowConnectionState(MainWindow& window, bool connected)
{
    for (ToolbarId toolbar : {tlbMDI, tlbTalk, tlbBook, tlbStore}) {
        window.SetButtonValue(toolbar, QStringLiteral("Connect"), connected ? 1 : 0);
        window.SetButtonValue(toolbar, QStringLiteral("Disconnect"), connected ? 0 : 1);
    }
}

void RebuildEmpty(ChildWindow& window)
{
    const qint32 state = window.WindowState();
    window.Unload();
    window.SetFocus();
    window.SetWindowState(state);
}

WindowSet& Windows()
{
    static WindowSet set;
    return set;
}

MainWindow& MainWin() { return platform::Required(Windows().frmMDI, QStringLiteral("Parlova")); }
PortDialog& PortDlg() { return platform::Required(Windows().frmPort, QStringLiteral("Parlova")); }
ConferenceRegistry& ConferencesReg() { return platform::Required(Windows().Conferences, QStringLiteral("Parlova")); }
PhonebookWindow& PhonebookWin() { return platform::Required(Windows().frmPhonebook, QStringLiteral("Parlova")); }
MessageStoreWindow& MessageStoreWin() { return platform::Required(Windows().frmMessageStore, QStringLiteral("Parlova")); }

QDateTime ZeroDate() { return QDateTime(QDate(1899, 12, 30), QTime(0, 0)); }

}  // namespace parlova
