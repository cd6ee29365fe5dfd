#include "client/orders/SendEmail.h"

#include "client/core/Globals.h"
#include "client/core/LogTime.h"
#include "client/core/Module1.h"
#include "client/core/Settings.h"
#include "client/core/WindowSeams.h"
#include "email/EmailGate.h"
#include "email/SendEmailCommand.h"
#include "platform/VbError.h"


namespace parlova {

namespace {

const QString kFailed = QStringLiteral("The Send Email operation failed");

quenby::EmailGate& MailGateRef() { return platform::Required(G().MailGate, QStringLiteral("Parlova")); }

}  // namespace

QString RecipientMailbox(const QString& address)
{
    const qsizetype colon = address.indexOf(QLatin1Char(':'));
    return colon < 0 ? address : address.mid(colon + 1);
}

void SendEmail::SetUp(const QList<quenby::MapiRecip>& TOs, const quenby::MAPIMessage& msg, const QString& Owner)
{
    recipients_ = TOs;
    message_ = msg;
    owner_ = Owner;
}

QString SendEmail::GetCommand()
{
    return Guarded([&] {
        // Set back after a disconnection that came before the gate started
        // its command, the letter still waits in the gate and goes out after
        // the next connection: a second push would send it twice.
        const std::shared_ptr<quenby::SendEmailCommand> waiting = pushed_.lock();
        if (!waiting || waiting->Result() != quenby::NOT_EXECUTED_RESULT) {
            auto command = std::make_shared<quenby::SendEmailCommand>();
            // The key, not the theme: it is what matches the reply to this order.
            command->SetUp(recipients_, message_, key_);
            MailGateRef().Push(command->GetCommand());
            pushed_ = command;
        }
        waitingReply_ = true;
        progress_ = 20;
        return QString();
    });
}

QString SendEmail::PutReport(const Reply& reply)
{
    const QString text = Guarded([&] {
        const auto command = std::dynamic_pointer_cast<quenby::SendEmailCommand>(reply.Email());
        if (!command)
            platform::Raise(platform::vberr::TypeMismatch, QStringLiteral("Parlova"), QStringLiteral("Type mismatch"));
        ConferenceRegistry& conferences = ConferencesReg();
        QString entry;
        switch (command->Result()) {
        case quenby::OK_RESULT:
            if (conferences.TalkExist(owner_))
                entry = LogEntry(*command);
            break;
        case quenby::NOT_EXECUTED_RESULT:
            result_ = kFailed + QStringLiteral(". Not executed");
            break;
        case quenby::TIME_OUT_RESULT:
            result_ = kFailed + QStringLiteral(". Time out");
            break;
        case quenby::ERROR_RESULT:
            result_ = kFailed + QStringLiteral(". ") + command->Error();
            break;
        default:
            result_ = kFailed + QStringLiteral(". Unknown result");
            break;
        }
        // Also for a failed letter: the conversation stops counting it as
        // being sent. A conversation no longer open raises here.
        conferences.Talk(owner_).Log(0, entry);
        progress_ = 100;
        return QString();
    });
    finished_ = true;
    return text;
}

QString SendEmail::LogEntry(const quenby::SendEmailCommand& command) const
{
    ConferenceRegistry& conferences = ConferencesReg();
    // One stamp for the whole entry, even across a minute's turn.
    const QString stamp = LogTime();
    const QString body = command.Message().NoteText;

    if (Settings::Instance().SimplifiedLog()) {
        QString text;
        for (int i = 0; i < command.RecipientsCount(); ++i) {
            const QString address = RecipientMailbox(command.Recipients(i).Address);
            const QString name = conferences.ConfereeExist(address) ? conferences.ConfereeName(address) : address;
            if (i == 0)
                text = name + QStringLiteral(", ") + stamp + QStringLiteral("<<<") + QStringLiteral(" ") + body;
            else
                text += QStringLiteral("\r\n") + name + QStringLiteral(", ") + stamp + QStringLiteral("<<<");
        }
        return text;
    }

    // Each recipient's line goes in front of the ones before it.
    QString recipients;
    for (int i = 0; i < command.RecipientsCount(); ++i) {
        QString address = RecipientMailbox(command.Recipients(i).Address);
        QString name = conferences.ConfereeExist(address) ? conferences.ConfereeName(address) : QString();
        QString combined;
        NameAndAddress(name, address, combined);
        recipients = QStringLiteral("TO:       ") + combined + QStringLiteral("\r\n") + recipients;
    }
    return QStringLiteral("TEXT:     ") + body + QStringLiteral("\r\n") + recipients + QStringLiteral("AT:       ") +
           stamp + QStringLiteral("\r\n") + QString(30, QLatin1Char('_'));
}

}  // namespace parlova
