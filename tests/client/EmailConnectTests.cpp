// Connecting and disconnecting the e-mail account: the questions about the
// e-mail queue, what each answer leaves in it, and the account taken from
// the settings. Connecting configures the gate only; no server is needed.
#include "EmailOrderRig.h"

#include "client/orders/EmailConnectProcedures.h"
#include "client/orders/SendEmailOrder.h"

#include <QDir>

using namespace parlova;
using ordertest::EmailOrderTest;

namespace {

const QString kCRLF = QStringLiteral("\r\n");

class EmailConnect : public EmailOrderTest {
protected:
    OrderPtr order(const QString& theme)
    {
        auto o = std::make_shared<SendEmailOrder>();
        o->SetUp({To(QStringLiteral("Bob"), QStringLiteral("bob@example.org"))},
                 Letter(QStringLiteral("s"), QStringLiteral("b"), 1), theme);
        return o;
    }
    // T1 active (its letter handed to the gate), T2 and T3 waiting.
    void fillQueue(bool active, int waiting)
    {
        if (active) {
            orders().Add(order(QStringLiteral("T1")), 0);
            ASSERT_EQ(orders().GetCommand(), QString());
        }
        for (int i = 0; i < waiting; ++i)
            orders().Add(order(QStringLiteral("T%1").arg(i + 2)), 0);
    }
    // The queue as "active|waiting,waiting".
    QString queue()
    {
        QStringList waiting;
        for (const OrderPtr& o : orders())
            waiting << o->Owner();
        return (orders().ActiveOrder() ? orders().ActiveOrder()->Owner() : QString()) + u'|' + waiting.join(u',');
    }
};

TEST_F(EmailConnect, TheAccountComesFromTheSettings)
{
    Settings& s = Settings::Instance();
    s.POP3Port(1110);
    s.SMTPPort(2525);
    s.MaxSize(4000);
    ConnectEmail();
    EXPECT_EQ(boxes.count(), 0u);
    ASSERT_TRUE(gate().Ready());
    EXPECT_EQ(gate().PollInterval(), 3);
    EXPECT_EQ(gate().MaxSize(), 4000);
    EXPECT_EQ(QDir(gate().AttachmentsFolder()), QDir(folder.path()));
    // A connection queues a mailbox read at once.
    EXPECT_EQ(gate().InQueueCount(), 1);
}

TEST_F(EmailConnect, TheAnswersDecideWhatStaysInTheQueue)
{
    struct Case {
        bool active;
        int waiting;
        QList<int> answers;
        size_t questions;
        QString queue;  // afterwards
        bool connected;
    };
    using namespace platform;
    const Case cases[] = {
        {false, 0, {}, 0, QStringLiteral("|"), true},
        {true, 2, {vbYes, vbYes}, 2, QStringLiteral("|T1,T2,T3"), true},
        {true, 2, {vbNo, vbNo}, 2, QStringLiteral("|"), true},
        // The queue is emptied before the active order goes back to it.
        {true, 2, {vbYes, vbNo}, 2, QStringLiteral("|T1"), true},
        {true, 2, {vbNo, vbYes}, 2, QStringLiteral("|T2,T3"), true},
        {true, 2, {vbCancel}, 1, QStringLiteral("T1|T2,T3"), false},
        {true, 2, {vbYes, vbCancel}, 2, QStringLiteral("T1|T2,T3"), false},
        {false, 2, {vbNo}, 1, QStringLiteral("|"), true},
        {true, 0, {vbYes}, 1, QStringLiteral("|T1"), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.active << " " << c.waiting << " " << c.queue.toStdString());
        TearDown();
        SetUp();
        boxes.clear();
        fillQueue(c.active, c.waiting);
        for (int a : c.answers)
            boxes.answer(a);
        ConnectEmail();
        EXPECT_EQ(boxes.count(), c.questions);
        EXPECT_EQ(queue(), c.queue);
        EXPECT_EQ(gate().Ready(), c.connected);
        for (const MessageBoxRequest& box : boxes.boxes()) {
            EXPECT_EQ(box.style, vbYesNoCancel | vbQuestion);
            EXPECT_EQ(box.title, QStringLiteral("Parlova"));
        }
    }
}

TEST_F(EmailConnect, TheQuestionsNameTheOrders)
{
    fillQueue(true, 2);
    boxes.answer(platform::vbYes);
    boxes.answer(platform::vbYes);
    ConnectEmail();
    ASSERT_EQ(boxes.count(), 2u);
    EXPECT_EQ(boxes.boxes().at(0).prompt, QStringLiteral("When disconnecting the following order was under processing:") +
                                              kCRLF + kCRLF + QStringLiteral("Send Email from T1") + kCRLF + kCRLF +
                                              QStringLiteral("Do you want to try process this order again?"));
    EXPECT_EQ(boxes.boxes().at(1).prompt,
              QStringLiteral("The following orders stand in the queue for processing by the email server:") + kCRLF +
                  kCRLF + QStringLiteral("Send Email from T2") + kCRLF + QStringLiteral("Send Email from T3") + kCRLF +
                  kCRLF + QStringLiteral("Do you want to leave them in the queue?"));
}

TEST_F(EmailConnect, ConnectingWhileConnectedFirstAsksToCloseTheConnection)
{
    ConnectEmail();
    ASSERT_TRUE(gate().Ready());
    fillQueue(false, 1);

    // Kept: nothing else is asked and nothing reconnects.
    boxes.answer(platform::vbNo);
    ConnectEmail();
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().style, platform::vbYesNo | platform::vbQuestion);
    EXPECT_TRUE(boxes.last().prompt.endsWith(QStringLiteral("Do you want to close the connection with email now?")));
    EXPECT_TRUE(gate().Ready());
    EXPECT_EQ(gate().InQueueCount(), 1);

    // Closed: then the queue is asked about and the account connected again.
    boxes.clear();
    boxes.answer(platform::vbYes);
    boxes.answer(platform::vbYes);
    ConnectEmail();
    EXPECT_EQ(boxes.count(), 2u);
    EXPECT_TRUE(gate().Ready());
    EXPECT_EQ(queue(), QStringLiteral("|T2"));
}

TEST_F(EmailConnect, DisconnectingAsksWhileOrdersWaitAndLeavesTheQueue)
{
    ConnectEmail();
    fillQueue(true, 1);

    boxes.answer(platform::vbNo);
    DisconnectEmail();
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().prompt,
              QStringLiteral("At the moment some orders stand in a queue to process by email:") + kCRLF + kCRLF +
                  QStringLiteral("Send Email from T1 (processing) ") + kCRLF + QStringLiteral("Send Email from T2") +
                  kCRLF + kCRLF + QStringLiteral("If you close the connection these orders stay in the queue.") +
                  kCRLF + QStringLiteral("When you start new connection, you will choose what to do with them.") +
                  kCRLF + QStringLiteral("Do you want to close the connection with email now?"));
    EXPECT_EQ(boxes.last().style, platform::vbYesNo | platform::vbQuestion);
    EXPECT_TRUE(gate().Ready());

    boxes.answer(platform::vbYes);
    DisconnectEmail(QString());
    EXPECT_EQ(boxes.count(), 2u);
    EXPECT_FALSE(gate().Ready());
    EXPECT_EQ(queue(), QStringLiteral("T1|T2"));
}

TEST_F(EmailConnect, DisconnectingAnIdleOrClosedAccount)
{
    ConnectEmail();
    DisconnectEmail();
    EXPECT_EQ(boxes.count(), 0u);
    EXPECT_FALSE(gate().Ready());

    DisconnectEmail();
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().prompt,
              QStringLiteral("Disconnecting Email error: The email server have been already disconnected"));
    EXPECT_EQ(boxes.last().style, platform::vbExclamation);
}

TEST_F(EmailConnect, AFailedConnectionIsShown)
{
    // The local mail store knows no profile of this name.
    qputenv(quenby::kServiceEnvVar, "local");
    parlova::G().MailGate = std::make_shared<quenby::EmailGate>();
    Settings::Instance().UserName(QStringLiteral("no-such-profile-") + QString::number(QCoreApplication::applicationPid()));
    ConnectEmail();
    EXPECT_FALSE(gate().Ready());
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_TRUE(boxes.last().prompt.startsWith(QStringLiteral("Connecting email error: ")));
    EXPECT_GT(boxes.last().prompt.size(), QStringLiteral("Connecting email error: ").size());
    EXPECT_EQ(boxes.last().style, platform::vbExclamation);
}

}  // namespace
