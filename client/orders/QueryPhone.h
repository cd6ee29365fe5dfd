#pragma once
// The order that sends one free AT command, typed in a conversation, to the
// phone and writes the command and the phone's answer into that
// conversation's log. A failed query is not a failed order: its outcome is
// only reported in the log entry.
#include "client/core/Order.h"

namespace parlova {

class QueryPhone : public Order {
public:
    QVariant SetUp(const QString& query, const QString& owner);

    QString NameOrder() const override { return QStringLiteral("Query Phone"); }
    QString GetCommand() override;
    QString PutReport(const Reply& reply) override;

    QString Query() const { return query_; }

private:
    QString query_;
};

}  // namespace parlova
