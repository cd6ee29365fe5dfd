// The phone-book records on their own: book lists, parameters, entry lines,
// ordering, free indexes and the exported text.
#include "hub/messages/BookRecords.h"

#include <gtest/gtest.h>

using corvane::BookRecords;

namespace {

const QString kCol = QString(QChar(0));
const QString kRow = QString(QChar(8));

// A book list of SM and ME, each with the range 1 to 250.
void TwoBooks(BookRecords& book)
{
    ASSERT_FALSE(book.ResolveBookLocations(QStringLiteral("+CPBS: (\"SM\",\"ME\")\r\n\r\nOK\r")).isValid());
    for (int b = 0; b < 2; ++b)
        ASSERT_FALSE(book.ResolvePhoneBookParameters(b, QStringLiteral("+CPBR: (1-250),40,18\r\n")).isValid());
}

QStringList Keys(const BookRecords& book)
{
    QStringList out;
    for (const auto& r : book.NewEnum())
        out << BookRecords::BookRecordKey(r->location, r->bookNumber);
    return out;
}

}  // namespace

TEST(BookRecords, BookListKeepsSimAndHandsetWithTheirQuotes)
{
    BookRecords book;
    EXPECT_FALSE(book.ResolveBookLocations(QStringLiteral("+CPBS: (\"FD\",\"SM\",\"ON\",\"ME\")\r\n\r\nOK\r")).isValid());
    EXPECT_EQ(book.BooksCount(), 2);
    EXPECT_EQ(book.BookName(0), QStringLiteral("\"SM\""));
    EXPECT_EQ(book.BookName(1), QStringLiteral("\"ME\""));
    EXPECT_EQ(book.BookName(2), QString());
    EXPECT_EQ(book.BookName(-1), QString());
    EXPECT_EQ(book.GetSIMBook(), 0);
    EXPECT_EQ(book.GetPhoneBook(), 1);
    EXPECT_TRUE(book.IsSafeToEdit(0));
    EXPECT_FALSE(book.IsSafeToEdit(1));
    EXPECT_TRUE(book.IsActual(1));
    EXPECT_FALSE(book.IsActual(2));
    EXPECT_FALSE(book.UCS2_K750i());
    EXPECT_EQ(book.BookNameToIndex(QStringLiteral("me")), 1);
}

TEST(BookRecords, HexBookListSetsTheNumberSwitch)
{
    BookRecords book;
    EXPECT_FALSE(book.ResolveBookLocations(QStringLiteral("+CPBS: (\"0053004D\", \"004D0045\")\r\nOK\r")).isValid());
    EXPECT_TRUE(book.UCS2_K750i());
    EXPECT_EQ(book.BooksCount(), 2);
    EXPECT_EQ(book.BookName(1), QStringLiteral("\"004D0045\""));
    EXPECT_EQ(book.GetSIMBook(), 0);
    EXPECT_EQ(book.GetPhoneBook(), 1);
    // A later plain list does not clear it.
    book.ResolveBookLocations(QStringLiteral("+CPBS: (\"SM\")\r"));
    EXPECT_TRUE(book.UCS2_K750i());
}

TEST(BookRecords, BookListFailures)
{
    BookRecords book;
    EXPECT_EQ(book.ResolveBookLocations(QStringLiteral("+CPBS: (\"FD\",\"ON\")\r")).toString(),
              QStringLiteral("No phone books found"));
    EXPECT_EQ(book.GetSIMBook(), -1);
    EXPECT_FALSE(book.IsSafeToEdit(-1));
    // No closing parenthesis: the failure's text, in its fixed form.
    const QString text = book.ResolveBookLocations(QStringLiteral("+CPBS: (\"SM\"")).toString();
    EXPECT_TRUE(text.endsWith(QStringLiteral(" (5)"))) << text.toStdString();
}

TEST(BookRecords, CallsBeforeAnyBookListGiveEmptyValues)
{
    BookRecords book;
    EXPECT_EQ(book.BooksCount(), 0);
    EXPECT_FALSE(book.IsActual(0));
    book.setNumberLen(0, 40);  // ignored, as the other setters are
    EXPECT_EQ(book.NumberLen(0), 0);
    EXPECT_EQ(book.Total(0), 0);
    EXPECT_EQ(book.FirstFreeIndex(0), -1);
    book.setFilled(true);
    EXPECT_EQ(book.RemoveAll(), QString());
    EXPECT_FALSE(book.Filled());
}

TEST(BookRecords, ParametersAnswer)
{
    BookRecords book;
    TwoBooks(book);
    EXPECT_EQ(book.IndexMin(0), 1);
    EXPECT_EQ(book.IndexMax(0), 250);
    EXPECT_EQ(book.NumberLen(0), 40);
    EXPECT_EQ(book.NameLen(0), 18);
    EXPECT_EQ(book.Total(0), 250);

    // Too few fields, or no CR after the ":": the error text, the values 0.
    for (const char* answer : {"+CPBR: (1-250),40\r", "+CPBR: (1-250),40,18"}) {
        const QVariant failure = book.ResolvePhoneBookParameters(1, QString::fromLatin1(answer));
        EXPECT_TRUE(failure.isValid()) << answer;
        EXPECT_EQ(book.IndexMax(1), 0) << answer;
        EXPECT_EQ(book.NameLen(1), 0) << answer;
    }
    EXPECT_TRUE(book.ResolvePhoneBookParameters(5, QStringLiteral("+CPBR: (1-250),40,18\r")).isValid());
}

TEST(BookRecords, EntryLines)
{
    struct Case {
        const char* line;
        bool ucs2;
        const char* name;
        const char* number;
    } cases[] = {
        {"+CPBR: 5,\"12345\",145,\"Ann\"", false, "Ann", "+12345"},
        {"+CPBR: 5,\"12345\",129,\"Ann\"", false, "Ann", "12345"},
        {"+CPBR: 5,\"+12345\",145,\"Ann\"", false, "Ann", "+12345"},
        {"+CPBR: 5,\"123\",129,\"0041006E006E\"", true, "Ann", "123"},
        // UTF-8 octets, one character each, decode to the text.
        {"+CPBR: 5,\"123\",129,\"\xC3\xA9mile\"", false, "\xC3\xA9mile", "123"},
        // A comma inside the quoted name is part of the name.
        {"+CPBR: 5,\"123\",129,\"Doe, J\"", false, "Doe, J", "123"},
        {"\n+CPBR: 5,\"123\",129,\"Ann\",0", false, "Ann", "123"},
    };
    for (const Case& c : cases) {
        BookRecords book;
        TwoBooks(book);
        book.setUCS2(c.ucs2);
        const QString line = QString::fromLatin1(c.line);
        EXPECT_EQ(book.ResolvePhonebookRecords(1, line + QStringLiteral("\r\n\r\nOK\r")), QString()) << c.line;
        ASSERT_EQ(book.Count(), 1) << c.line;
        const auto r = book.NewEnum().front();
        EXPECT_EQ(r->contactName, QString::fromUtf8(c.name)) << c.line;
        EXPECT_EQ(r->contactNumber, QString::fromLatin1(c.number)) << c.line;
        EXPECT_EQ(r->bookNumber, 5) << c.line;
        EXPECT_EQ(r->location, 1) << c.line;
        EXPECT_EQ(book.Occupied(1), 1) << c.line;
    }
}

TEST(BookRecords, EntryNumbersInHexWhenTheBookListWasHex)
{
    BookRecords book;
    book.ResolveBookLocations(QStringLiteral("+CPBS: (\"0053004D\")\r"));
    book.setUCS2(true);
    EXPECT_EQ(book.ResolvePhonebookRecords(0, QStringLiteral("+CPBR: 2,\"002B0031\",145,\"0041\"\r\nOK\r")), QString());
    ASSERT_EQ(book.Count(), 1);
    EXPECT_EQ(book.NewEnum().front()->contactNumber, QStringLiteral("+1"));
}

TEST(BookRecords, BadTypeFailsTheCallButKeepsEarlierLines)
{
    BookRecords book;
    TwoBooks(book);
    const QString failure = book.ResolvePhonebookRecords(
        0, QStringLiteral("+CPBR: 1,\"1\",129,\"A\"\r\n+CPBR: 2,\"2\",x,\"B\"\r\n+CPBR: 3,\"3\",129,\"C\"\r\nOK\r"));
    EXPECT_TRUE(failure.endsWith(QStringLiteral("(13)"))) << failure.toStdString();
    EXPECT_EQ(Keys(book), QStringList{QStringLiteral("00.00001")});
}

TEST(BookRecords, UpdateModeChangesOnlyPresentEntries)
{
    BookRecords book;
    TwoBooks(book);
    book.Add(3, 0, QStringLiteral("Old"), QStringLiteral("1"));
    book.ResolvePhonebookRecords(0, QStringLiteral("+CPBR: 3,\"2\",129,\"New\"\r\n+CPBR: 4,\"4\",129,\"X\"\r"), true);
    EXPECT_EQ(book.Count(), 1);
    EXPECT_EQ(book.NewEnum().front()->contactName, QStringLiteral("New"));
    EXPECT_EQ(book.Occupied(0), 1);
    // Added again without update mode: present, so left as it was.
    book.ResolvePhonebookRecords(0, QStringLiteral("+CPBR: 3,\"9\",129,\"Other\"\r"));
    EXPECT_EQ(book.NewEnum().front()->contactName, QStringLiteral("New"));
    EXPECT_EQ(book.Occupied(0), 1);
}

TEST(BookRecords, AddOrdersEntriesWithinTheirBook)
{
    BookRecords book;
    TwoBooks(book);
    book.Add(7, 1, QStringLiteral("a"), QStringLiteral("1"));
    book.Add(3, 1, QStringLiteral("b"), QStringLiteral("2"));
    EXPECT_EQ(Keys(book), (QStringList{QStringLiteral("01.00003"), QStringLiteral("01.00007")}));
    book.Add(5, 1, QStringLiteral("c"), QStringLiteral("3"));
    book.Add(2, 0, QStringLiteral("d"), QStringLiteral("4"));
    // A book with no records yet goes to the end; one lower than all of its
    // book's records stands before the first record of the whole collection.
    book.Add(1, 0, QStringLiteral("e"), QStringLiteral("5"));
    EXPECT_EQ(Keys(book), (QStringList{QStringLiteral("00.00001"), QStringLiteral("01.00003"),
                                       QStringLiteral("01.00005"), QStringLiteral("01.00007"),
                                       QStringLiteral("00.00002")}));
    EXPECT_EQ(book.Occupied(0), 2);
    EXPECT_EQ(book.Occupied(1), 3);
    EXPECT_EQ(book.Count(), 5);
}

TEST(BookRecords, AddUpdateDeleteFailuresChangeNothing)
{
    BookRecords book;
    TwoBooks(book);
    EXPECT_EQ(book.Add(7, 0, QStringLiteral("a"), QStringLiteral("1")), QString());
    EXPECT_FALSE(book.Add(7, 0, QStringLiteral("b"), QStringLiteral("2")).isEmpty());
    EXPECT_EQ(book.Occupied(0), 1);
    EXPECT_FALSE(book.Delete(8, 0).isEmpty());
    EXPECT_EQ(book.Occupied(0), 1);
    EXPECT_FALSE(book.Update(8, 0, QStringLiteral("x"), QStringLiteral("y")).isEmpty());
    EXPECT_EQ(book.Count(), 1);
    // A book the list does not hold cannot take an entry.
    EXPECT_FALSE(book.Add(1, 2, QStringLiteral("z"), QStringLiteral("3")).isEmpty());
    EXPECT_FALSE(book.Add(1, -1, QStringLiteral("z"), QStringLiteral("3")).isEmpty());
    EXPECT_EQ(book.Count(), 1);
    EXPECT_EQ(book.Delete(7, 0), QString());
    EXPECT_EQ(book.Occupied(0), 0);
    EXPECT_EQ(book.Count(), 0);
}

TEST(BookRecords, FirstFreeIndex)
{
    BookRecords book;
    TwoBooks(book);
    EXPECT_EQ(book.FirstFreeIndex(0), 1);
    for (int i : {1, 2, 4})
        book.Add(i, 0, QStringLiteral("n"), QString::number(i));
    EXPECT_EQ(book.FirstFreeIndex(0), 3);
    EXPECT_EQ(book.FirstFreeIndex(1), 1);
    BookRecords full;
    TwoBooks(full);
    for (int i = 1; i <= 250; ++i)
        full.Add(i, 1, QStringLiteral("n"), QString::number(i));
    EXPECT_EQ(full.FirstFreeIndex(1), -1);
    full.Delete(250, 1);
    EXPECT_EQ(full.FirstFreeIndex(1), 250);
}

TEST(BookRecords, ExportRowsAndKeys)
{
    BookRecords book;
    TwoBooks(book);
    EXPECT_EQ(BookRecords::BookRecordKey(0, 7), QStringLiteral("00.00007"));
    EXPECT_EQ(BookRecords::BookRecordKey(1, 23), QStringLiteral("01.00023"));
    book.Add(7, 1, QStringLiteral("Ann"), QStringLiteral("+1"));
    book.Add(3, 1, QStringLiteral("Bob"), QStringLiteral("2"));
    EXPECT_EQ(book.GetAllRecords(), QString());
    EXPECT_EQ(book.GetRecord(1, 3), QString());
    book.setFilled(true);
    EXPECT_EQ(book.GetAllRecords(), QStringLiteral("1") + kCol + QStringLiteral("3") + kCol + QStringLiteral("Bob") + kCol +
                                        QStringLiteral("2") + kRow + QStringLiteral("1") + kCol + QStringLiteral("7") +
                                        kCol + QStringLiteral("Ann") + kCol + QStringLiteral("+1") + kRow);
    EXPECT_EQ(book.GetRecord(1, 7), QStringLiteral("1") + kCol + QStringLiteral("7") + kCol + QStringLiteral("Ann") + kCol +
                                        QStringLiteral("+1"));
    EXPECT_EQ(book.GetRecord(0, 7), QString());
    EXPECT_EQ(BookRecords::GetColumnSeparater(), kCol);
    EXPECT_EQ(BookRecords::GetRowSeparater(), kRow);
    book.RemoveAll();
    EXPECT_EQ(book.Count(), 0);
    EXPECT_EQ(book.BooksCount(), 2);
    EXPECT_EQ(book.Total(0), 1);  // IndexMax and IndexMin both 0
    EXPECT_EQ(book.GetAllRecords(), QString());
}

TEST(BookRecords, SeparatorsInsideFieldsCannotForgeRows)
{
    BookRecords book;
    TwoBooks(book);
    book.setUCS2(true);
    // A name of "A", character 0, "B", character 8, "C" from the phone.
    book.ResolvePhonebookRecords(0, QStringLiteral("+CPBR: 1,\"1\",129,\"00410000004200080043\"\r"));
    book.setFilled(true);
    const QString row = book.GetAllRecords();
    EXPECT_EQ(row, QStringLiteral("0") + kCol + QStringLiteral("1") + kCol + QStringLiteral("A B C") + kCol +
                       QStringLiteral("1") + kRow);
    // The record itself keeps what the phone sent.
    EXPECT_EQ(book.NewEnum().front()->contactName.size(), 5);
    EXPECT_EQ(book.NewEnum().front()->contactName.at(1), QChar(0));
}

TEST(BookRecords, FindIsExactAndLeavesOutputsWithoutMatch)
{
    BookRecords book;
    TwoBooks(book);
    book.Add(4, 1, QStringLiteral("Ann"), QStringLiteral("+123"));
    book.Add(9, 0, QStringLiteral("Ann2"), QStringLiteral("+123"));
    QString name = QStringLiteral("preset");
    qint32 loc = -5, idx = -5;
    EXPECT_FALSE(book.Find(name, loc, idx, QStringLiteral("123")));
    EXPECT_EQ(name, QStringLiteral("preset"));
    EXPECT_EQ(loc, -5);
    EXPECT_TRUE(book.Find(name, loc, idx, QStringLiteral("+123")));
    EXPECT_EQ(name, QStringLiteral("Ann"));
    EXPECT_EQ(loc, 1);
    EXPECT_EQ(idx, 4);
}
