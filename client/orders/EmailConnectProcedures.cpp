#include "client/orders/EmailConnectProcedures.h"

#include "client/main/Globals.h"
#include "client/main/Settings.h"
#include "client/orders/ModalQuestion.h"
#include "client/orders/Orders.h"
#include "email/EmailGate.h"
#include "email/ServerInfo.h"
#include "platform/MessageBox.h"
#include "platform/VbError.h"

namespace parlova {

namespace {

const QString kCRLF = QStringLiteral("\r\n");
constexpr int kYesNoCancelQuestion = platform::vbYesNoCancel | platform::vbQuestion;
constexpr int kYesNoQuestion = platform::vbYesNo | platform::vbQuestion;

template <class T>
T& Required(const std::shared_ptr<T>& object)
{
    if (!object)
        platform::Raise(91, QStringLiteral("Parlova"), QStringLiteral("Object variable or With block variable not set"));
    return *object;
}

QString Line(const Order& order) { return order.NameOrder() + QStringLiteral(" from ") + order.Owner(); }

int Ask(const QString& prompt, int style) { return ModalQuestion::Ask(prompt, style, G().AppName); }

}  // namespace

void ConnectEmail()
{
    quenby::EmailGate& gate = Required(G().MailGate);
    Orders& orders = Required(G().MailOrders);
    Settings& settings = Settings::Instance();

    if (gate.Ready()) {
        DisconnectEmail();
        if (gate.Ready())
            return;
    }

    int first = 0;
    int second = 0;
    if (const OrderPtr active = orders.ActiveOrder()) {
        first = Ask(QStringLiteral("When disconnecting the following order was under processing:") + kCRLF + kCRLF +
                        Line(*active) + kCRLF + kCRLF + QStringLiteral("Do you want to try process this order again?"),
                    kYesNoCancelQuestion);
        if (first == platform::vbCancel)
            return;
    }
    if (orders.Count() > 0) {
        QString list;
        for (const OrderPtr& order : orders)
            list += Line(*order) + kCRLF;
        second = Ask(QStringLiteral("The following orders stand in the queue for processing by the email server:") +
                         kCRLF + kCRLF + list + kCRLF + QStringLiteral("Do you want to leave them in the queue?"),
                     kYesNoCancelQuestion);
        if (second == platform::vbCancel)
            return;
    }
    // The queue first, so that No about the queue and Yes about the active
    // order leave exactly that order waiting.
    if (second == platform::vbNo)
        orders.RemoveAll();
    if (first == platform::vbYes)
        orders.SetBack();
    else if (first == platform::vbNo)
        orders.RemoveActiveOrder();

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
    quenby::EmailGate& gate = Required(G().MailGate);
    QString error;
    if (!gate.Ready()) {
        error = QStringLiteral("The email server have been already disconnected");
    } else {
        Orders& orders = Required(G().MailOrders);
        QString list;
        if (const OrderPtr active = orders.ActiveOrder())
            list += Line(*active) + QStringLiteral(" (processing) ") + kCRLF;
        for (const OrderPtr& order : orders)
            list += Line(*order) + kCRLF;
        if (list.isEmpty()) {
            error = gate.Disconnect();
        } else if (Ask(QStringLiteral("At the moment some orders stand in a queue to process by email:") + kCRLF +
                           kCRLF + list + kCRLF +
                           QStringLiteral("If you close the connection these orders stay in the queue.") + kCRLF +
                           QStringLiteral("When you start new connection, you will choose what to do with them.") +
                           kCRLF + QStringLiteral("Do you want to close the connection with email now?"),
                       kYesNoQuestion) == platform::vbYes) {
            error = gate.Disconnect();
        }
    }
    if (!error.isEmpty())
        Ask(QStringLiteral("Disconnecting Email error: ") + error, platform::vbExclamation);
}

}  // namespace parlova
