#pragma once
// The order that reads every phone book of the phone (SIM and handset)
// into the global PhoneBooks with the "ReadBook" chain, then shows the
// phone-book window.
#include "client/core/Order.h"

#include <QVariant>

namespace parlova {

class ReadBook : public Order {
public:
    QString NameOrder() const override { return QStringLiteral("Read Phonebook"); }
    QString GetCommand() override;
    QString PutReport(const Reply& reply) override;
};

}  // namespace parlova
