#pragma once
// The order that sends one text as SMS to one or more numbers and writes the
// outcome of every number into the log of the conversation that sent it.
#include "client/core/Order.h"
#include "hub/messages/SubmitFromBag.h"

#include <QStringList>

namespace parlova {

class SendSMS : public Order {
public:
    // Makes the command and fills its Bag; JoinParts is the setting's
    // value now. Owner becomes the conversation's theme.
    QVariant SetUp(const QString& body, qint32 coding, const QStringList& addresses, qint32 msgClass,
                   const QVariant& validity, qint32 statusReport, const QString& scNumber, const QString& owner);

    QString NameOrder() const override { return QStringLiteral("Send SMS"); }
    QString GetCommand() override;
    QString PutReport(const Reply& reply) override;

    // The command while it is held (from SetUp until it is pushed).
    corvane::PhoneCommandPtr HeldCommand() const { return command_; }

private:
    void FillBag(corvane::PhoneCommand& command) const;
    QString LogEntry(const corvane::PhoneCommand& command) const;

    corvane::PhoneCommandPtr command_;
    // The request, kept so that an order set back after a disconnection
    // can send it again with a command of its own.
    corvane::SubmitRequest request_;
    QStringList addresses_;
};

}  // namespace parlova
