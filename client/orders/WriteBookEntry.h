#pragma once
// The order that adds, overwrites, moves or deletes one entry of a phone
// book in the global PhoneBooks with the "WriteBook" chain, then brings
// the phone-book window in step.
#include "client/core/Order.h"

#include <QVariant>

namespace parlova {

class WriteBookEntry : public Order {
public:
    // Update overwrites the entry BookIndex of LocationName; otherwise a
    // non-empty LocationName gets a new entry. Delete then removes
    // FromBookIndex of FromLocationName (with an empty LocationName that is
    // all it does). An entry the phone-book chain would refuse (a number
    // outside 0-9 + * #, a name with a double quote or a control character
    // while names go as text) is refused here, before it is queued: the
    // result is the failure text (also the order's Result), "" when
    // accepted.
    QString SetUp(const QString& LocationName, qint32 BookIndex, const QString& ContactName,
                  const QString& ContactNumber, const QString& Owner, bool Update, bool Delete,
                  const QString& FromLocationName, qint32 FromBookIndex);

    QString NameOrder() const override { return QStringLiteral("Write Phonebook"); }
    QString GetCommand() override;
    QString PutReport(const Reply& reply) override;

private:
    QString locationName_;
    qint32 bookIndex_ = 0;
    QString contactName_;
    QString contactNumber_;
    bool update_ = false;
    bool delete_ = false;
    QString fromLocationName_;
    qint32 fromBookIndex_ = 0;
    // The refusal of SetUp; a refused order never reaches the gate.
    QString refused_;
};

}  // namespace parlova
