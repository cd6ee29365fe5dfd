#include "client/stores/PhonebookTexts.h"

#include "client/conversations/BookNames.h"
#include "client/core/GridSort.h"
#include "hub/messages/BookRecords.h"

#include <cmath>

namespace parlova {

namespace {
constexpr double kScrollBar = 290;  // twips
const QChar kBullet(0x2022);
}  // namespace

const QStringList& PhonebookTexts::DesignHeaders()
{
    static const QStringList headers{QStringLiteral(" Book   "), QStringLiteral(" Index   "), QStringLiteral("Name"),
                                     QStringLiteral("Telephone")};
    return headers;
}

const QStringList& PhonebookTexts::HeaderNames()
{
    static const QStringList names{QStringLiteral("Book"), QStringLiteral("Index"), QStringLiteral("Name"),
                                   QStringLiteral("Telephone")};
    return names;
}

QStringList PhonebookTexts::RecordFields(const QString& record)
{
    const QStringList fields = record.split(corvane::BookRecords::GetColumnSeparater());
    return fields.size() == 4 ? fields : QStringList();
}

QList<QStringList> PhonebookTexts::ExportRows(const QString& exported)
{
    QList<QStringList> rows;
    for (const QString& row : exported.split(corvane::BookRecords::GetRowSeparater()))
        if (const QStringList fields = RecordFields(row); !fields.isEmpty())
            rows << fields;
    return rows;
}

QString PhonebookTexts::Totals(const corvane::BookRecords& books, qint32 simBook, qint32 phoneBook)
{
    auto part = [&books](const char* label, qint32 book) {
        const qint32 total = books.Total(book);
        return QString::fromLatin1(label) + QString::number(total) + QStringLiteral(" total / ") +
               QString::number(total - books.Occupied(book)) + QStringLiteral(" free");
    };
    QString line;
    if (books.IsActual(simBook))
        line = part("SIM: ", simBook) + QStringLiteral("    ");
    if (books.IsActual(phoneBook))
        line += part("Phone: ", phoneBook);
    return line;
}

qint32 PhonebookTexts::BookNumberFromName(const QString& name, qint32 phoneBook, qint32 simBook)
{
    if (name == QLatin1String("Phone"))
        return phoneBook;
    if (name == QLatin1String("SIM"))
        return simBook;
    qsizetype digits = 0;
    while (digits < name.size() && name.at(digits).isDigit() && name.at(digits).unicode() < 128)
        ++digits;
    return digits > 0 ? name.left(std::min<qsizetype>(digits, 9)).toInt() : 0;
}

BookSort PhonebookTexts::HeaderClick(qint32 current, int col)
{
    const bool pair = col <= 1;
    BookSort sort;
    sort.order = GridSort::NextOrder(current, pair);
    sort.firstKey = pair ? 0 : col;
    sort.lastKey = pair ? 1 : col;
    for (int c = 0; c < HeaderNames().size(); ++c) {
        const bool key = c >= sort.firstKey && c <= sort.lastKey;
        sort.headers << (key ? GridSort::HeaderText(HeaderNames().at(c), sort.order) : HeaderNames().at(c));
    }
    return sort;
}

QList<double> PhonebookTexts::LoadWidths(double gridWidth, double bookWidth, double indexWidth)
{
    // Halves go to the even whole number, as the default rounding does.
    const double name = std::nearbyint((gridWidth - bookWidth - indexWidth) / 2);
    return {name, name - kScrollBar};
}

std::optional<double> PhonebookTexts::TelephoneWidth(double gridWidth, double w0, double w1, double w2)
{
    const double w = gridWidth - w0 - w1 - w2 - kScrollBar;
    if (w < 0)
        return std::nullopt;
    return w;
}

QString PhonebookTexts::TakingPart(const QString& name, const QString& number, const QString& theme)
{
    return QStringLiteral("Contact ") + name + QStringLiteral(" <") + number +
           QStringLiteral("> is taking part in conference ") + theme;
}

QString PhonebookTexts::DeleteQuestion(const QString& bookName, const QString& name, const QString& number)
{
    return QStringLiteral("You are about to delete the following entry from ") + bookName + QStringLiteral(":\r    ") +
           kBullet + QLatin1Char(' ') + name + QStringLiteral(" <") + number +
           QStringLiteral(">\rDo you want to continue?");
}

QString PhonebookTexts::RereadQuestion()
{
    return QStringLiteral("You are about to reread address books from your phone.\r"
                          "This procedure takes some time.\r"
                          "Current data from phonebooks will be cleared.\r"
                          "Do you want to continue?");
}

QString PhonebookTexts::ShowQuestion()
{
    return QStringLiteral("Address books haven't been read from your phone yet.\r"
                          "This procedure takes some time, after that books will be shown.\r\r"
                          "Do you want to continue?");
}

QString PhonebookTexts::EditQuestion()
{
    return QStringLiteral("An additional information for this entry in the phonebook\r\n"
                          "(for example, the contact's group, the contact's picture) will be lost.\r\n\r\n"
                          "Do you want to continue?");
}

QString PhonebookTexts::NotRead()
{
    return QStringLiteral("You must read books from the phone first. Please go to 'Tools->Phonebook' menu.");
}

QString PhonebookTexts::LeadIn(BookProcedure procedure, const QString& name, const QString& conference)
{
    switch (procedure) {
    case BookProcedure::Talk:
        return QStringLiteral("While opening a conference with ") + name + QStringLiteral("the following error occured:");
    case BookProcedure::Include:
        return QStringLiteral("While including ") + name + QStringLiteral(" in ") + conference +
               QStringLiteral(" the following error occured:");
    case BookProcedure::Add:
        return QStringLiteral("While trying to add phonebook entry the following error occured:");
    case BookProcedure::Edit:
        return QStringLiteral("While trying to edit phonebook entry the following error occured:");
    case BookProcedure::Reread:
        return QStringLiteral("While trying to update phonebooks the following error occured:");
    case BookProcedure::Delete:
        return QStringLiteral("While trying to delete phonebook entry the following error occured:");
    case BookProcedure::Show:
        return QStringLiteral("While trying to show phonebooks the following error occured:");
    case BookProcedure::CopyMove:
        return QStringLiteral("While trying to copy/move phonebook entry the following error occured:");
    }
    return QString();
}

CopyDestination PhonebookTexts::Destination(const corvane::BookRecords& books, qint32 book)
{
    CopyDestination d;
    if (book == books.GetSIMBook()) {
        d.book = books.GetPhoneBook();
        d.text = QStringLiteral("Phone memory");
    } else if (book == books.GetPhoneBook()) {
        d.book = books.GetSIMBook();
        d.text = QStringLiteral("SIM card");
    } else {
        d.error = QStringLiteral("The ") + GetBookName(books, book) + QStringLiteral(" book location is not supported");
        return d;
    }
    if (d.book < 0)
        d.error = QStringLiteral("The destination book location is unknown");
    return d;
}

QString PhonebookTexts::Cut(const QString& text, qint32 limit) { return limit > 0 ? text.left(limit) : text; }

BookWrite PhonebookTexts::Add(const corvane::BookRecords& books, qint32 book, const QString& name,
                              const QString& number)
{
    BookWrite w;
    w.location = books.BookName(book);
    w.name = name.trimmed();
    w.number = number.trimmed();
    return w;
}

BookWrite PhonebookTexts::Edit(const corvane::BookRecords& books, qint32 book, qint32 index, const QString& name,
                               const QString& number)
{
    BookWrite w = Add(books, book, name, number);
    w.index = index;
    w.update = true;
    return w;
}

BookWrite PhonebookTexts::Delete(const corvane::BookRecords& books, qint32 book, qint32 index)
{
    BookWrite w;
    w.remove = true;
    w.fromLocation = books.BookName(book);
    w.fromIndex = index;
    return w;
}

BookWrite PhonebookTexts::CopyMove(const corvane::BookRecords& books, qint32 destination, qint32 book, qint32 index,
                                   const QString& name, const QString& number, bool move)
{
    BookWrite w = Add(books, destination, name, number);
    if (move) {
        w.remove = true;
        w.fromLocation = books.BookName(book);
        w.fromIndex = index;
    }
    return w;
}

}  // namespace parlova
