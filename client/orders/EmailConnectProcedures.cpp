#include "client/orders/EmailConnectProcedures.h"

#include "client/core/Globals.h"
#include "client/core/Settings.h"
#include "client/orders/LeftOrders.h"
#include "client/core/ModalQuestion.h"
#include "client/core/Orders.h"
#include "email/EmailGate.h"
#include "email/ServerInfo.h"
#include "platform/MessageBoxStyle.h"
#include "platform/VbError.h"

namespace parlova {

namespace {

const QString kSource = QStringLiteral("Parlova");

int Ask(const QString& prompt, int style) { return ModalQuestion::Ask(prompt, style, G().AppName); }

}  // namespace

void ConnectEmail()
{
    quenby::EmailGate& gate = platform::Required(G().MailGate, kSource);
    Orders& orders = platform::Required(G().MailOrders, kSource);
    Settings& settings = Settings::Instance();

    if (gate.Ready()) {
        DisconnectEmail();
        if (gate.Ready())
            return;
    }

    if (!SettleLeftOrders(orders, QStringLiteral("the email server"), G().AppName))
        return;

    quenby::ServerInfo in;
    in.ServerAddress = settings.POP3Address();
    in.ServerPort = settings.POP3Port();
    in.SSLRequired = settings.POP3SSLRequired();
    in.Timeout = settings.ServerTimeout();
    in.SPARequired = settings.SPARequired();
    in.LogonName = settings.Login();
    in.LogonPassword = settings.Password();
    in.Interval = settings.POP3PollInterval();

    quenby::ServerInfo out;
    out.ServerAddress = settings.SMTPAddress();
    out.ServerPort = settings.SMTPPort();
    out.SSLRequired = settings.SMTPSSLRequired();
    out.Timeout = settings.ServerTimeout();
    out.SPARequired = settings.SPARequired();
    out.LogonName = settings.Login();
    out.LogonPassword = settings.Password();
    out.Interval = 0;

    gate.SetAttachmentsFolder(settings.WorkingFolder());
    gate.SetMaxSize(settings.MaxSize());
    const QString error = gate.Connect(settings.UserName(), settings.EmailAddress(), in, out);
    if (!error.isEmpty())
        Ask(QStringLiteral("Connecting email error: ") + error, platform::vbExclamation);
}

void DisconnectEmail(const QString&)
{
    quenby::EmailGate& gate = platform::Required(G().MailGate, kSource);
    QString error;
    if (!gate.Ready()) {
        error = QStringLiteral("The email server have been already disconnected");
    } else {
        if (MayCloseWithPending(platform::Required(G().MailOrders, kSource), QStringLiteral("email"), G().AppName))
            error = gate.Disconnect();
    }
    if (!error.isEmpty())
        Ask(QStringLiteral("Disconnecting Email error: ") + error, platform::vbExclamation);
}

}  // namespace parlova
