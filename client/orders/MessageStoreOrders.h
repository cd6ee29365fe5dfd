#pragma once
// The orders on the phone's message memories, held in the global
// PhoneMessages: ReadStoreOrder lists every storage ("ReadStore" chain),
// WriteMessageOrder stores one message as one or more parts ("WriteSMS"),
// DeleteMessageOrder deletes one stored message, all its parts
// ("DeleteSMS"). After the reply each brings the message-store window in
// step.
#include "client/orders/Order.h"

#include <QVariant>

namespace parlova {

class ReadStoreOrder : public Order {
public:
    QString NameOrder() const override { return QStringLiteral("Read Message Store"); }
    QVariant Start() override;
    QString GetCommand() override;
    QString PutReport(const Reply& reply) override;
};

class WriteMessageOrder : public Order {
public:
    // Takes the setting JoinParts now. ValidityPeriod travels as given.
    void SetUp(const QString& MessageBody, qint32 MessageCoding, const QString& Address, const QString& LocationName,
               qint32 MessageClass, const QVariant& ValidityPeriod, qint32 StatusReport, const QString& SCNumber,
               const QString& Owner);

    QString NameOrder() const override { return QStringLiteral("Store Message"); }
    QVariant Start() override;
    QString GetCommand() override;
    QString PutReport(const Reply& reply) override;

private:
    QString scNumber_;
    qint32 statusReport_ = 0;
    qint32 messageClass_ = 0;
    QVariant validityPeriod_;
    QString messageBody_;
    qint32 messageCoding_ = 0;
    bool joinParts_ = true;
    QString address_;
    QString locationName_;
};

class DeleteMessageOrder : public Order {
public:
    // storageIndex in the storage numbering of PhoneMessages.
    void SetUp(qint32 storageIndex, qint32 messageIndex, const QString& Owner);

    QString NameOrder() const override { return QStringLiteral("Delete Message"); }
    QVariant Start() override;
    QString GetCommand() override;
    QString PutReport(const Reply& reply) override;

    qint32 StorageIndex() const { return storageIndex_; }
    qint32 MessageIndex() const { return messageIndex_; }

private:
    qint32 storageIndex_ = 0;
    qint32 messageIndex_ = 0;
};

}  // namespace parlova
