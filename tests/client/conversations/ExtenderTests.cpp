// The extender: its fixed menu, the parser of a remote party's selection
// and the remote functions over the real registry, the send procedure
// recorded through its slot.
#include "client/support/ConversationRig.h"

#include "client/conversations/ExtenderMenu.h"

#include <gtest/gtest.h>

using clienttest::ConversationRig;
using parlova::Conference;
using parlova::ExtenderMenu;

TEST(Extender, MenuFindsNodesAndReadsItsLevels)
{
    const ExtenderMenu menu;
    struct Case { qint32 parent; const char* choice; qint32 node; } submenus[] = {
        {0, "2", 2}, {1, "2", 12}, {2, "List", 21}, {1, "list", -1}, {3, "1", -1}, {0, "Last", 3}, {0, "4", -1},
    };
    for (const Case& c : submenus)
        EXPECT_EQ(menu.Submenu(c.parent, QString::fromLatin1(c.choice)), c.node) << c.parent << " " << c.choice;

    for (auto [node, leaf, function] : {std::tuple{1, false, 0}, {22, true, 4}, {9, false, 0}, {3, true, 5}}) {
        EXPECT_EQ(menu.IfLeaf(node), leaf) << node;
        EXPECT_EQ(menu.FuncNum(node), function) << node;
    }

    EXPECT_EQ(menu.NextStep(0), QStringLiteral("Conference\r\nConferee\r\nLast>\r\n"));
    EXPECT_EQ(menu.NextStep(1), QStringLiteral("List>\r\nSend>conference,message\r\n"));
    EXPECT_EQ(menu.NextStep(2), QStringLiteral("List>\r\nSend>tel/email,message\r\n"));
    EXPECT_EQ(menu.NextStep(11), QString());
}

TEST(Extender, ParsesSelections)
{
    struct Case { const char* text; QStringList items; } cases[] = {
        {"12", {"1", "2"}},
        {"1Send.x", {"1", "Send", "x"}},
        {"1..2", {"1"}},
        {"Conference.List", {"Conference", "List"}},
        {"2List.", {"2", "List"}},
        {"", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Conference::ParseMenuPath(QString::fromLatin1(c.text)), c.items) << c.text;
}

TEST(Extender, RunsTheRemoteFunctions)
{
    ConversationRig rig;
    Conference& registry = *rig.conference;
    QStringList sends;  // "theme|address|text"
    bool queued = true;
    rig.client.app.procedures().SendTalkMessage = [&](const QString& theme, bool selectedOnly, const QString& address,
                                                      const QString& text) {
        EXPECT_FALSE(selectedOnly);
        sends << QStringList{theme, address, text}.join('|');
        return queued;
    };

    EXPECT_EQ(registry.RunExtenderFunction(1, QString()), QStringLiteral("Conferences:\r\n"));
    EXPECT_EQ(registry.RunExtenderFunction(3, QString()), QStringLiteral("Conferees:"));

    // Team, then one whose theme holds a comma.
    rig.autosaved();
    parlova::Conversation& other = rig.open();
    ASSERT_EQ(registry.SaveFile(other.Theme(), rig.path(QStringLiteral("North, South.plv"))), QString());
    registry.AddConferee(QStringLiteral("+441111"), QStringLiteral("Ann"), QStringLiteral("Team"));
    registry.AddConferee(QStringLiteral("zoe@example.com"), QStringLiteral("Zoë"), QStringLiteral("North, South"));

    struct Case {
        qint32 function;
        const char* argument;
        QString answer;
        int sent;  // sends recorded after the call
    } cases[] = {
        {1, "", QStringLiteral("Conferences:\r\nTeam\r\nNorth, South"), 0},
        {3, "", QString::fromUtf8("Conferees:\r\nAnn <+441111>\r\nZoë <zoe@example.com>"), 0},
        {2, "Team>", QStringLiteral("Error: nothing to send"), 0},
        {2, "Team", QStringLiteral("Error: nothing to send"), 0},
        {2, "Gone>hi", QStringLiteral("Error: no conference"), 0},
        {2, "team>see you > soon", QStringLiteral("OK"), 1},
        {4, "+449999>hi", QStringLiteral("Error: no conferee"), 1},
        {4, "+441111>", QStringLiteral("Error: nothing to send"), 1},
        {4, "zoe@example.com>hello", QStringLiteral("OK"), 2},
        {5, "", QStringLiteral("Error: function not implemented"), 2},
        {0, "", QStringLiteral("Error: Unknown function"), 2},
        {6, "", QStringLiteral("Error: Unknown function"), 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(registry.RunExtenderFunction(c.function, QString::fromUtf8(c.argument)), c.answer)
            << c.function << " " << c.argument;
        EXPECT_EQ(int(sends.size()), c.sent) << c.function << " " << c.argument;
    }
    EXPECT_EQ(sends, (QStringList{"Team||see you > soon", "North, South|zoe@example.com|hello"}));

    // The remote party hears "OK" only when something was queued.
    queued = false;
    EXPECT_EQ(registry.RunExtenderFunction(2, QStringLiteral("Team>hi")), QStringLiteral("Error: not sent"));
    EXPECT_EQ(registry.RunExtenderFunction(4, QStringLiteral("+441111>hi")), QStringLiteral("Error: not sent"));
}

TEST(Extender, TalksListRotatesAtWholeThemes)
{
    ConversationRig rig;
    Conference& registry = *rig.conference;
    for (int i = 0; i < 11; ++i)
        rig.open();
    QString list;
    registry.TalksList(list, QStringLiteral("Conference1"), false);
    EXPECT_TRUE(list.startsWith(QStringLiteral("Conference1,Conference2,"))) << list.toStdString();
    EXPECT_TRUE(list.endsWith(QStringLiteral("Conference11"))) << list.toStdString();
    registry.TalksList(list, QStringLiteral("conference11"), true);
    EXPECT_TRUE(list.startsWith(QStringLiteral("Conference11,Conference10,"))) << list.toStdString();
    EXPECT_EQ(registry.Themes(QStringLiteral("Conference2"), true).mid(0, 3),
              (QStringList{QStringLiteral("Conference2"), QStringLiteral("Conference1"), QStringLiteral("Conference11")}));
}
