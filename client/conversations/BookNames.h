#pragma once
// The name a phone book is shown by, in the contact picker and the
// phone-book window alike; it never loads a window.
#include <QString>
#include <QtGlobal>

namespace corvane {
class BookRecords;
}

namespace parlova {

// "Phone" for the handset book (tested first), "SIM" for the SIM book,
// else the book's number.
QString GetBookName(const corvane::BookRecords& books, qint32 book);
// The same over the program's phone-book records.
QString GetBookName(qint32 book);

}  // namespace parlova
