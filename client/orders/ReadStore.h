#pragma once
// The order that lists every message storage of the phone into the global
// PhoneMessages with the "ReadStore" chain, then shows the message-store
// window.
#include "client/core/Order.h"

#include <QVariant>

namespace parlova {

class ReadStore : public Order {
public:
    QString NameOrder() const override { return QStringLiteral("Read Message Store"); }
    QString GetCommand() override;
    QString PutReport(const Reply& reply) override;
};

}  // namespace parlova
