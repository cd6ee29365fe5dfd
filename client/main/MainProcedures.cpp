#include "client/main/MainProcedures.h"

#include "client/core/Globals.h"
#include "client/core/Procedures.h"
#include "client/core/WindowSeams.h"
#include "client/orders/ReadStore.h"
#include "client/core/ModalQuestion.h"
#include "client/core/Orders.h"
#include "hub/messages/MessageStore.h"
#include "platform/ui/DesktopService.h"
#include "platform/MessageBoxStyle.h"
#include "platform/VbError.h"

#include <QFileInfo>
#include <QUrl>

#ifndef PARLOVA_WEB_SITE
#define PARLOVA_WEB_SITE "https://parlova.example.org/"
#endif

namespace parlova {

void MarkTalkRead(const QString& theme)
{
    try {
        ConferencesReg().Read(theme);
    } catch (const std::exception& e) {
        ModalQuestion::Ask(platform::ErrorText(e), platform::vbExclamation, G().AppName);
    }
}

namespace {

// Qt and the launcher say why only on stderr, which a desktop user never sees.
void SayHelpNotShown(const QString& page)
{
    try {
        ModalQuestion::Ask(HelpNotShownText(page, QFileInfo::exists(page)), platform::vbExclamation, G().AppName);
    } catch (...) {
    }
}

}  // namespace

void ShowHelp(qint32 context)
{
    try {
        const QString page = platform::HelpPath(context);
        // A launcher that fails tells when it ends, from the event loop.
        const auto ended = [page](bool shown) {
            if (!shown)
                SayHelpNotShown(page);
        };
        if (!platform::Desktop().ShowHelp(context, ended))
            SayHelpNotShown(page);
    } catch (...) {
    }
}

QString HelpNotShownText(const QString& page, bool pageExists)
{
    if (!pageExists)
        return QStringLiteral("Unable to show the help: its page is missing:\r") + page;
    return QStringLiteral("Unable to show the help: no program was found to open\r") + page +
           QStringLiteral("\r\rOpen that page in a web browser.");
}

QString ReadStoreQuestion()
{
    return QStringLiteral("The message store haven't been read from your phone yet.\r"
                          "This procedure takes some time, after that Message Store will be shown.\r\r"
                          "Do you want to continue?");
}

void ShowMessageStore()
{
    try {
        Globals& g = G();
        if (platform::Required(g.PhoneMessages, QStringLiteral("Parlova")).Filled()) {
            MessageStoreWin().SetFocus();
            return;
        }
        if (ModalQuestion::Ask(ReadStoreQuestion(), platform::vbYesNo | platform::vbQuestion, g.AppName) ==
            platform::vbNo)
            return;
        platform::Required(g.PhoneOrders, QStringLiteral("Parlova")).Add(std::make_shared<ReadStore>(), 0);
    } catch (...) {
    }
}

QString WebSiteAddress() { return QStringLiteral(PARLOVA_WEB_SITE); }

void OpenWebSite(QWidget*)
{
    if (!platform::Desktop().OpenUrl(QUrl(WebSiteAddress())))
        ModalQuestion::Ask(QStringLiteral("Unable to start Web browser !"), platform::vbOKOnly, G().AppName);
}

void InstallMainProcedures()
{
    Procedures& p = Procs();
    p.MarkTalkRead = [](const QString& theme) { MarkTalkRead(theme); };
    p.ShowHelp = [](qint32 context) { ShowHelp(context); };
    p.ShowMessageStore = [] { ShowMessageStore(); };
    p.OpenWebSite = [](QWidget* owner) { OpenWebSite(owner); };
}

}  // namespace parlova
