// The registry of open conversations: opening, registering conferees,
// saving under a new name, joining, and routing arrivals into the log.
#include "client/support/ConversationRig.h"

#include "client/core/Orders.h"
#include "client/orders/SendSMS.h"
#include "email/EmailLetter.h"

#include <gtest/gtest.h>

using clienttest::ConversationRig;
using parlova::Conversation;

namespace {

const QString kRule = QString(30, QLatin1Char('_'));

quenby::EmailLetter Letter(const QString& address, const QString& name, const QString& body, qint32 flags = 0)
{
    quenby::EmailLetter l;
    l.Originator.Address = address;
    l.Originator.Name = name;
    l.Message.NoteText = body;
    l.Message.Flags = flags;
    l.Message.FileCount = 2;
    l.Attachments.resize(3);
    l.Attachments[0].PathName = QStringLiteral("/in/a.pdf");
    l.Attachments[1].PathName = QStringLiteral("/in/b.png");
    l.Attachments[2].PathName = QStringLiteral("/in/not-counted");
    return l;
}

}  // namespace

TEST(Conference, NewConversationsTakeTheSettingsAndGeneratedThemes)
{
    ConversationRig rig;
    Conversation& first = rig.open();
    EXPECT_EQ(first.Theme(), QStringLiteral("Conference1"));
    EXPECT_EQ(first.Coding(), 10);
    EXPECT_EQ(first.Class(), 4);
    EXPECT_EQ(first.Validity(), 2);
    EXPECT_EQ(first.SliderValue(), 170);
    EXPECT_EQ(first.ReportValue(), 0);
    EXPECT_FALSE(first.Dirty());
    EXPECT_FALSE(first.AutosaveEnabled());

    parlova::Settings& s = rig.settings();
    s.Coding(1), s.Class(2), s.ValidityType(3), s.RelativeValidity(100), s.RequestReport(true);
    s.LogForeColor(255);
    Conversation& second = rig.open();
    EXPECT_EQ(second.Theme(), QStringLiteral("Conference2"));
    EXPECT_EQ(second.Coding(), 1);
    EXPECT_EQ(second.Class(), 2);
    EXPECT_EQ(second.Validity(), 3);
    EXPECT_EQ(second.SliderValue(), 100);
    EXPECT_EQ(second.ReportValue(), 1);
    EXPECT_EQ(second.Area(parlova::kLogArea).foreColor, 255);
    EXPECT_EQ(rig.conference->TalksCount(), 2);
    QString list;
    rig.conference->TalksList(list, QStringLiteral("Conference2"), false);
    EXPECT_EQ(list, QStringLiteral("Conference2,Conference1")) << list.toStdString();
    rig.conference->TalksList(list, QStringLiteral("Gone"), true);
    EXPECT_EQ(list, QStringLiteral("Conference2,Conference1")) << list.toStdString();

    // A generated theme that a file of an earlier run holds is skipped.
    const QString file = rig.path(QStringLiteral("Conference3.plv"));
    rig.write(file, QByteArray());
    QString theme, warnings;
    ASSERT_EQ(rig.conference->AddTalk(theme, warnings, file), QString());
    EXPECT_EQ(theme, QStringLiteral("Conference3"));
    EXPECT_EQ(rig.open().Theme(), QStringLiteral("Conference4"));
}

TEST(Conference, AConfereeBelongsToOneConversation)
{
    ConversationRig rig;
    Conversation& first = rig.open();
    parlova::Conference& c = *rig.conference;
    ASSERT_EQ(c.AddConferee(QStringLiteral("+44"), QStringLiteral("Ann"), first.Theme()), QString());
    EXPECT_EQ(c.AddConferee(QStringLiteral("+44"), QStringLiteral("Ann"), first.Theme()),
              QStringLiteral("The number +44 is taking part in conference Conference1"));
    EXPECT_EQ(c.AddConferee(QStringLiteral("+45"), QStringLiteral("X"), QStringLiteral("None")),
              QStringLiteral("Invalid procedure call or argument (5)"));
    // A remote name's line breaks become blanks.
    ASSERT_EQ(c.AddConferee(QStringLiteral("bob@x.org"), QStringLiteral("Bob\r\nSmith") + QChar(0), first.Theme()),
              QString());
    EXPECT_EQ(first.AllConferees().value(1), QStringLiteral("Bob  Smith  <bob@x.org>"));
    EXPECT_EQ(c.ConfereeName(QStringLiteral("BOB@x.org")), QStringLiteral("Bob  Smith "));

    // A file whose conferee is held elsewhere opens without it; the file
    // keeps it.
    const QString file = rig.path(QStringLiteral("Team.plv"));
    const QByteArray bytes = "[Message parameters]\r\nAutosave=1\r\n[Conferees]\r\nConf00001=Cy <+46>\r\n"
                             "Conf00002=Ann <+44>\r\nConf00003=<+47>\r\n";
    rig.write(file, bytes);
    QString theme, warnings;
    ASSERT_EQ(c.AddTalk(theme, warnings, file), QString());
    EXPECT_EQ(warnings, QStringLiteral("\r\nNumber +44 is taking part in conference Conference1"));
    Conversation& team = c.Talk(QStringLiteral("team"));
    EXPECT_EQ(team.AllConferees(), (QStringList{"Cy <+46>", "<+47>"}));
    EXPECT_EQ(c.LocateConferee(QStringLiteral("+47")), QStringLiteral("Team"));
    EXPECT_EQ(c.LocateConferee(QStringLiteral("+44")), QStringLiteral("Conference1"));
    EXPECT_EQ(rig.bytes(file), bytes);
    EXPECT_FALSE(team.Dirty());

    // Moving, removing, and closing forget the conferees.
    EXPECT_EQ(c.MoveConferee(QStringLiteral("Cy <+46>"), QStringLiteral("Team"), QStringLiteral("Conference1")),
              QString());
    EXPECT_EQ(c.LocateConferee(QStringLiteral("+46")), QStringLiteral("Conference1"));
    EXPECT_EQ(first.ConfereesCount(), 3);
    EXPECT_EQ(c.RemoveConferee(QStringLiteral("Ann <+44>"), QStringLiteral("Conference1")), QString());
    EXPECT_FALSE(c.ConfereeExist(QStringLiteral("+44")));
    EXPECT_EQ(c.RemoveConferee(QStringLiteral("Ann <+44>"), QStringLiteral("Conference1")),
              QStringLiteral("Invalid procedure call or argument (5)"));
    c.RemoveTalk(QStringLiteral("TEAM"));
    EXPECT_FALSE(c.ConfereeExist(QStringLiteral("+47")));
    EXPECT_FALSE(c.TalkExist(QStringLiteral("Team")));
    team.Discard();
    EXPECT_EQ(c.ConfereesCount(), 2);
}

TEST(Conference, SavingUnderANewNameRenamesEverything)
{
    ConversationRig rig;
    parlova::Conference& c = *rig.conference;
    Conversation& talk = rig.open();
    c.AddConferee(QStringLiteral("+44"), QStringLiteral("Ann"), talk.Theme());
    rig.open();
    auto queue = std::make_shared<parlova::Orders>();
    rig.client.app.globals().PhoneOrders = queue;
    auto order = std::make_shared<parlova::SendSMS>();
    order->SetUp(QStringLiteral("Hi"), 0, {QStringLiteral("+44")}, 4, QVariant(), 0, QString(),
                 QStringLiteral("Conference1"));
    queue->Add(order, 0);

    ASSERT_EQ(c.SaveFile(QStringLiteral("Conference1"), rig.path(QStringLiteral("Team.plv"))), QString());
    EXPECT_EQ(talk.Theme(), QStringLiteral("Team"));
    EXPECT_EQ(talk.Caption(), QStringLiteral("Team"));
    EXPECT_TRUE(c.TalkExist(QStringLiteral("Team")));
    EXPECT_FALSE(c.TalkExist(QStringLiteral("Conference1")));
    EXPECT_EQ(&c.Talk(2), &talk);
    EXPECT_EQ(c.LocateConferee(QStringLiteral("+44")), QStringLiteral("Team"));
    EXPECT_EQ(order->Owner(), QStringLiteral("Team"));
    EXPECT_TRUE(talk.AutosaveEnabled());

    EXPECT_EQ(c.SaveFile(QStringLiteral("Conference2"), rig.path(QStringLiteral("Team.plv"))),
              QStringLiteral("Conference 'Team' already exists"));
    EXPECT_TRUE(c.TalkExist(QStringLiteral("Conference2")));
    // A change of case alone is the same conversation, re-registered.
    ASSERT_EQ(c.SaveFile(QStringLiteral("Team"), rig.path(QStringLiteral("team.plv"))), QString());
    EXPECT_EQ(talk.Theme(), QStringLiteral("team"));
    EXPECT_EQ(c.LocateConferee(QStringLiteral("+44")), QStringLiteral("team"));
    EXPECT_EQ(order->Owner(), QStringLiteral("team"));
    EXPECT_TRUE(c.SaveFile(QStringLiteral("team"), rig.path(QStringLiteral("no/such/dir/x.plv")))
                    .endsWith(QStringLiteral("(2)")));
}

TEST(Conference, JoiningMovesConfereesLogAndWhatIsInFlight)
{
    ConversationRig rig;
    parlova::Conference& c = *rig.conference;
    Conversation& a = rig.open();
    Conversation& b = rig.open();
    rig.open();
    c.AddConferee(QStringLiteral("+1"), QStringLiteral("One"), QStringLiteral("Conference1"));
    c.AddConferee(QStringLiteral("+2"), QStringLiteral("Two"), QStringLiteral("Conference1"));
    a.Log(2, QStringLiteral("old talk"));
    a.UpdateCaption(1, 0);
    auto queue = std::make_shared<parlova::Orders>();
    rig.client.app.globals().MailOrders = queue;
    auto order = std::make_shared<parlova::SendSMS>();
    order->SetUp(QStringLiteral("Hi"), 0, {QStringLiteral("+1")}, 4, QVariant(), 0, QString(),
                 QStringLiteral("conference1"));
    queue->Add(order, 0);
    // The source asks about its changes as it closes.
    rig.client.boxes.answer(platform::vbNo);

    ASSERT_EQ(c.JoinTalks(QStringLiteral("Conference2"), QStringLiteral("Conference1")), QString());
    EXPECT_FALSE(c.TalkExist(QStringLiteral("Conference1")));
    EXPECT_EQ(b.AllConferees(), (QStringList{"One <+1>", "Two <+2>"}));
    EXPECT_EQ(c.LocateConferee(QStringLiteral("+2")), QStringLiteral("Conference2"));
    EXPECT_EQ(b.Log(), QStringLiteral("\r\nold talk"));
    EXPECT_EQ(b.Caption(), QStringLiteral("Conference2 (sending 1)"));
    EXPECT_EQ(order->Owner(), QStringLiteral("Conference2"));

    // A source without conferees still hands over its log and closes.
    ASSERT_EQ(c.JoinTalks(QStringLiteral("Conference2"), QStringLiteral("Conference3")), QString());
    EXPECT_EQ(c.TalksCount(), 1);
    EXPECT_EQ(c.JoinTalks(QStringLiteral("Conference2"), QStringLiteral("Conference9")),
              QStringLiteral("Invalid procedure call or argument (5)"));
}

TEST(Conference, ArrivalsAreLoggedIntoTheSendersConversation)
{
    ConversationRig rig;
    parlova::Conference& c = *rig.conference;
    ASSERT_EQ(c.PutMessage(QStringLiteral("+4470"), QStringLiteral("Hi\r\nthere"), false, 0, parlova::ZeroDate()),
              QString());
    Conversation& t = c.Talk(QStringLiteral("Conference1"));
    EXPECT_EQ(t.AllConferees(), QStringList{QStringLiteral("Noname <+4470>")});
    EXPECT_EQ(t.Log(), QStringLiteral("\r\nTEXT:     Hi\r\nthere\r\nAT:     2024/05/17  14:02\r\nFROM:     "
                                      "Noname <+4470>\r\n") +
                           kRule);
    EXPECT_EQ(rig.main.captions, QList<qint32>{1});

    const QDateTime discharge(QDate(2024, 5, 17), QTime(14, 1));
    ASSERT_EQ(c.PutMessage(QStringLiteral("+4470"), QStringLiteral("Delivered"), true, 42, discharge), QString());
    EXPECT_TRUE(t.Log().endsWith(QStringLiteral("\r\nTO:     Noname <+4470>\r\nMR:     42\r\nSTATUS TIME:     "
                                                "2024/05/17  14:01\r\nSTATUS REPORT:     Delivered\r\n") +
                                 kRule));
    EXPECT_EQ(t.Caption(), QStringLiteral("Conference1 (unread 2)"));
    EXPECT_EQ(rig.main.captions.last(), 2);

    rig.settings().SimplifiedLog(true);
    c.PutMessage(QStringLiteral("+4470"), QStringLiteral("Short"), false, 0, parlova::ZeroDate());
    c.PutMessage(QStringLiteral("+4470"), QStringLiteral("Delivered"), true, 7, discharge);
    EXPECT_TRUE(t.Log().endsWith(QStringLiteral("\r\nNoname, 2024/05/17  14:02>>> Short\r\nNoname, 2024/05/17  "
                                                "14:02, #7<<< Report: Delivered, at 2024/05/17  14:01")));
    EXPECT_EQ(c.Unread(), 4);
    EXPECT_EQ(rig.main.Caption(), QStringLiteral("Parlova (4)"));
    rig.open().Log(3, QStringLiteral("an answer"));
    c.Read(QStringLiteral("conference1"));
    EXPECT_EQ(rig.main.Caption(), QStringLiteral("Parlova (1)"));
}

TEST(Conference, LettersGoToOneConversationWhateverTheCaseOrPrefix)
{
    ConversationRig rig;
    parlova::Conference& c = *rig.conference;
    ASSERT_EQ(c.PutEmailMessage(Letter(QStringLiteral("SMTP:Ann@Example.org"), QStringLiteral("Ann"),
                                       QStringLiteral("Hello"))),
              QString());
    ASSERT_EQ(c.PutEmailMessage(Letter(QStringLiteral("ann@example.org"), QString(), QStringLiteral("Part"), 64)),
              QString());
    rig.settings().SimplifiedLog(true);
    ASSERT_EQ(c.PutEmailMessage(Letter(QStringLiteral("X400:ANN@example.org"), QString(), QStringLiteral("Short"))),
              QString());
    ASSERT_EQ(c.TalksCount(), 1);
    Conversation& t = c.Talk(1);
    EXPECT_EQ(t.AllConferees(), QStringList{QStringLiteral("Ann <Ann@Example.org>")});
    EXPECT_EQ(t.Log(), QStringLiteral("\r\nTEXT:     Hello\r\nATTACHMENT: /in/a.pdf\r\nATTACHMENT: /in/b.png\r\n"
                                      "FROM:     Ann <Ann@Example.org>\r\nAT:     2024/05/17  14:02\r\n") +
                           kRule +
                           QStringLiteral("\r\nTEXT:     Part\r\nFROM:     Ann <Ann@Example.org>\r\nAT:     "
                                          "2024/05/17  14:02\r\n") +
                           kRule +
                           QStringLiteral("\r\nAnn, 2024/05/17  14:02>>> Short\r\nATTACHMENT: /in/a.pdf\r\n"
                                          "ATTACHMENT: /in/b.png"));
    EXPECT_EQ(t.Unread(), 3);

    // No name: "Noname".
    c.PutEmailMessage(Letter(QStringLiteral("bob@example.org"), QString(), QStringLiteral("x")));
    EXPECT_EQ(c.Talk(2).AllConferees(), QStringList{QStringLiteral("Noname <bob@example.org>")});
}
