#pragma once
// The order that deletes one stored message, all its parts ("DeleteSMS"
// chain), and removes it from the message-store window.
#include "client/core/Order.h"

#include <QVariant>

namespace parlova {

class DeleteMessage : public Order {
public:
    // storageIndex in the storage numbering of PhoneMessages.
    void SetUp(qint32 storageIndex, qint32 messageIndex, const QString& Owner);

    QString NameOrder() const override { return QStringLiteral("Delete Message"); }
    QString GetCommand() override;
    QString PutReport(const Reply& reply) override;

    qint32 StorageIndex() const { return storageIndex_; }
    qint32 MessageIndex() const { return messageIndex_; }

private:
    qint32 storageIndex_ = 0;
    qint32 messageIndex_ = 0;
};

}  // namespace parlova
