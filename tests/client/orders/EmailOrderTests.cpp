// The send-e-mail order against the real servers on loopback (aiosmtpd and
// Dovecot), connected by the connect procedure, through the e-mail queue and
// the main loop.

#include "client/support/ClientRig.h"
#include "support/DovecotServer.h"
#include "support/SmtpSink.h"

#include "client/orders/EmailConnectProcedures.h"
#include "client/orders/SendEmail.h"
#include "email/SendEmailCommand.h"

#include <QDateTime>

using namespace parlova;
using mailtest::To;

namespace {

const QString kTheme = QStringLiteral("Conference1");

const QString kStamp = QStringLiteral("2026/03/07  09:41");

class EmailOrder : public clienttest::EmailOrderTest {
protected:
    void SetUp() override
    {
        EmailOrderTest::SetUp();
        clock.setNow(QDateTime(QDate(2026, 3, 7), QTime(9, 41)));
        conferences.open(kTheme);
        conferences.conferees[QStringLiteral("bob@example.org")] = QStringLiteral("Bob");
        conferences.conferees[QStringLiteral("carol@example.org")] = QStringLiteral("Carol");
        sink = clienttest::AccountSink();
        ASSERT_TRUE(sink->started()) << sink->error().toStdString();
        QString error;
        ASSERT_TRUE(pop3.start(&error)) << error.toStdString();
        Settings::Instance().SMTPPort(sink->port());
        Settings::Instance().POP3Port(pop3.port());
        ConnectEmail();
        ASSERT_EQ(boxes.count(), 0u) << boxes.last().prompt.toStdString();
        ASSERT_TRUE(gate().Ready());
    }

    // Sends through the queue; the conversation's one log entry.
    QString send(const QList<quenby::MapiRecip>& to, QString* result)
    {
        auto order = std::make_shared<SendEmail>();
        order->SetUp(to, Letter(QStringLiteral("Hello all"), static_cast<qint32>(to.size())), kTheme);
        orders().Add(order, 0);
        EXPECT_TRUE(drive([&] { return order->Finished() && !orders().ActiveOrder(); }));
        *result = order->Result();
        const auto& entries = conferences.open(kTheme).log;
        EXPECT_EQ(entries.size(), 1);
        EXPECT_EQ(entries.at(0).kind, 0);
        return entries.at(0).text;
    }

    std::unique_ptr<testsupport::SmtpSink> sink;
    testsupport::DovecotServer pop3;
    const QList<quenby::MapiRecip> three{To(QStringLiteral("Bob"), QStringLiteral("bob@example.org")),
                                         To(QStringLiteral("Carol"), QStringLiteral("carol@example.org")),
                                         To(QString(), QStringLiteral("dan@example.org"))};
};

TEST_F(EmailOrder, ThreeRecipientsGetOneLetterAndTheLogNamesThemLastFirst)
{
    QString result;
    const QString entry = send(three, &result);
    EXPECT_EQ(result, QString());
    EXPECT_EQ(window.Pane(1).text, kTheme + QStringLiteral(". Send Email...Done"));
    const QList<testsupport::SmtpSink::Letter> got = sink->letters();
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(got.at(0).rcptTos, (QStringList{QStringLiteral("bob@example.org"), QStringLiteral("carol@example.org"),
                                              QStringLiteral("dan@example.org")}));
    EXPECT_EQ(got.at(0).authUser, QStringLiteral("ann"));

    // A recipient who is no conferee has a blank before the "<".
    const QString head = QStringLiteral("TEXT:     Hello all\r\n"
                                        "TO:        <dan@example.org>\r\n"
                                        "TO:       Carol <carol@example.org>\r\n"
                                        "TO:       Bob <bob@example.org>\r\n"
                                        "AT:       ");
    const QString tail = QStringLiteral("\r\n") + QString(30, QLatin1Char('_'));
    EXPECT_EQ(entry, head + kStamp + tail);

    // The short form: the body only once, after the first recipient.
    Settings::Instance().SimplifiedLog(true);
    conferences.open(kTheme).log.clear();
    const QString line = send(three, &result);
    const auto form = [](const QString& t) {
        return QStringLiteral("Bob, %1<<< Hello all\r\nCarol, %1<<<\r\ndan@example.org, %1<<<").arg(t);
    };
    EXPECT_EQ(line, form(kStamp));
    EXPECT_EQ(sink->letters().size(), 2);
}

TEST_F(EmailOrder, ARefusedRecipientFailsTheOrderWithTheServersReason)
{
    QString result;
    const QString entry = send({three.at(0), To(QStringLiteral("X"), QStringLiteral("reject@example.org"))}, &result);
    EXPECT_TRUE(result.startsWith(QStringLiteral("The Send Email operation failed. "))) << result.toStdString();
    EXPECT_TRUE(result.contains(QStringLiteral("550")) || result.contains(QStringLiteral("refused")))
        << result.toStdString();
    EXPECT_EQ(window.Pane(1).text, result);
    // The conversation stops counting the letter as being sent; no line.
    EXPECT_EQ(entry, QString());
    EXPECT_TRUE(sink->letters().isEmpty());
}

TEST_F(EmailOrder, AnOrderTriedAgainAfterReconnectingSendsItsWaitingLetterOnce)
{
    // Pushed behind the connection's read, disconnected before it started.
    auto order = std::make_shared<SendEmail>();
    order->SetUp({three.at(0)}, Letter(QStringLiteral("Once"), 1), kTheme);
    orders().Add(order, 0);
    loop.Tick();
    ASSERT_EQ(gate().InQueueCount(), 2);
    boxes.answer(platform::vbYes);  // close the connection
    boxes.answer(platform::vbYes);  // try the order again
    ConnectEmail();
    ASSERT_EQ(boxes.count(), 2u);
    ASSERT_TRUE(drive([&] {
        return order->Finished() && !orders().ActiveOrder() && !gate().CurrentCommand() && gate().InQueueCount() == 0
               && gate().OutQueueCount() == 0;
    }));
    EXPECT_EQ(order->Result(), QString());
    EXPECT_EQ(sink->letters().size(), 1);
    EXPECT_EQ(boxes.count(), 2u);
}

TEST_F(EmailOrder, ScheduledReadsDeliverTheLettersThroughTheMainLoop)
{
    // The read the connection queued ends on the empty mailbox before any
    // letter goes in; the read that is to fetch them is queued only after
    // they are there, by the poll interval of the settings (3 minutes).
    const auto idle = [&] {
        return !gate().CurrentCommand() && gate().InQueueCount() == 0 && gate().OutQueueCount() == 0;
    };
    ASSERT_TRUE(drive(idle));
    EXPECT_TRUE(conferences.letters.isEmpty());
    pop3.dropLetter("From: \"Ann Lee\" <ann@example.org>\nSubject: Lunch\n\nAt noon?\n");
    pop3.dropLetter("From: Carl <carl@example.org>\nSubject: Later\n\nTea?\n");
    gate().MinuteTick();
    gate().MinuteTick();
    EXPECT_EQ(gate().InQueueCount(), 0);
    gate().MinuteTick();
    ASSERT_EQ(gate().InQueueCount(), 1);
    ASSERT_TRUE(drive([&] { return conferences.letters.size() == 2 && idle(); })) << pop3.log().toStdString();
    EXPECT_EQ(conferences.letters.at(0).Originator.Address, QStringLiteral("ann@example.org"));
    EXPECT_TRUE(conferences.letters.at(0).Message.NoteText.contains(QStringLiteral("At noon?")));
    EXPECT_EQ(conferences.letters.at(1).Message.Subject, QStringLiteral("Later"));
    EXPECT_TRUE(pop3.letters().isEmpty());
}

}  // namespace
