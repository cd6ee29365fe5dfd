#pragma once
// The order that stores one message in the phone, as one or more parts
// ("WriteSMS" chain), and adds it to the message-store window.
#include "client/core/Order.h"
#include "hub/messages/SubmitFromBag.h"

#include <QVariant>

namespace parlova {

class WriteMessage : public Order {
public:
    // Takes the setting JoinParts now. ValidityPeriod travels as given.
    void SetUp(const QString& MessageBody, qint32 MessageCoding, const QString& Address, const QString& LocationName,
               qint32 MessageClass, const QVariant& ValidityPeriod, qint32 StatusReport, const QString& SCNumber,
               const QString& Owner);

    QString NameOrder() const override { return QStringLiteral("Store Message"); }
    QString GetCommand() override;
    QString PutReport(const Reply& reply) override;

private:
    corvane::SubmitRequest request_;
    QString address_;
    QString locationName_;
};

}  // namespace parlova
