#include "client/conversations/ContactPicker.h"

#include "client/conversations/BookNames.h"
#include "hub/messages/BookRecords.h"

namespace parlova {

QList<ContactPicker::BookChoice> ContactPicker::BookChoices(const corvane::BookRecords& books)
{
    const qint32 phone = books.GetPhoneBook();
    const qint32 sim = books.GetSIMBook();
    const QString phoneName = GetBookName(books, phone);
    const QString simName = GetBookName(books, sim);
    return {{phoneName, phone}, {simName, sim}, {phoneName + QStringLiteral(" & ") + simName, phone + sim + 1}};
}

QStringList ContactPicker::Lines(const corvane::BookRecords& books, qint32 code)
{
    return Lines(books.GetAllRecords(), books.GetPhoneBook(), books.GetSIMBook(), code);
}

QStringList ContactPicker::Lines(const QString& exported, qint32 phoneBook, qint32 simBook, qint32 code)
{
    QStringList lines;
    const QString column = corvane::BookRecords::GetColumnSeparater();
    for (const QString& row : exported.split(corvane::BookRecords::GetRowSeparater())) {
        const QStringList cells = row.split(column);
        if (cells.size() != 4)
            continue;
        bool numeric = false;
        const qint32 book = cells[0].toInt(&numeric);
        if (!numeric)
            continue;
        const bool taken = (book == simBook && code != phoneBook) || (book == phoneBook && code != simBook);
        if (taken)
            lines << cells[2] + QStringLiteral(" <") + cells[3] + QStringLiteral(">");
    }
    return lines;
}

qint32 ContactPicker::Search(const QStringList& lines, const QString& typed, qint32 current)
{
    if (lines.isEmpty())
        return -1;
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (lines[i].startsWith(typed, Qt::CaseInsensitive))
            return qint32(i);
    return current;
}

}  // namespace parlova
