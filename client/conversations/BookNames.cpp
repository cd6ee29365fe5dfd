#include "client/conversations/BookNames.h"

#include "client/core/Order.h"
#include "hub/messages/BookRecords.h"

namespace parlova {

QString GetBookName(const corvane::BookRecords& books, qint32 book)
{
    if (book == books.GetPhoneBook())
        return QStringLiteral("Phone");
    if (book == books.GetSIMBook())
        return QStringLiteral("SIM");
    return QString::number(book);
}

QString GetBookName(qint32 book)
{
    return GetBookName(PhoneBooksRef(), book);
}

}  // namespace parlova
