// The conversation as its window shows it, without widgets: caption, log,
// counter, parameters, conferee lines, layout, and what each change writes.
#include "client/support/ConversationRig.h"

#include "client/conversations/TalkLayout.h"

#include <gtest/gtest.h>

using clienttest::ConversationRig;
using parlova::Conversation;

namespace {

QStringList Lines(const QByteArray& bytes) { return QString::fromLatin1(bytes).split(QStringLiteral("\r\n")); }

// The lines of after that before does not hold, by key.
QStringList ChangedKeys(const QByteArray& before, const QByteArray& after)
{
    const QStringList old = Lines(before);
    QStringList keys;
    for (const QString& line : Lines(after))
        if (!old.contains(line))
            keys << line.section(QLatin1Char('='), 0, 0);
    return keys;
}

}  // namespace

TEST(Conversation, CaptionFollowsTheCounts)
{
    ConversationRig rig;
    Conversation& t = rig.open();
    struct Step {
        qint32 sending, unread;
        const char* caption;
    } steps[] = {{0, 2, "Conference1 (unread 2)"},
                 {1, 0, "Conference1 (unread 2, sending 1)"},
                 {-1, -2, "Conference1"},
                 {1, 0, "Conference1 (sending 1)"},
                 {-2, 0, "Conference1"}};
    for (const Step& s : steps) {
        t.UpdateCaption(s.sending, s.unread);
        EXPECT_EQ(t.Caption(), QString::fromLatin1(s.caption));
    }
    // A count below 0 shows nothing; a second theme is ignored.
    EXPECT_EQ(t.Sending(), -1);
    t.SetTheme(QStringLiteral("Other"));
    EXPECT_EQ(t.Theme(), QStringLiteral("Conference1"));
}

TEST(Conversation, LogKindsMoveTheCountsAndEntriesAreNormalised)
{
    ConversationRig rig;
    Conversation& t = rig.open();
    t.UpdateCaption(1, 2);
    t.SetDirty(false);
    t.Log(2, QString());
    EXPECT_EQ(t.Caption(), QStringLiteral("Conference1 (unread 2, sending 1)"));
    EXPECT_EQ(t.Log(), QString());
    EXPECT_FALSE(t.Dirty());
    t.Log(0, QString());
    EXPECT_EQ(t.Caption(), QStringLiteral("Conference1 (unread 2)"));
    EXPECT_FALSE(t.Dirty());

    t.Log(2, QStringLiteral("  a \r\n\r\n b"));
    EXPECT_EQ(t.Log(), QStringLiteral("\r\na\r\nb"));
    EXPECT_EQ(t.Label6Text(), QStringLiteral("Log : 6 chr"));
    EXPECT_TRUE(t.Dirty());

    // Three arrivals and one outcome, one message in flight.
    t.Read();
    t.UpdateCaption(1, 0);
    for (int i = 0; i < 3; ++i)
        t.Log(1, QStringLiteral("in"));
    t.Log(0, QStringLiteral("out"));
    EXPECT_EQ(t.Caption(), QStringLiteral("Conference1 (unread 3)"));
    t.Log(7, QStringLiteral("x\ny"));
    EXPECT_TRUE(t.Log().endsWith(QStringLiteral("\r\nx\r\ny")));
    EXPECT_EQ(Conversation::NormalizeLineEnds(QStringLiteral(" \r\n \n")), QString());
}

TEST(Conversation, CounterShowsCharactersPartsAndCost)
{
    ConversationRig rig;
    Conversation& t = rig.open();
    EXPECT_EQ(t.Label2Text(), QStringLiteral("0 chr, $0.00"));
    t.OnDraftChanged(QString(45, QLatin1Char('a')));
    EXPECT_EQ(t.Label2Text(), QStringLiteral("45 chr, $0.00"));
    t.AddConferee(QStringLiteral("+441"), QStringLiteral("Ann"));
    EXPECT_EQ(t.Label2Text(), QStringLiteral("45 chr, $0.06"));
    t.AddConferee(QStringLiteral("+442"), QStringLiteral("Bob"));
    t.OnDraftChanged(QString(200, QLatin1Char('b')));
    EXPECT_EQ(t.Label2Text(), QStringLiteral("200 chr / 2 parts, $0.24"));
    EXPECT_EQ(t.Label5Text(), QStringLiteral("2 total / 0 selected"));

    // Auto: Cyrillic goes as UCS2, 70 to a single part.
    t.OnDraftChanged(QString(70, QChar(0x0436)));
    EXPECT_EQ(t.CodingA(), 1);
    EXPECT_EQ(t.Label2Text(), QStringLiteral("70 chr, $0.12"));
    t.OnDraftChanged(QString(71, QChar(0x0436)));
    EXPECT_EQ(t.Label2Text(), QStringLiteral("71 chr / 2 parts, $0.24"));
    t.OnDraftChanged(QString());
    EXPECT_EQ(t.CodingA(), 0);

    rig.settings().ShowCost(false);
    t.OnDraftChanged(QStringLiteral(" hi \r\n"));
    EXPECT_EQ(t.Label2Text(), QStringLiteral("2 chr"));
    EXPECT_EQ(t.Text(), QStringLiteral("hi"));
}

TEST(Conversation, ParameterLetsFollowTheirLists)
{
    ConversationRig rig;
    Conversation& t = rig.open();
    const std::pair<qint32, qint32> codings[] = {{0, 0}, {2, 2}, {1, 1}, {7, 10}, {10, 10}, {-1, 10}};
    for (auto [let, got] : codings) {
        t.SetCoding(let);
        EXPECT_EQ(t.Coding(), got) << let;
    }
    t.SetClass(2);
    const std::pair<qint32, qint32> classes[] = {{4, 4}, {0, 0}, {7, 0}, {2, 2}, {1, 1}, {3, 3}, {-4, 3}};
    for (auto [let, got] : classes) {
        t.SetClass(let);
        EXPECT_EQ(t.Class(), got) << let;
    }
    const std::pair<qint32, qint32> validities[] = {{2, 2}, {3, 3}, {1, 0}, {0, 0}};
    for (auto [let, got] : validities) {
        t.SetValidity(let);
        EXPECT_EQ(t.Validity(), got) << let;
    }
    const std::pair<qint32, const char*> labels[] = {{0, "0 h 5 min"},  {143, "12 h 0 min"}, {167, "24 h 0 min"},
                                                     {168, "2 days"},    {170, "4 days"},     {196, "30 days"},
                                                     {197, "5 weeks"},   {255, "63 weeks"}};
    for (auto [code, text] : labels) {
        t.SetSliderValue(code);
        EXPECT_EQ(t.Label4Text(), QString::fromLatin1(text)) << code;
    }
}

TEST(Conversation, ConfereeLinesAreFoundByTheirOwnAddressFirst)
{
    ConversationRig rig;
    Conversation& t = rig.open();
    for (auto [address, name] : {std::pair{"+44123", "Bob"}, {"+4412", "Al"}, {"Ann@Example.org", "Ann"},
                                 {"+4930", ""}, {"+491", "Cy"}})
        t.AddConferee(QString::fromLatin1(address), QString::fromLatin1(name));
    EXPECT_EQ(t.AllConferees(), (QStringList{"Bob <+44123>", "Al <+4412>", "Ann <Ann@Example.org>", " <+4930>",
                                             "Cy <+491>"}));
    EXPECT_EQ(t.GetConfName(QStringLiteral("+4412")), QStringLiteral("Al <+4412>"));
    EXPECT_EQ(t.GetConfName(QStringLiteral("123")), QStringLiteral("Bob <+44123>"));
    EXPECT_EQ(t.GetConfName(QStringLiteral("ann@example.org")), QStringLiteral("Ann <Ann@Example.org>"));
    EXPECT_EQ(t.GetConfName(QString()), QString());

    QString name = QStringLiteral("x"), address = QStringLiteral("y");
    EXPECT_EQ(t.GetNameAndTelNo(name, address, 4), QString());
    EXPECT_EQ(name, QStringLiteral("Cy"));
    EXPECT_EQ(address, QStringLiteral("+491"));
    EXPECT_EQ(t.GetNameAndTelNo(name, address, 3), QString());
    EXPECT_EQ(name, QString());
    EXPECT_EQ(address, QStringLiteral("+4930"));
    EXPECT_EQ(t.GetNameAndTelNo(name, address, 9), QStringLiteral("Invalid procedure call or argument (5)"));

    EXPECT_EQ(t.RemoveConferee(QStringLiteral("+4412")), QString());
    EXPECT_EQ(t.AllConferees().value(1), QStringLiteral("Ann <Ann@Example.org>"));
    EXPECT_EQ(t.RemoveConferee(QStringLiteral("+99")), QString());
    EXPECT_EQ(t.ConfereesCount(), 4);

    t.OnListClick({false, true, false, true}, 3);
    EXPECT_EQ(t.SelectedConferees(), (QStringList{"Cy <+491>", "Ann <Ann@Example.org>"}));
    EXPECT_EQ(t.Label5Text(), QStringLiteral("4 total / 2 selected"));
    EXPECT_EQ(t.ListToolTip(), QStringLiteral("Cy <+491>"));
    t.DeselectAll();
    EXPECT_TRUE(t.SelectedConferees().isEmpty());
}

TEST(Conversation, LayoutPlacesThePanelByTheWidth)
{
    struct Row {
        int width;
        int combo1Left, list1Width, frameLeft;
    } rows[] = {{7000, 5400, 4335, 4560}, {7410, 5400, 4335, 4560}, {9000, 6990, 6045, 6150}};
    for (const Row& r : rows) {
        const QHash<QString, QRect> p = parlova::TalkLayout::Place(r.width, 7200, 1215, true);
        EXPECT_EQ(p[QStringLiteral("Combo1")].left(), r.combo1Left) << r.width;
        EXPECT_EQ(p[QStringLiteral("List1")].width(), r.list1Width) << r.width;
        EXPECT_EQ(p[QStringLiteral("Frame3")].left(), r.frameLeft) << r.width;
        EXPECT_EQ(p[QStringLiteral("Text4")].width(), r.width);
    }
    // The log takes what the rest leaves; the new message's top follows it.
    QHash<QString, QRect> p = parlova::TalkLayout::Place(9000, 7200, 1215, true);
    EXPECT_EQ(p[QStringLiteral("Text5")].height(), 7200 - 2670 - 1215);
    EXPECT_EQ(p[QStringLiteral("Text4")].top(), 7200 - 2670 - 1215 + 345);
    EXPECT_EQ(p[QStringLiteral("Check2")].top(), 7200 - 2325 + 2060);
    p = parlova::TalkLayout::Place(9000, 7200, 1215, false);
    EXPECT_EQ(p[QStringLiteral("Text5")].height(), 7200 - 345 - 1215);
    EXPECT_FALSE(p.contains(QStringLiteral("List1")));
    EXPECT_EQ(parlova::TalkLayout::Place(9000, 3000, 1215, true)[QStringLiteral("Text5")].height(), 0);
}

TEST(Conversation, EachChangeWritesItsKeyOrSetsDirty)
{
    ConversationRig rig;
    Conversation& t = rig.open();
    t.AddConferee(QStringLiteral("+441"), QStringLiteral("Ann"));
    const QString file = rig.path(QStringLiteral("Team.plv"));
    ASSERT_EQ(rig.conference->SaveFile(t.Theme(), file), QString());
    struct Change {
        const char* name;
        std::function<void(Conversation&)> act;
        QStringList keys;  // written with autosave on
    };
    const Change changes[] = {
        {"coding", [](Conversation& c) { c.OnCodingClick(3); }, {"Coding"}},
        {"class", [](Conversation& c) { c.OnClassClick(2); }, {"Class"}},
        {"report", [](Conversation& c) { c.OnReportClick(1); }, {"Report"}},
        {"validity", [](Conversation& c) { c.OnValidityClick(3); }, {"Validity_format"}},
        {"slider", [](Conversation& c) { c.OnSliderChange(12); }, {"Relative_validity_period"}},
        {"picker",
         [](Conversation& c) { c.OnPickerChange(QDateTime(QDate(2025, 1, 2), QTime(3, 4))); },
         {"Absolute_validity_period"}},
        {"conferee", [](Conversation& c) { c.AddConferee(QStringLiteral("+442"), QStringLiteral("Bob")); },
         {"Conf00002"}},
        {"style", [](Conversation& c) { c.SaveColor(QStringLiteral("Text5")); }, {}},
    };
    for (bool autosave : {true, false}) {
        t.OnAutosaveClick(autosave ? 1 : 0);
        ASSERT_EQ(rig.boxTexts(), QStringList());
        for (const Change& c : changes) {
            SCOPED_TRACE(std::string(c.name) + (autosave ? " autosave" : ""));
            t.SetDirty(false);
            const QByteArray before = rig.bytes(file);
            c.act(t);
            EXPECT_EQ(t.Dirty(), !autosave);
            EXPECT_EQ(ChangedKeys(before, rig.bytes(file)), autosave ? c.keys : QStringList());
        }
    }
    EXPECT_EQ(rig.boxTexts(), QStringList());
}

TEST(Conversation, ReportWithoutAFileWritesNothingEvenWithAutosave)
{
    ConversationRig rig;
    Conversation& t = rig.open();
    t.SetAutosave(1);
    t.OnReportClick(1);
    t.OnSliderChange(4);
    EXPECT_FALSE(t.Dirty());
    t.OnCodingClick(1);
    EXPECT_EQ(rig.boxTexts(), QStringList{QStringLiteral("The file was not saved")});
    EXPECT_EQ(rig.client.boxes.last().title, QStringLiteral("Conference1"));
    EXPECT_TRUE(t.Dirty());
}

TEST(Conversation, TickingAutosaveRewritesAnOldChunkedFileFirst)
{
    ConversationRig rig;
    const QString file = rig.path(QStringLiteral("Old.plv"));
    rig.write(file, "[Chunks]\r\nChunk_size=1000\r\nArchive_saved_chunks=1\r\n[Archive 00001]\r\nold line\r\n");
    QString theme, warnings;
    ASSERT_EQ(rig.conference->AddTalk(theme, warnings, file), QString());
    Conversation& t = rig.talk(theme);
    EXPECT_FALSE(t.Dirty());
    t.OnAutosaveClick(1);
    EXPECT_EQ(rig.boxTexts(), QStringList());
    const QByteArray bytes = rig.bytes(file);
    EXPECT_TRUE(bytes.contains("[File parameters]\r\n"));
    EXPECT_TRUE(bytes.contains("Autosave=1\r\n"));
    EXPECT_FALSE(bytes.contains("[Chunks]"));
    EXPECT_TRUE(bytes.contains("old line")) << bytes.toStdString();
}
