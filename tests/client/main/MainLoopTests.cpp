// The main loop ticked by hand over the real gate and the simulated phone:
// arrivals to the conference registry, replies to the queue, progress,
// nothing started while disconnected or while a question is open.
#include "client/support/ClientRig.h"
#include "support/DovecotServer.h"

#include "client/orders/EmailConnectProcedures.h"
#include "client/core/ModalQuestion.h"
#include "client/orders/QueryPhone.h"
#include "client/orders/SendSMS.h"
#include "platform/VbError.h"
#include "hub/SmsTestPdus.h"
#include "tools/phonesim/MessageMemory.h"

#include <gtest/gtest.h>

using clienttest::ClientRig;
using clienttest::Query;
using phonesim::ScriptedReply;

namespace {

corvane::PhoneCommandPtr Raw(const QString& text, qint32 owner)
{
    auto c = std::make_shared<corvane::PhoneCommand>();
    c->SetUp(text + QStringLiteral("\r"), QStringLiteral("OK\r"), QStringLiteral("ERROR\r"), owner, 5000, false,
             false, dorrak::mbtQueryPhone);
    return c;
}

}  // namespace

TEST(MainLoop, AnArrivalGoesToTheConferenceRegistry)
{
    struct Case {
        const char* registryAnswer;
        const char* alert;
    } cases[] = {{"", nullptr}, {"No conversation for it (5)", "ERROR: No conversation for it (5)"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.registryAnswer);
        ClientRig rig(7);
        ASSERT_TRUE(rig.connect());
        rig.conferences.putMessageAnswer = QString::fromUtf8(c.registryAnswer);
        rig.sim().state().get<phonesim::MessageMemory>().storeAt(QStringLiteral("SM"), 3,
                                                                 smstest::Deliver8(QString(), QStringLiteral("Hi there")));
        rig.sim().inject(QStringLiteral("+CMTI: \"SM\",3"));
        ASSERT_TRUE(rig.runUntil([&] { return !rig.conferences.arrivals.empty(); }, 30000));
        rig.runFor(600);

        ASSERT_EQ(rig.conferences.arrivals.size(), 1u);
        const clienttest::Arrival& a = rig.conferences.arrivals[0];
        EXPECT_EQ(a.number, QStringLiteral("+15551234567"));
        EXPECT_EQ(a.text, QStringLiteral("Hi there"));
        EXPECT_FALSE(a.isReport);
        EXPECT_EQ(a.mr, 0);
        EXPECT_EQ(a.discharge, parlova::ZeroDate());
        if (c.alert)
            EXPECT_EQ(rig.window.alerts, QStringList{QString::fromUtf8(c.alert)});
        else
            EXPECT_TRUE(rig.window.alerts.isEmpty());
    }
}

TEST(MainLoop, RepliesThatNoWaitingOrderOwns)
{
    ClientRig rig(7);
    ASSERT_TRUE(rig.connect());
    // A slow command of key -5 runs first; the query's key is -2.
    rig.sim().script(QStringLiteral("AT+CBC"), ScriptedReply::Text({QStringLiteral("+CBC: 0,80")}).after(1500));
    rig.gate->Push(Raw(QStringLiteral("AT+CBC"), -5));
    auto query = Query(QStringLiteral("AT+CSQ"));
    rig.orders->Add(query, 0);
    ASSERT_TRUE(rig.runUntilIdle());
    EXPECT_EQ(rig.window.alerts.value(0),
              QStringLiteral("ERROR: Order received another`s reply\r\nOrder ID = -2, reply owner = -5"));
    EXPECT_TRUE(query->Finished());

    rig.window.alerts.clear();
    rig.gate->Push(Raw(QStringLiteral("AT"), -7));
    rig.runFor(1500);
    EXPECT_EQ(rig.window.alerts, QStringList{QStringLiteral("ERROR: There is no order to process reply from phone")});
}

TEST(MainLoop, ProgressShowsWhileAnOrderWaitsAndNothingElseStarts)
{
    ClientRig rig(7);
    ASSERT_TRUE(rig.connect());
    rig.conferences.open(QStringLiteral("Conf"));
    rig.sim().state().get<phonesim::MessageMemory>().pduOutcomes = {phonesim::PduOutcome::Silence()};
    auto send = std::make_shared<parlova::SendSMS>();
    send->SetUp(QStringLiteral("Hi"), 0, {QStringLiteral("+4479000001"), QStringLiteral("+4479000002")}, 4,
                QVariant(), 0, QString(), QStringLiteral("Conf"));
    rig.orders->Add(send, 0);
    rig.orders->Add(Query(QStringLiteral("AT")), 0);
    ASSERT_TRUE(rig.runUntil([&] { return rig.window.Pane(1).text == QLatin1String("Conf. Send SMS...15%"); }));
    const int shown = rig.window.count(QStringLiteral("ShowProgress(15,)"));
    rig.runFor(3000);
    EXPECT_GE(rig.window.count(QStringLiteral("ShowProgress(15,)")), shown + 9);
    EXPECT_EQ(rig.orders->ActiveOrder(), send);
    EXPECT_EQ(rig.orders->Count(), 1);
}

TEST(MainLoop, NothingStartsBeforeATickHasSeenTheConnection)
{
    ClientRig rig(7);
    auto query = Query(QStringLiteral("AT"));
    rig.orders->Add(query, 0);
    rig.runFor(2000);
    EXPECT_EQ(rig.orders->ActiveOrder(), nullptr);
    EXPECT_FALSE(rig.loop.PhoneWasConnected());

    parlova::ConnectPhone(0);
    ASSERT_TRUE(rig.runUntil([&] { return rig.orders->ActiveOrder() != query && !rig.orders->ActiveOrder(); }));
    // The tick that handled the connect reply only saw the connection.
    EXPECT_TRUE(rig.loop.PhoneWasConnected());
    EXPECT_EQ(rig.orders->Count(), 1);
    rig.runFor(300);
    EXPECT_EQ(rig.orders->ActiveOrder(), query);
}

TEST(MainLoop, ALostConnectionIsMirrored)
{
    ClientRig rig(7);
    ASSERT_TRUE(rig.connect());
    EXPECT_EQ(rig.window.connectionShown(), 1);
    rig.gate->Disconnect();
    rig.runFor(300);
    EXPECT_EQ(rig.window.count(QStringLiteral("Ready")), 1);
    EXPECT_EQ(rig.window.connectionShown(), 0);
    EXPECT_EQ(rig.window.Pane(3).toolTip, QStringLiteral("No connection"));
    EXPECT_FALSE(rig.loop.PhoneWasConnected());
}

TEST(MainLoop, WhileAQuestionIsOpenTheQueueIsLeftAlone)
{
    ClientRig rig(7);
    ASSERT_TRUE(rig.connect());
    rig.sim().script(QStringLiteral("AT+CSQ"), ScriptedReply::Silence().always());
    auto query = Query(QStringLiteral("AT+CSQ"));
    rig.orders->Add(query, 0);
    ASSERT_TRUE(rig.runUntil([&] { return rig.orders->IsWaitingReply(); }));

    // The timers keep firing inside each box; the reply of the query cut
    // off by the disconnection waits in the gate until the user has chosen.
    std::vector<qsizetype> waitingReplies;
    const auto previous = platform::SetMessageBoxHook([&](const platform::MessageBoxRequest&) {
        EXPECT_TRUE(parlova::ModalQuestion::IsOpen());
        rig.runFor(3000);
        waitingReplies.push_back(rig.gate->OutputCount());
        EXPECT_EQ(rig.orders->ActiveOrder(), query);
        return platform::vbYes;
    });
    parlova::ConnectPhone(7);
    platform::SetMessageBoxHook(previous);

    ASSERT_EQ(waitingReplies.size(), 2u);
    EXPECT_EQ(waitingReplies[1], 1);
    EXPECT_FALSE(query->Finished());
    EXPECT_FALSE(parlova::ModalQuestion::IsOpen());
    // Tried again after the new connection.
    ASSERT_EQ(rig.orders->Count(), 1);
    EXPECT_EQ(rig.orders->Item(1), query);
    ASSERT_TRUE(rig.runUntil([&] { return rig.orders->ActiveOrder() == query; }));
}

namespace {

// Takes every letter and fails to write the first one, raising.
class RefusingConferences : public clienttest::RecordingConferences {
public:
    QString PutEmailMessage(const quenby::EmailLetter& letter) override
    {
        RecordingConferences::PutEmailMessage(letter);
        if (letters.size() == 1)
            platform::Raise(61, QStringLiteral("Conferences"), QStringLiteral("Disk full"));
        return QString();
    }
};

class MainLoopMail : public clienttest::EmailOrderTest {};

}  // namespace

TEST_F(MainLoopMail, ALetterTheRegistryCouldNotWriteIsReported)
{
    auto refusing = std::make_shared<RefusingConferences>();
    app.globals().Conferences = refusing;
    testsupport::DovecotServer pop3;
    QString error;
    ASSERT_TRUE(pop3.start(&error)) << error.toStdString();
    parlova::Settings::Instance().POP3Port(pop3.port());
    pop3.dropLetter("From: Ann <ann@example.org>\nSubject: One\n\nFirst\n");
    pop3.dropLetter("From: Ann <ann@example.org>\nSubject: Two\n\nSecond\n");
    parlova::ConnectEmail();
    ASSERT_TRUE(gate().Ready());
    ASSERT_TRUE(drive([&] { return refusing->letters.size() == 2 && !gate().CurrentCommand(); }));
    EXPECT_EQ(window.Pane(1).text, QStringLiteral("EMAIL ERROR: Disk full (61)"));
}
