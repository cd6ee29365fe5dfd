#pragma once
// The order that sends one letter to one or more recipients through the
// e-mail gate and writes the outcome into the log of the conversation that
// sent it.
#include "client/core/Order.h"

#include "email/MAPIMessage.h"
#include "email/MapiRecip.h"

#include <QList>

namespace quenby {
class SendEmailCommand;
}

namespace parlova {

class SendEmail : public Order {
public:
    // Copies the recipients and the letter (later changes by the caller do
    // not reach the order); Owner is the conversation's theme. The letter
    // travels untouched, RecipCount included.
    void SetUp(const QList<quenby::MapiRecip>& TOs, const quenby::MAPIMessage& msg, const QString& Owner);

    QString NameOrder() const override { return QStringLiteral("Send Email"); }
    QString GetCommand() override;
    QString PutReport(const Reply& reply) override;

private:
    QString LogEntry(const quenby::SendEmailCommand& command) const;

    QList<quenby::MapiRecip> recipients_;
    quenby::MAPIMessage message_;
    // The command last pushed, not held: the gate owns it.
    std::weak_ptr<quenby::SendEmailCommand> pushed_;
};

// The mailbox of a recipient address: what follows its first ":" (a
// "SMTP:" prefix, say), the whole address when there is none.
QString RecipientMailbox(const QString& address);

}  // namespace parlova
