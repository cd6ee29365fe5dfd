// The message-store window's texts, editor values and grid sort, without
// a widget.
#include "client/core/GridSort.h"
#include "client/stores/MessageEditorValues.h"
#include "client/stores/MessageStoreTexts.h"

#include <gtest/gtest.h>

using namespace parlova;

namespace {

const QStringList kItems{QStringLiteral("SIM: total 20 / free 16"), QStringLiteral("Phone: total 250 / free 249"),
                         QStringLiteral("SR: total 20 / free 20"), QStringLiteral("odd")};

TEST(MessageStoreTexts, LocationItemsNamesAndTheirIndexes)
{
    EXPECT_EQ(MessageStoreTexts::LocationItem(QStringLiteral("SIM"), 20, 9), QStringLiteral("SIM: total 20 / free 11"));
    struct {
        qint32 location;
        const char* name;
    } names[] = {{0, "SIM"}, {1, "Phone"}, {2, "SR"}, {3, ""}, {4, ""}, {-1, ""}};
    for (const auto& c : names)
        EXPECT_EQ(MessageStoreTexts::StoreListName(kItems, c.location), QLatin1String(c.name)) << c.location;
    struct {
        const char* name;
        const char* index;
    } finds[] = {{"SIM", "0"}, {"Phone", "1"}, {"SR", "2"}, {"S", "0"}, {"XX", "-1"}, {"", "-1"}};
    for (const auto& c : finds)
        EXPECT_EQ(MessageStoreTexts::FindStoreListItem(kItems, QLatin1String(c.name)), QLatin1String(c.index))
            << c.name;
}

TEST(MessageStoreTexts, ExportRowsSkipShortRowsAndRecordsNeedSixFields)
{
    const QChar col(0);
    const QChar row(8);
    const QString exported = QStringList{QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("received unread"),
                                         QStringLiteral("+1555"), QStringLiteral("2024/03/15 13:45"),
                                         QStringLiteral("Hello")}
                                 .join(col) +
                             row + QStringLiteral("0") + col + QStringLiteral("2") + row +
                             QStringList(6, QStringLiteral("x")).join(col) + row;
    const QList<QStringList> rows = MessageStoreTexts::ExportRows(exported);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows.at(0).at(5), QStringLiteral("Hello"));
    EXPECT_EQ(rows.at(1).at(0), QStringLiteral("x"));
    EXPECT_EQ(MessageStoreTexts::RecordFields(QStringList(6, QStringLiteral("y")).join(col)).size(), 6);
    EXPECT_TRUE(MessageStoreTexts::RecordFields(QString()).isEmpty());
    EXPECT_TRUE(MessageStoreTexts::RecordFields(QStringList(7, QStringLiteral("y")).join(col)).isEmpty());
}

TEST(MessageStoreTexts, CounterHeadersSortOrdersSubmenusAndPanelWidths)
{
    EXPECT_EQ(MessageStoreTexts::Counter(12, 1, 0.06f, false, QStringLiteral("$")), QStringLiteral("12 chr"));
    EXPECT_EQ(MessageStoreTexts::Counter(12, 1, 0.06f, true, QStringLiteral("$")), QStringLiteral("12 chr, $0.06"));
    EXPECT_EQ(MessageStoreTexts::Counter(200, 2, 0.12f, true, QStringLiteral("$")),
              QStringLiteral("200 chr / 2 parts, $0.12"));

    EXPECT_EQ(MessageStoreTexts::HeaderText(QStringLiteral("Subject"), 5), QStringLiteral("Subject\\/"));
    EXPECT_EQ(MessageStoreTexts::HeaderText(QStringLiteral("Loc"), 2), QStringLiteral("Loc/\\"));
    EXPECT_EQ(MessageStoreTexts::HeaderText(QStringLiteral("Loc"), 0), QStringLiteral("Loc"));
    // One order for all columns: after an ascending text sort the pair
    // starts ascending, and a text column after the pair does too.
    qint32 order = 0;
    QList<qint32> seen;
    for (bool pair : {false, false, true, true, false})
        seen << (order = MessageStoreTexts::NextSortOrder(order, pair));
    EXPECT_EQ(seen, (QList<qint32>{5, 6, 1, 2, 5}));

    QStringList themes;
    for (int i = 1; i <= 10; ++i)
        themes << QStringLiteral("Talk %1").arg(i);
    const TalkSubmenu none = MessageStoreTexts::Submenu({});
    EXPECT_TRUE(none.nowhere && none.themes.isEmpty() && !none.more);
    const TalkSubmenu nine = MessageStoreTexts::Submenu(themes.mid(0, 9));
    EXPECT_EQ(nine.themes.size(), 9);
    EXPECT_FALSE(nine.nowhere || nine.more);
    const TalkSubmenu ten = MessageStoreTexts::Submenu(themes);
    EXPECT_EQ(ten.themes, themes.mid(0, 8));
    EXPECT_TRUE(ten.more);

    EXPECT_EQ(MessageStoreTexts::PanelLayout(7000).list1Width, 4335);
    EXPECT_EQ(MessageStoreTexts::PanelLayout(9000).list1Width, 5925);
}

TEST(MessageEditorValues, ChoicesMapToTheirItems)
{
    struct {
        qint32 value;
        int coding, msgClass, validity;
    } cases[] = {{0, 1, 1, 0}, {1, 3, 3, 0}, {2, 2, 2, 1}, {3, 0, 4, 2}, {4, 0, 0, 2},
                 {5, 0, -1, 2}, {7, 0, -1, 2}, {10, 0, -1, 2}, {-1, 0, -1, 2}};
    for (const auto& c : cases) {
        EXPECT_EQ(MessageEditorValues::CodingItem(c.value), c.coding) << c.value;
        EXPECT_EQ(MessageEditorValues::ClassItem(c.value), c.msgClass) << c.value;
        EXPECT_EQ(MessageEditorValues::ValidityOption(c.value), c.validity) << c.value;
    }
    EXPECT_EQ(MessageEditorValues::ResolvedCoding(10, QStringLiteral("€")), 0);
    EXPECT_EQ(MessageEditorValues::ResolvedCoding(10, QString()), 0);
    EXPECT_EQ(MessageEditorValues::ResolvedCoding(10, QStringLiteral("ж")), 1);
    EXPECT_EQ(MessageEditorValues::ResolvedCoding(2, QStringLiteral("ж")), 2);
}

TEST(GridSort, NumbersAsNumbersTextWithoutCaseAndStable)
{
    auto keys = [](QList<QStringList> rows, int first, int last, qint32 order) {
        GridSort::Sort(rows, first, last, order);
        QStringList out;
        for (const QStringList& r : rows)
            out << r.join(QLatin1Char(' '));
        return out;
    };
    const QList<QStringList> rows{{"SIM", "10", "b"}, {"Phone", "1", "B"}, {"SIM", "2", "a"}, {"SIM", "x", "A"}};
    EXPECT_EQ(keys(rows, 0, 1, 1), (QStringList{"Phone 1 B", "SIM 2 a", "SIM 10 b", "SIM x A"}));
    EXPECT_EQ(keys(rows, 0, 1, 2), (QStringList{"SIM x A", "SIM 10 b", "SIM 2 a", "Phone 1 B"}));
    // Equal keys keep their order, in both directions.
    EXPECT_EQ(keys(rows, 2, 2, 5), (QStringList{"SIM 2 a", "SIM x A", "SIM 10 b", "Phone 1 B"}));
    EXPECT_EQ(keys(rows, 2, 2, 6), (QStringList{"SIM 10 b", "Phone 1 B", "SIM 2 a", "SIM x A"}));
    EXPECT_EQ(keys(rows, 0, 0, 0), keys(rows, 0, 0, 3));
}

}  // namespace
