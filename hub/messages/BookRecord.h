#pragma once
// One phone-book entry as the hub keeps it.
#include <QString>

namespace corvane {

class BookRecord {
public:
    BookRecord() = default;
    BookRecord(QString number, QString name, qint32 bookLocation, qint32 index)
        : contactNumber(std::move(number)), contactName(std::move(name)), location(bookLocation), bookNumber(index) {}

    // International numbers carry their "+".
    QString contactNumber;
    // Already decoded to text.
    QString contactName;
    // Position of the entry's book in the book list (0-based), not the
    // phone's name of the book.
    qint32 location = 0;
    // The entry's index inside its book, as the phone numbers it.
    qint32 bookNumber = 0;
};

}  // namespace corvane
