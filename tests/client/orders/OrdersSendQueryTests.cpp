// The send-SMS and query orders through the main loop, the real gate and
// the simulated phone, with their log entries in a recorded conversation.
#include "client/support/ClientRig.h"
#include "support/ui/MessageBoxRecorder.h"

#include "client/orders/QueryPhone.h"
#include "client/orders/SendSMS.h"
#include "hub/engine/PubFunctions.h"
#include "tools/phonesim/MessageMemory.h"


#include <gtest/gtest.h>

using clienttest::ClientRig;
using phonesim::PduOutcome;
using phonesim::ScriptedReply;

namespace {

const QString kAnn = QStringLiteral("+4479000001");
const QString kBob = QStringLiteral("+4479000002");
const QString kCarl = QStringLiteral("+4479000003");
const QString kRule = QString(30, QLatin1Char('_'));

// A rig connected to the phone, with the conversation "Conf" open.
struct Sending {
    Sending()
    {
        rig.phone.clock().setNow(QDateTime(QDate(2026, 3, 7), QTime(9, 41)));
        EXPECT_TRUE(rig.connect());
        talk = &rig.conferences.open(QStringLiteral("Conf"));
        talk->confereeList = {QStringLiteral("Ann <") + kAnn + QStringLiteral(">"),
                              QStringLiteral("Bob <") + kBob + QStringLiteral(">")};
        rig.conferences.conferees[kAnn] = QStringLiteral("Ann");
        rig.conferences.conferees[kBob] = QStringLiteral("Bob");
    }
    phonesim::MessageMemory& memory() { return rig.sim().state().get<phonesim::MessageMemory>(); }
    std::shared_ptr<parlova::SendSMS> send(const QString& body, const QStringList& numbers, qint32 report,
                                                qint32 coding = 0)
    {
        auto order = std::make_shared<parlova::SendSMS>();
        order->SetUp(body, coding, numbers, 4, QVariant(170), report, QString(), QStringLiteral("Conf"));
        rig.orders->Add(order, 0);
        return order;
    }

    ClientRig rig;
    clienttest::RecordingTalk* talk = nullptr;
};


}  // namespace

TEST(OrdersSendSMS, SetUpFillsTheBagForEveryNumber)
{
    parlova::Settings::Instance().JoinParts(false);
    parlova::SendSMS order;
    order.SetUp(QStringLiteral("Hi"), 0, {kAnn, kBob, kCarl}, 1, QVariant(), 1, QStringLiteral("+44700"),
                QStringLiteral("Conf"));
    parlova::Settings::Instance().JoinParts(true);
    const corvane::PhoneCommandPtr c = order.HeldCommand();
    ASSERT_TRUE(c);
    EXPECT_EQ(corvane::VariantLongArray(c->Bag(QStringLiteral("Result"))), (QVector<qint32>{9, 9, 9}));
    EXPECT_EQ(c->Bag(QStringLiteral("ResultDesc")).toStringList(), (QStringList{"", "", ""}));
    EXPECT_EQ(c->Bag(QStringLiteral("Addresses")).toStringList(), (QStringList{kAnn, kBob, kCarl}));
    EXPECT_FALSE(c->Bag(QStringLiteral("JoinParts")).toBool());
    EXPECT_EQ(order.Owner(), QStringLiteral("Conf"));
    EXPECT_EQ(order.NameOrder(), QStringLiteral("Send SMS"));
}

TEST(OrdersSendSMS, OneNumberRefusedInTheFullLog)
{
    Sending s;
    // Two parts to Ann, then the phone refuses Bob's first part.
    s.memory().pduOutcomes = {PduOutcome::Accept(), PduOutcome::Accept(), PduOutcome::Cms(500)};
    const QString body = QString(100, QLatin1Char('a')) + QString(100, QLatin1Char('b'));
    s.send(body, {kAnn, kBob}, 1);
    ASSERT_TRUE(s.rig.runUntilIdle());

    ASSERT_EQ(s.talk->log.size(), 1u);
    EXPECT_EQ(s.talk->log[0].kind, 0);
    const QString cause = corvane::PhoneErrorText(QStringLiteral("+CMS ERROR: 500"), true);
    EXPECT_FALSE(cause.isEmpty());
    EXPECT_EQ((s.talk->log[0].text),
              QStringLiteral("TEXT:     ") + body + QStringLiteral("\r\nAT:       2026/03/07  09:41\r\n") +
                  QStringLiteral("TO:       Ann <+4479000001>\r\n") +
                  // One line for both references of the long message.
                  QStringLiteral("MR:       0 1\r\n") + QStringLiteral("FAIL TO SEND:\r\n") +
                  QStringLiteral("TO:       Bob <+4479000002>\r\n") + QStringLiteral("CAUSE:    ") + cause +
                  QStringLiteral("\r\n") + kRule);
    EXPECT_EQ(s.rig.window.Pane(1).text, QStringLiteral("Conf. The Send SMS operation failed"));
    EXPECT_TRUE(s.rig.gate->connected());
}

TEST(OrdersSendSMS, AllSentWithAReportShowEveryNumbersReferences)
{
    Sending s;
    const QString body = QString(100, QLatin1Char('a')) + QString(100, QLatin1Char('b'));
    s.send(body, {kAnn, kBob}, 1);
    ASSERT_TRUE(s.rig.runUntilIdle());
    ASSERT_EQ(s.talk->log.size(), 1u);
    EXPECT_TRUE(s.talk->log[0].text.endsWith(QStringLiteral("TO:       Ann <+4479000001>\r\nTO:       Bob <+4479000002>\r\n"
                                                            "MR:       0 1 2 3\r\n") +
                                             kRule))
        << s.talk->log[0].text.toStdString();
}

TEST(OrdersSendSMS, AllSentWithoutReportInTheFullLog)
{
    Sending s;
    s.send(QStringLiteral("Hello"), {kAnn, kBob}, 0);
    ASSERT_TRUE(s.rig.runUntilIdle());
    ASSERT_EQ(s.talk->log.size(), 1u);
    EXPECT_EQ((s.talk->log[0].text),
              QStringLiteral("TEXT:     Hello\r\nAT:       2026/03/07  09:41\r\nTO:       Ann <+4479000001>\r\n"
                             "TO:       Bob <+4479000002>\r\n") +
                  kRule);
    EXPECT_EQ(s.rig.window.Pane(1).text, QStringLiteral("Conf. Send SMS...Done"));
}

TEST(OrdersSendSMS, SimplifiedLogIsOneLine)
{
    Sending s;
    parlova::Settings::Instance().SimplifiedLog(true);
    s.memory().pduOutcomes = {PduOutcome::Accept(), PduOutcome::Accept(), PduOutcome::Cms(500)};
    // Carl is no conferee: his number stands for his name; Bob was not sent.
    s.send(QStringLiteral("Hello"), {kCarl, kAnn, kBob}, 1);
    ASSERT_TRUE(s.rig.runUntilIdle());
    ASSERT_EQ(s.talk->log.size(), 1u);
    EXPECT_EQ((s.talk->log[0].text), QStringLiteral("+4479000003, Ann, 2026/03/07  09:41 #0 1<<< Hello"));
}

TEST(OrdersSendSMS, TimeOutDisconnectsWithoutAsking)
{
    Sending s;
    platform::MessageBoxRecorder boxes;
    s.memory().pduOutcomes = {PduOutcome::Silence()};
    s.send(QStringLiteral("Hello"), {kAnn, kBob}, 1);
    // Queued behind it: stays queued until the next connection.
    auto later = std::make_shared<parlova::QueryPhone>();
    later->SetUp(QStringLiteral("AT+CSQ"), QStringLiteral("Conf"));
    s.rig.orders->Add(later, 0);
    ASSERT_TRUE(s.rig.runUntil([&] { return !s.talk->log.empty(); }, 120000));
    s.rig.runFor(1000);

    EXPECT_EQ(boxes.count(), 0u);
    EXPECT_FALSE(s.rig.gate->connected());
    EXPECT_EQ(s.rig.window.Pane(1).text, QStringLiteral("Conf. The Send SMS operation failed. Time out"));
    EXPECT_TRUE(s.rig.window.alerts.contains(QStringLiteral("Disconnected")));
    EXPECT_EQ(s.rig.window.connectionShown(), 0);
    EXPECT_EQ((s.talk->log[0].text),
              QStringLiteral("TEXT:     Hello\r\nAT:       2026/03/07  09:41\r\nFAIL TO SEND:\r\n"
                             "TO:       Ann <+4479000001>\r\nCAUSE:    Time out\r\n"
                             "TO:       Bob <+4479000002>\r\nCAUSE:    Not executed\r\n") +
                  kRule);
    EXPECT_EQ(s.rig.orders->Count(), 1);
    EXPECT_EQ(s.rig.orders->ActiveOrder(), nullptr);
}

TEST(OrdersSendSMS, AMessageTheEncoderRefusesIsReportedAndTheQueueGoesOn)
{
    Sending s;
    s.send(QStringLiteral("Hello"), {kAnn}, 0, 99);
    auto query = std::make_shared<parlova::QueryPhone>();
    query->SetUp(QStringLiteral("AT"), QStringLiteral("Conf"));
    s.rig.orders->Add(query, 0);
    ASSERT_TRUE(s.rig.runUntilIdle());

    EXPECT_TRUE(s.rig.window.alerts.contains(
        QStringLiteral("ERROR: Conf. The Send SMS operation failed. Unknown coding method (5)")));
    EXPECT_TRUE(s.memory().received.empty());
    // The conversation stops counting it as being sent; then the query runs.
    ASSERT_EQ(s.talk->log.size(), 2u);
    EXPECT_EQ(s.talk->log[0].kind, 0);
    EXPECT_EQ(s.talk->log[0].text, QString());
    EXPECT_EQ(s.talk->log[1].kind, 3);
}

TEST(OrdersSendSMS, AnOrderSetBackOnReconnectIsSentAgain)
{
    Sending s;
    s.memory().pduOutcomes = {PduOutcome::Silence()};
    s.send(QStringLiteral("Hello"), {kAnn}, 0);
    ASSERT_TRUE(s.rig.runUntil([&] { return !s.memory().received.empty(); }));
    platform::MessageBoxRecorder boxes;
    boxes.answer(platform::vbYes);  // close the connection
    boxes.answer(platform::vbYes);  // try the order again
    parlova::ConnectPhone(7);
    ASSERT_EQ(boxes.count(), 2u);
    ASSERT_TRUE(s.rig.runUntilIdle());

    EXPECT_EQ(s.memory().sentPdus().size(), 2);
    ASSERT_EQ(s.talk->log.size(), 1u);
    EXPECT_TRUE(s.talk->log[0].text.contains(QStringLiteral("TO:       Ann <+4479000001>")));
    // The reply of the cut-off attempt reached the connect order, which is
    // not its owner.
    EXPECT_TRUE(s.rig.window.alerts.contains(
        QStringLiteral("ERROR: Order received another`s reply\r\nOrder ID = -3, reply owner = -2")));
}

TEST(OrdersQueryPhone, AnswersInTheLog)
{
    struct Case {
        const char* what;
        ScriptedReply reply;
        const char* answer;
        qint64 withinMs;
    } cases[] = {
        {"OK", ScriptedReply::Text({QStringLiteral("+CSQ: 20,99")}), "\r\n+CSQ: 20,99\r\n\r\nOK\r", 3000},
        {"plain ERROR", ScriptedReply::Error(), "ERROR\r", 3000},
        {"+CME ERROR", ScriptedReply::CmeError(3), "ERROR: 3\r", 3000},
        {"silence", ScriptedReply::Silence(), "Time out", 15000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Sending s;
        s.rig.sim().script(QStringLiteral("AT+CSQ"), c.reply);
        auto query = std::make_shared<parlova::QueryPhone>();
        query->SetUp(QStringLiteral("AT+CSQ"), QStringLiteral("Conf"));
        s.rig.orders->Add(query, 0);
        const qint64 from = s.rig.now();
        ASSERT_TRUE(s.rig.runUntilIdle());
        EXPECT_LT(s.rig.now() - from, c.withinMs);
        ASSERT_EQ(s.talk->log.size(), 1u);
        EXPECT_EQ(s.talk->log[0].kind, 3);
        EXPECT_EQ(s.talk->log[0].text, QStringLiteral("QUERY: AT+CSQ\r\nANSWER: ") + QString::fromUtf8(c.answer) +
                                           QStringLiteral("\r\n\r\n") + kRule);
        EXPECT_EQ(s.rig.window.Pane(1).text, QStringLiteral("Conf. Query Phone...Done"));
        EXPECT_EQ(query->Progress(), 100);
    }
}

TEST(OrdersQueryPhone, AClosedConversationGetsNoEntry)
{
    Sending s;
    auto query = std::make_shared<parlova::QueryPhone>();
    query->SetUp(QStringLiteral("AT"), QStringLiteral("Gone"));
    s.rig.orders->Add(query, 0);
    ASSERT_TRUE(s.rig.runUntilIdle());
    EXPECT_TRUE(s.talk->log.empty());
    EXPECT_EQ(s.rig.window.Pane(1).text, QStringLiteral("Gone. Query Phone...Done"));
}
