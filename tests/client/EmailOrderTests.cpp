// The send-e-mail order against the real servers on loopback (aiosmtpd and
// Dovecot), through the e-mail queue and the main loop; and its log entries
// and failure texts for results the servers do not give.
#include "EmailOrderRig.h"

#include "support/DovecotServer.h"
#include "support/SmtpSink.h"

#include "client/orders/EmailConnectProcedures.h"
#include "client/orders/SendEmailOrder.h"
#include "email/SendEmailCommand.h"

#include <QDateTime>

using namespace parlova;
using ordertest::EmailOrderTest;

namespace {

const QString kTheme = QStringLiteral("Conference1");

// The stamps a log entry written between the two calls may carry.
struct Stamps {
    QString before;
    QString after;
    bool holds(const QString& text, const std::function<QString(const QString&)>& entry) const
    {
        return text == entry(before) || text == entry(after);
    }
};
QString Now() { return QDateTime::currentDateTime().toString(Settings::Instance().DateTimeFormat()); }

class EmailOrder : public EmailOrderTest {
protected:
    void SetUp() override
    {
        EmailOrderTest::SetUp();
        conferences.talks[kTheme];
        conferences.conferees[QStringLiteral("bob@example.org")] = QStringLiteral("Bob");
        conferences.conferees[QStringLiteral("carol@example.org")] = QStringLiteral("Carol");
    }

    // Both servers up and the account connected through the procedure.
    void startServers(testsupport::SmtpSink& sink, testsupport::DovecotServer& pop3)
    {
        ASSERT_TRUE(sink.started()) << sink.error().toStdString();
        QString error;
        ASSERT_TRUE(pop3.start(&error)) << error.toStdString();
        Settings::Instance().SMTPPort(sink.port());
        Settings::Instance().POP3Port(pop3.port());
        ConnectEmail();
        ASSERT_EQ(boxes.count(), 0u) << boxes.last().prompt.toStdString();
        ASSERT_TRUE(gate().Ready());
    }

    static testsupport::SmtpSink::Options Account()
    {
        testsupport::SmtpSink::Options o;
        o.auth = testsupport::SmtpSink::Auth::Basic;
        o.user = QStringLiteral("ann");
        o.password = QStringLiteral("s3cret");
        return o;
    }

    std::shared_ptr<SendEmailOrder> order(const QList<quenby::MapiRecip>& to, const QString& body = QStringLiteral("Hello all"))
    {
        auto o = std::make_shared<SendEmailOrder>();
        o->SetUp(to, Letter(QStringLiteral("Greetings"), body, static_cast<qint32>(to.size())), kTheme);
        return o;
    }
    bool run(const std::shared_ptr<SendEmailOrder>& o)
    {
        orders().Add(o, 0);
        return drive([&] { return o->Finished() && !orders().ActiveOrder() && orders().Count() == 0; });
    }

    // A finished command as the gate hands it back, with the given result.
    static std::shared_ptr<quenby::SendEmailCommand> Finished(const QList<quenby::MapiRecip>& to,
                                                             quenby::EMC_RESULT_CODEs result)
    {
        auto c = std::make_shared<quenby::SendEmailCommand>();
        c->SetUp(to, Letter(QStringLiteral("s"), QStringLiteral("Hello all"), static_cast<qint32>(to.size())), -1);
        c->SetResult(result);
        return c;
    }
    const QList<quenby::MapiRecip> three{To(QStringLiteral("Bob"), QStringLiteral("bob@example.org")),
                                         To(QStringLiteral("Carol"), QStringLiteral("carol@example.org")),
                                         To(QString(), QStringLiteral("dan@example.org"))};
};

TEST_F(EmailOrder, ThreeRecipientsGetOneLetterAndTheLogShowsThemLastFirst)
{
    testsupport::SmtpSink sink(Account());
    testsupport::DovecotServer pop3;
    startServers(sink, pop3);

    auto send = order(three);
    Stamps stamps{Now(), QString()};
    ASSERT_TRUE(run(send));
    stamps.after = Now();
    EXPECT_EQ(send->Result(), QString());
    EXPECT_EQ(send->Progress(), 100);

    const QList<testsupport::SmtpSink::Letter> got = sink.letters();
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(got.at(0).rcptTos, (QStringList{QStringLiteral("bob@example.org"), QStringLiteral("carol@example.org"),
                                              QStringLiteral("dan@example.org")}));
    EXPECT_EQ(got.at(0).authUser, QStringLiteral("ann"));
    EXPECT_TRUE(got.at(0).data.contains("Subject: Greetings"));

    const auto& entries = conferences.talks[kTheme].entries;
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries.at(0).first, 0);
    const auto entry = [](const QString& stamp) {
        return QStringLiteral("TEXT:     Hello all\r\n"
                              "TO:        <dan@example.org>\r\n"
                              "TO:       Carol <carol@example.org>\r\n"
                              "TO:       Bob <bob@example.org>\r\n"
                              "AT:       ") +
               stamp + QStringLiteral("\r\n") + QString(30, QLatin1Char('_'));
    };
    EXPECT_TRUE(stamps.holds(entries.at(0).second, entry)) << entries.at(0).second.toStdString();
    EXPECT_EQ(panes.Pane(1).text, kTheme + QStringLiteral(". Send Email...Done"));
}

TEST_F(EmailOrder, ARefusedRecipientFailsTheOrderWithTheServersReason)
{
    testsupport::SmtpSink sink(Account());
    testsupport::DovecotServer pop3;
    startServers(sink, pop3);

    auto send = order({To(QStringLiteral("Bob"), QStringLiteral("bob@example.org")),
                       To(QStringLiteral("X"), QStringLiteral("reject@example.org"))});
    ASSERT_TRUE(run(send));
    const QString prefix = QStringLiteral("The Send Email operation failed. ");
    EXPECT_TRUE(send->Result().startsWith(prefix)) << send->Result().toStdString();
    EXPECT_TRUE(send->Result().contains(QStringLiteral("550")) || send->Result().contains(QStringLiteral("refused")))
        << send->Result().toStdString();
    EXPECT_EQ(panes.Pane(1).text, send->Result());
    // The conversation stops counting the letter as being sent; no line.
    const auto& entries = conferences.talks[kTheme].entries;
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries.at(0), (QPair<qint32, QString>{0, QString()}));
    EXPECT_TRUE(sink.letters().isEmpty());
}

TEST_F(EmailOrder, AScheduledReadDeliversTheLettersThroughTheMainLoop)
{
    testsupport::SmtpSink sink(Account());
    testsupport::DovecotServer pop3;
    startServers(sink, pop3);
    // The connection queued a read at once; it runs on the next ticks.
    pop3.dropLetter("From: \"Ann Lee\" <ann@example.org>\n"
                    "To: bob@example.org\n"
                    "Subject: Lunch\n"
                    "\n"
                    "At noon?\n");

    ASSERT_TRUE(drive([&] { return !conferences.letters.isEmpty() && gate().CurrentCommand() == nullptr; }))
        << panes.Pane(1).text.toStdString() << " " << pop3.log().toStdString();
    ASSERT_EQ(conferences.letters.size(), 1);
    EXPECT_EQ(conferences.letters.at(0).Originator.Address, QStringLiteral("ann@example.org"));
    EXPECT_EQ(conferences.letters.at(0).Message.Subject, QStringLiteral("Lunch"));
    EXPECT_TRUE(conferences.letters.at(0).Message.NoteText.contains(QStringLiteral("At noon?")));
    EXPECT_TRUE(pop3.letters().isEmpty());

    // The next read waits for the poll interval of the settings (3 minutes).
    pop3.dropLetter("From: Carl <carl@example.org>\n"
                    "Subject: Later\n"
                    "\n"
                    "Tea?\n");
    gate().MinuteTick();
    gate().MinuteTick();
    EXPECT_EQ(gate().InQueueCount(), 0);
    EXPECT_EQ(gate().CurrentCommand(), nullptr);
    gate().MinuteTick();
    ASSERT_TRUE(drive([&] { return conferences.letters.size() == 2 && gate().CurrentCommand() == nullptr; }));
    EXPECT_EQ(conferences.letters.at(1).Message.Subject, QStringLiteral("Later"));
}

TEST_F(EmailOrder, TheShortFormNamesEachRecipientAndCarriesTheBodyOnce)
{
    Settings::Instance().SimplifiedLog(true);
    SendEmailOrder send;
    send.SetOwner(kTheme);
    Stamps stamps{Now(), QString()};
    ASSERT_EQ(send.PutReport(Reply(std::static_pointer_cast<quenby::EmailCommand>(Finished(
                  {To(QStringLiteral("Bob"), QStringLiteral("SMTP:bob@example.org")), three.at(1), three.at(2)},
                  quenby::OK_RESULT)))),
              QString());
    stamps.after = Now();
    const auto entry = [](const QString& stamp) {
        return QStringLiteral("Bob, ") + stamp + QStringLiteral("<<< Hello all\r\nCarol, ") + stamp +
               QStringLiteral("<<<\r\ndan@example.org, ") + stamp + QStringLiteral("<<<");
    };
    const auto& entries = conferences.talks[kTheme].entries;
    ASSERT_EQ(entries.size(), 1);
    EXPECT_TRUE(stamps.holds(entries.at(0).second, entry)) << entries.at(0).second.toStdString();
    EXPECT_EQ(send.Result(), QString());
    EXPECT_TRUE(send.Finished());
}

TEST_F(EmailOrder, TheMailboxIsWhatFollowsTheFirstColon)
{
    EXPECT_EQ(RecipientMailbox(QStringLiteral("SMTP:bob@example.org")), QStringLiteral("bob@example.org"));
    EXPECT_EQ(RecipientMailbox(QStringLiteral("bob@example.org")), QStringLiteral("bob@example.org"));
    EXPECT_EQ(RecipientMailbox(QStringLiteral("EX:a:b@c")), QStringLiteral("a:b@c"));

    // In the long form the prefixed address finds its conferee.
    SendEmailOrder send;
    send.SetOwner(kTheme);
    send.PutReport(Reply(std::static_pointer_cast<quenby::EmailCommand>(
        Finished({To(QStringLiteral("Bob"), QStringLiteral("SMTP:bob@example.org"))}, quenby::OK_RESULT))));
    ASSERT_EQ(conferences.talks[kTheme].entries.size(), 1);
    EXPECT_TRUE(conferences.talks[kTheme].entries.at(0).second.contains(
        QStringLiteral("\r\nTO:       Bob <bob@example.org>\r\n")));
}

TEST_F(EmailOrder, FailureTextsByResultCode)
{
    struct Case {
        quenby::EMC_RESULT_CODEs result;
        QString reason;
    };
    const Case cases[] = {
        {quenby::NOT_EXECUTED_RESULT, QStringLiteral(". Not executed")},
        {quenby::TIME_OUT_RESULT, QStringLiteral(". Time out")},
        {quenby::IN_PROCESS, QStringLiteral(". Unknown result")},
        {quenby::ABORTED_BY_USER_RESULT, QStringLiteral(". Unknown result")},
    };
    for (const Case& c : cases) {
        conferences.talks[kTheme].entries.clear();
        SendEmailOrder send;
        send.SetOwner(kTheme);
        EXPECT_EQ(send.PutReport(Reply(std::static_pointer_cast<quenby::EmailCommand>(Finished(three, c.result)))),
                  QString());
        EXPECT_EQ(send.Result(), QStringLiteral("The Send Email operation failed") + c.reason);
        EXPECT_EQ(send.Progress(), 100);
        EXPECT_TRUE(send.Finished());
        EXPECT_EQ(conferences.talks[kTheme].entries, (QList<QPair<qint32, QString>>{{0, QString()}}));
    }
}

TEST_F(EmailOrder, AConversationClosedMeanwhileFailsTheHandlingButFinishesTheOrder)
{
    SendEmailOrder send;
    send.SetOwner(QStringLiteral("Gone"));
    const QString text =
        send.PutReport(Reply(std::static_pointer_cast<quenby::EmailCommand>(Finished(three, quenby::OK_RESULT))));
    EXPECT_EQ(text, QStringLiteral("Object variable or With block variable not set (91)"));
    EXPECT_TRUE(send.Finished());
    EXPECT_EQ(send.Progress(), 0);
    EXPECT_EQ(send.Result(), QString());
}

}  // namespace
