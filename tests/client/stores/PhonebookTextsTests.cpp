// What the phone-book window shows and its procedures write, without a
// widget: book names back to numbers, widths, totals, the refusals of a
// copy and the values of each write order.
#include "client/stores/PhonebookTexts.h"
#include "hub/messages/BookRecords.h"

#include <gtest/gtest.h>

using namespace parlova;

namespace {

// SM (1-250),40,18 and ME (1-500),40,30 as listed; with SM alone when
// simOnly.
void Books(corvane::BookRecords& books, bool simOnly = false)
{
    ASSERT_FALSE(books.ResolveBookLocations(simOnly ? QStringLiteral("+CPBS: (\"SM\")\r\n\r\nOK\r")
                                                    : QStringLiteral("+CPBS: (\"SM\",\"ME\")\r\n\r\nOK\r"))
                     .isValid());
    ASSERT_FALSE(books.ResolvePhoneBookParameters(0, QStringLiteral("+CPBR: (1-250),40,18\r\n")).isValid());
    if (!simOnly) {
        ASSERT_FALSE(books.ResolvePhoneBookParameters(1, QStringLiteral("+CPBR: (1-500),40,30\r\n")).isValid());
    }
}

}  // namespace

TEST(PhonebookTexts, BookNamesWidthsAndTotals)
{
    const std::pair<const char*, qint32> names[] = {{"Phone", 7}, {"SIM", 3}, {"5", 5},       {"12abc", 12},
                                                    {"", 0},      {"sim", 0}, {"Phone2", 0}, {"-4", 0}};
    for (const auto& [name, book] : names)
        EXPECT_EQ(PhonebookTexts::BookNumberFromName(QString::fromLatin1(name), 7, 3), book) << name;

    // Halves go to the even number; the telephone keeps 290 for the bar.
    EXPECT_EQ(PhonebookTexts::LoadWidths(5001, 1000, 1000), (QList<double>{1500, 1210}));
    EXPECT_EQ(PhonebookTexts::LoadWidths(5003, 1000, 1000), (QList<double>{1502, 1212}));
    EXPECT_EQ(PhonebookTexts::TelephoneWidth(5000, 1000, 1000, 1500), std::optional<double>(1210));
    EXPECT_EQ(PhonebookTexts::TelephoneWidth(3000, 1000, 1000, 1500), std::nullopt);

    // A book the phone does not list counts for nothing.
    corvane::BookRecords both;
    Books(both);
    EXPECT_EQ(PhonebookTexts::Totals(both, 5, 1), QStringLiteral("Phone: 500 total / 500 free"));
    EXPECT_EQ(PhonebookTexts::Totals(corvane::BookRecords(), -1, -1), QString());

    // Only rows of four columns count.
    const QString c(QChar(0)), r(QChar(8));
    EXPECT_EQ(PhonebookTexts::ExportRows("0" + c + "1" + c + "Ann" + c + "+111" + r + "0" + c + "2" + r),
              (QList<QStringList>{{"0", "1", "Ann", "+111"}}));
}

TEST(PhonebookTexts, EachProcedureWritesItsRowOfValues)
{
    corvane::BookRecords books;
    Books(books);
    const QString sm = QStringLiteral("\"SM\""), me = QStringLiteral("\"ME\"");
    struct Case { const char* what; BookWrite write; BookWrite expected; };
    const Case cases[] = {
        {"add", PhonebookTexts::Add(books, 0, " Ann ", " +111 "), {sm, 0, "Ann", "+111", false, false, "", 0}},
        {"edit", PhonebookTexts::Edit(books, 1, 4, "Carol ", "+333"), {me, 4, "Carol", "+333", true, false, "", 0}},
        {"delete", PhonebookTexts::Delete(books, 0, 2), {"", 0, "", "", false, true, sm, 2}},
        {"copy", PhonebookTexts::CopyMove(books, 1, 0, 2, "Bob", "+222", false), {me, 0, "Bob", "+222", false, false, "", 0}},
        {"move", PhonebookTexts::CopyMove(books, 0, 1, 1, "Carol", "+333", true), {sm, 0, "Carol", "+333", false, true, me, 1}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.write, c.expected) << c.what;
    EXPECT_EQ(BookWrite::Owner(), QStringLiteral("Menu"));

    corvane::BookRecords simOnly;
    Books(simOnly, true);
    struct Destination {
        const corvane::BookRecords* books;
        qint32 book;
        qint32 to;
        const char* text;
        const char* error;
    };
    const Destination destinations[] = {
        {&books, 0, 1, "Phone memory", ""},
        {&books, 1, 0, "SIM card", ""},
        {&books, 5, -1, "", "The 5 book location is not supported"},
        {&simOnly, 0, -1, "Phone memory", "The destination book location is unknown"},
    };
    for (const Destination& d : destinations) {
        const CopyDestination to = PhonebookTexts::Destination(*d.books, d.book);
        EXPECT_EQ(to.book, d.to) << d.book;
        EXPECT_EQ(to.text, QString::fromLatin1(d.text));
        EXPECT_EQ(to.error, QString::fromLatin1(d.error));
    }
    EXPECT_EQ(PhonebookTexts::Cut(QStringLiteral("Bartholomew"), 4), QStringLiteral("Bart"));
    EXPECT_EQ(PhonebookTexts::Cut(QStringLiteral("Bartholomew"), 0), QStringLiteral("Bartholomew"));
}
