#include "client/main/MainLoop.h"
#include "hub/engine/BagKeys.h"

#include "client/core/Globals.h"
#include "client/core/ModalQuestion.h"
#include "client/core/Orders.h"
#include "email/EmailGate.h"
#include "email/ReadEmailCommand.h"
#include "hub/engine/Gate.h"
#include "platform/MessageBoxStyle.h"
#include "platform/TickGuard.h"
#include "platform/VbError.h"

namespace parlova {

// ---------------------------------------------------------------------------
// The main loop

void MainLoop::Tick()
{
    if (inTick_)
        return;
    platform::TickGuard guard(inTick_);
    try {
        tick();
    } catch (...) {
        // The next tick starts afresh.
    }
}

void MainLoop::tick()
{
    Globals& g = G();
    // A question open in a nested event loop: the queues wait for its answer.
    const bool asking = ModalQuestion::IsOpen();

    if (g.PhoneGate) {
        QString message;
        if (!asking)
            message = platform::TextOrError([&] { return phoneReplies(); });
        const bool connected = g.PhoneGate->connected();
        if (connected != phoneWasConnected_) {
            phoneWasConnected_ = connected;
            if (MainWindow* window = Windows().frmMDI()) {
                window->Ready();
                if (!connected)
                    ShowConnectionState(*window, false);
            }
        }
        if (!message.isEmpty())
            MainWin().alertUser(QStringLiteral("ERROR: ") + message);
    }

    if (g.MailGate) {
        QString message;
        if (!asking && g.MailGate->Ready())
            message = platform::TextOrError([&] { return mailReplies(); });
        const bool ready = g.MailGate->Ready();
        if (ready != mailWasReady_) {
            mailWasReady_ = ready;
            if (MainWindow* window = Windows().frmMDI())
                window->Email();
        }
        if (!message.isEmpty())
            MainWin().alertUser(QStringLiteral("EMAIL ERROR: ") + message);
    }
}

QString MainLoop::phoneReplies()
{
    Globals& g = G();
    const corvane::PhoneCommandPtr command = g.PhoneGate->Pull();
    Orders* orders = g.PhoneOrders.get();
    if (!command) {
        if (!orders)
            return QString();
        if (orders->IsWaitingReply())
            MainWin().ShowProgress(g.PhoneGate->Progress(), QString());
        else if (phoneWasConnected_)
            return orders->GetCommand();
        return QString();
    }
    if (command->Owner() >= 0)
        return phoneArrival(*command);
    if (orders && orders->IsWaitingReply())
        return orders->PutReport(Reply(command));
    return QStringLiteral("There is no order to process reply from phone");
}

QString MainLoop::phoneArrival(const corvane::PhoneCommand& command)
{
    if (!command.Items().Exists(bag::ReadSMS))
        return QString();
    QString message;
    switch (command.Result()) {
    case dorrak::OK_ANSWER:
        break;
    case dorrak::TIME_OUT:
        message = QStringLiteral("Fail to read SMS: time out");
        break;
    case dorrak::INTERRUPTED:
        message = QStringLiteral("Fail to read SMS: interrupted");
        break;
    default:
        message = QStringLiteral("Fail to read SMS: some error");
        break;
    }
    ConferenceRegistry& conferences = ConferencesReg();
    const QString address = BagText(command, bag::Address);
    const QString text = BagText(command, bag::Message);
    QString routed;
    if (BagBoolean(command, bag::StatusReport)) {
        const QVariant discharge = command.Bag(bag::DischargeTime);
        routed = conferences.PutMessage(address, text, true, BagLong(command, bag::MR),
                                        discharge.isValid() ? discharge.toDateTime() : ZeroDate());
    } else {
        routed = conferences.PutMessage(address, text, false, 0, ZeroDate());
    }
    return routed.isEmpty() ? message : routed;
}

QString MainLoop::mailReplies()
{
    Globals& g = G();
    const std::shared_ptr<quenby::EmailCommand> command = g.MailGate->Pull();
    Orders* orders = g.MailOrders.get();
    if (!command) {
        if (orders && !orders->IsWaitingReply())
            return orders->GetCommand();
        return QString();
    }
    if (command->Owner() >= 0) {
        if (auto read = std::dynamic_pointer_cast<quenby::ReadEmailCommand>(command))
            HandleReadEmailReply(*read);
        return QString();
    }
    if (orders && orders->IsWaitingReply())
        return orders->PutReport(Reply(command));
    ModalQuestion::Ask(QStringLiteral("There is no order to process reply from email"), platform::vbExclamation);
    return orders ? orders->GetCommand() : QString();
}

namespace {

QString ReadFailure(quenby::EMC_RESULT_CODEs result, const quenby::EmailCommand& command)
{
    switch (result) {
    case quenby::NOT_EXECUTED_RESULT:
        return QStringLiteral("Not executed");
    case quenby::TIME_OUT_RESULT:
        return QStringLiteral("Time out");
    case quenby::ERROR_RESULT:
        return command.Error();
    case quenby::ABORTED_BY_USER_RESULT:
        return QStringLiteral("Aborted by user");
    default:
        return QStringLiteral("Unknown error");
    }
}

}  // namespace

void MainLoop::HandleReadEmailReply(quenby::ReadEmailCommand& command)
{
    const std::shared_ptr<quenby::EmailCommand> inner = command.GetCommand();
    const quenby::EMC_RESULT_CODEs result = inner ? inner->Result() : quenby::NOT_EXECUTED_RESULT;
    // A read that failed after QUIT still holds its letters.
    int count = 0;
    QList<quenby::EmailLetter> letters;
    command.GetMessages(count, letters);
    ConferenceRegistry& conferences = ConferencesReg();
    // The letters are gone from the server by now: one the registry
    // could not write must not vanish without a word.
    QString failed;
    for (const quenby::EmailLetter& letter : letters) {
        // One letter failing must not lose the letters after it.
        const QString text = platform::TextOrError([&] { return conferences.PutEmailMessage(letter); });
        if (failed.isEmpty())
            failed = text;
    }
    if (result != quenby::OK_RESULT)
        MainWin().alertUser(QStringLiteral("Reading email error. ") + ReadFailure(result, command));
    // Shown last: a letter nobody sees is worse than a failed read.
    if (!failed.isEmpty())
        MainWin().alertUser(QStringLiteral("EMAIL ERROR: ") + failed);
}

}  // namespace parlova
