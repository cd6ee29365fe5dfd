// Connecting and disconnecting the e-mail account: the questions about the
// e-mail queue and what each answer leaves in it, and an account without
// its servers. Connecting configures the gate only; no server is needed here.

#include "client/support/ClientRig.h"
#include "client/orders/EmailConnectProcedures.h"
#include "client/orders/SendEmail.h"
#include "email/ReadEmailCommand.h"
#include "email/SendEmailCommand.h"
#include "support/MaildirProfile.h"

using namespace parlova;
using mailtest::To;
using namespace platform;

namespace {

const QString kCRLF = QStringLiteral("\r\n");

class EmailConnect : public clienttest::EmailOrderTest {
protected:
    // T1 active (its letter handed to the gate), T2, T3 ... waiting.
    void fillQueue(bool active, int waiting)
    {
        for (int i = active ? 1 : 2; i <= waiting + 1; ++i) {
            auto o = std::make_shared<SendEmail>();
            o->SetUp({To(QStringLiteral("Bob"), QStringLiteral("bob@example.org"))}, Letter(QStringLiteral("b"), 1),
                     QStringLiteral("T%1").arg(i));
            orders().Add(o, 0);
            if (i == 1)
                orders().GetCommand();
        }
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

TEST_F(EmailConnect, TheAnswersDecideWhatStaysInTheQueue)
{
    struct Case {
        bool active;
        int waiting;
        QList<int> answers;
        QString queue;  // afterwards
        bool connected;
    };
    const Case cases[] = {
        {false, 0, {}, QStringLiteral("|"), true},
        {true, 2, {vbYes, vbYes}, QStringLiteral("|T1,T2,T3"), true},
        // The queue is emptied before the active order goes back to it.
        {true, 2, {vbYes, vbNo}, QStringLiteral("|T1"), true},
        {true, 2, {vbNo, vbYes}, QStringLiteral("|T2,T3"), true},
        {true, 2, {vbYes, vbCancel}, QStringLiteral("T1|T2,T3"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.queue.toStdString());
        TearDown();
        SetUp();
        boxes.clear();
        fillQueue(c.active, c.waiting);
        for (int a : c.answers)
            boxes.answer(a);
        ConnectEmail();
        EXPECT_EQ(boxes.count(), static_cast<size_t>(c.answers.size()));
        EXPECT_EQ(queue(), c.queue);
        EXPECT_EQ(gate().Ready(), c.connected);
        for (const MessageBoxRequest& box : boxes.boxes())
            EXPECT_EQ(box.style, vbYesNoCancel | vbQuestion);
    }
    EXPECT_EQ(boxes.boxes().at(0).prompt, QStringLiteral("When disconnecting the following order was under processing:") +
                                              kCRLF + kCRLF + QStringLiteral("Send Email from T1") + kCRLF + kCRLF +
                                              QStringLiteral("Do you want to try process this order again?"));
    EXPECT_EQ(boxes.boxes().at(1).prompt,
              QStringLiteral("The following orders stand in the queue for processing by the email server:") + kCRLF +
                  kCRLF + QStringLiteral("Send Email from T2") + kCRLF + QStringLiteral("Send Email from T3") + kCRLF +
                  kCRLF + QStringLiteral("Do you want to leave them in the queue?"));
}

TEST_F(EmailConnect, AnUnsetServerIsSaidSoAndNeverLookedUp)
{
    const QString noServer = QStringLiteral("No e-mail server is set (Tools, Options)");
    const QString host = QStringLiteral("127.0.0.1");
    struct Case {
        QString pop3;
        QString smtp;
        bool ready;
    };
    const Case cases[] = {
        {QString(), QString(), false},
        {QStringLiteral("  "), QString(), false},
        {QString(), host, true},
        {host, QString(), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.pop3 + u'|' + c.smtp).toStdString());
        TearDown();
        SetUp();
        boxes.clear();
        settings().POP3Address(c.pop3), settings().SMTPAddress(c.smtp);
        ConnectEmail();
        EXPECT_EQ(gate().Ready(), c.ready);
        if (!c.ready) {
            ASSERT_EQ(boxes.count(), 1u);
            EXPECT_EQ(boxes.last().prompt, QStringLiteral("Connecting email error: ") + noServer);
            EXPECT_EQ(boxes.last().style, vbExclamation);
            // No read waits to be retried.
            EXPECT_EQ(gate().InQueueCount(), 0);
            continue;
        }
        EXPECT_EQ(boxes.count(), 0u);
        // The direction without a server fails at once.
        std::shared_ptr<quenby::EmailCommand> command;
        if (c.pop3.isEmpty()) {
            auto read = std::make_shared<quenby::ReadEmailCommand>();
            read->SetUp(0, folder.path(), 0);
            command = read;
        } else {
            auto send = std::make_shared<quenby::SendEmailCommand>();
            send->SetUp({To(QStringLiteral("Bob"), QStringLiteral("bob@example.org"))}, Letter(QStringLiteral("b"), 1),
                        -1);
            command = send;
        }
        command->Execute();
        EXPECT_EQ(command->Result(), quenby::ERROR_RESULT);
        EXPECT_EQ(command->Error(), noServer);
        // Told once at Connect; the minutes bring no read without a server.
        const int queued = gate().InQueueCount();
        for (int minute = 0; minute <= gate().PollInterval() + 1; ++minute)
            gate().MinuteTick();
        EXPECT_EQ(gate().InQueueCount(), queued + (c.pop3.isEmpty() ? 0 : 1));
    }

    // The local mail store has no servers to set.
    testsupport::MaildirProfile profile(settings().UserName());
    qputenv(quenby::kServiceEnvVar, "local");
    app.globals().MailGate = std::make_shared<quenby::EmailGate>();
    settings().POP3Address(QString()), settings().SMTPAddress(QString());
    boxes.clear();
    ConnectEmail();
    EXPECT_EQ(boxes.count(), 0u);
    EXPECT_TRUE(gate().Ready());
}

TEST_F(EmailConnect, DisconnectingAsksWhileOrdersWaitAndLeavesTheQueue)
{
    ConnectEmail();
    fillQueue(true, 1);
    boxes.answer(vbNo);
    DisconnectEmail();
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().prompt,
              QStringLiteral("At the moment some orders stand in a queue to process by email:") + kCRLF + kCRLF +
                  QStringLiteral("Send Email from T1 (processing) ") + kCRLF + QStringLiteral("Send Email from T2") +
                  kCRLF + kCRLF + QStringLiteral("If you close the connection these orders stay in the queue.") +
                  kCRLF + QStringLiteral("When you start new connection, you will choose what to do with them.") +
                  kCRLF + QStringLiteral("Do you want to close the connection with email now?"));
    EXPECT_EQ(boxes.last().style, vbYesNo | vbQuestion);
    EXPECT_TRUE(gate().Ready());

    boxes.answer(vbYes);
    DisconnectEmail();
    EXPECT_FALSE(gate().Ready());
    EXPECT_EQ(queue(), QStringLiteral("T1|T2"));

    DisconnectEmail();
    ASSERT_EQ(boxes.count(), 3u);
    EXPECT_EQ(boxes.last().prompt,
              QStringLiteral("Disconnecting Email error: The email server have been already disconnected"));
}

}  // namespace
