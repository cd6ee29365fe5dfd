// One press of Send on the whole road: the SMS through the queue, the gate
// and the simulated phone, the letter through the e-mail gate to a real
// SMTP server on loopback; both outcomes back in the conversation's log.
#include "client/support/ClientRig.h"

#include "client/conversations/Conference.h"
#include "client/conversations/Conversation.h"
#include "client/conversations/ui/ConfereeProcedures.h"
#include "client/orders/EmailConnectProcedures.h"
#include "support/DovecotServer.h"
#include "support/SmtpSink.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <gmime/gmime.h>

using namespace parlova;

namespace {

// The parts of a received letter a person reads, decoded.
struct Received {
    QString to;
    QString subject;
    QString body;

    explicit Received(const QByteArray& data)
    {
        quenby::EnsureGMime();
        GMimeStream* stream = g_mime_stream_mem_new_with_buffer(data.constData(), size_t(data.size()));
        GMimeParser* parser = g_mime_parser_new_with_stream(stream);
        GMimeMessage* message = g_mime_parser_construct_message(parser, nullptr);
        if (message) {
            char* list = internet_address_list_to_string(g_mime_message_get_to(message), nullptr, FALSE);
            to = QString::fromUtf8(list);
            g_free(list);
            subject = QString::fromUtf8(g_mime_message_get_subject(message));
            GMimeObject* part = g_mime_message_get_body(message);
            if (part && GMIME_IS_TEXT_PART(part)) {
                char* text = g_mime_text_part_get_text(GMIME_TEXT_PART(part));
                body = QString::fromUtf8(text);
                g_free(text);
            }
            g_object_unref(message);
        }
        g_object_unref(parser);
        g_object_unref(stream);
    }
};

class SendRoad : public clienttest::PhoneOrderTest {
protected:
    void SetUp() override
    {
        Globals& g = app.globals();
        g.Conferences = conference;
        clienttest::MakeMailSide(*this, folder.path());
        sink = clienttest::AccountSink();
        ASSERT_TRUE(sink->started()) << sink->error().toStdString();
        QString error;
        ASSERT_TRUE(pop3.start(&error)) << error.toStdString();
        settings().SMTPPort(sink->port());
        settings().POP3Port(pop3.port());
        ConfereeProcedures::Install(app.procedures());
    }
    void TearDown() override
    {
        while (conference->TalksCount() > 0)
            conference->Talk(1).Discard();
        qunsetenv(quenby::kServiceEnvVar);
    }
    bool mailIdle()
    {
        Globals& g = app.globals();
        return !g.MailOrders->ActiveOrder() && g.MailOrders->Count() == 0 && !g.MailGate->CurrentCommand() &&
               g.MailGate->InQueueCount() == 0 && g.MailGate->OutQueueCount() == 0;
    }
    // Both queues and gates, until done holds; false after 30 s of real
    // time spent on the servers.
    bool drive(const std::function<bool()>& done)
    {
        QElapsedTimer t;
        t.start();
        while (!done()) {
            if (t.elapsed() > 30000)
                return false;
            round();
            QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
            app.globals().MailGate->CommandTick();
        }
        return true;
    }

    std::shared_ptr<Conference> conference =
        std::make_shared<Conference>([] { return new Conversation(); });
    std::unique_ptr<testsupport::SmtpSink> sink;
    testsupport::DovecotServer pop3;
    QTemporaryDir folder;
};

}  // namespace

TEST_F(SendRoad, TheNumbersGetTheSMSAndTheAddressTheLetter)
{
    ASSERT_TRUE(connect());
    ASSERT_TRUE(app.globals().ConnectedPhone->PDUMode);
    ConnectEmail();
    ASSERT_EQ(boxes.count(), 0u) << boxes.last().prompt.toStdString();
    ASSERT_TRUE(drive([&] { return mailIdle(); })) << "the connection's mailbox read";

    QString theme, warnings;
    ASSERT_EQ(conference->AddTalk(theme, warnings, QString()), QString());
    ASSERT_EQ(conference->SaveFile(theme, folder.filePath(QStringLiteral("Team.plv"))), QString());
    Conversation& team = conference->Talk(QStringLiteral("Team"));
    for (const auto& [address, name] :
         {std::pair{QStringLiteral("+441111"), QStringLiteral("Ann")}, std::pair{QStringLiteral("+442222"), QStringLiteral("Bob")},
          std::pair{QStringLiteral("zoe@example.com"), QString::fromUtf8("Zoë")}})
        ASSERT_EQ(conference->AddConferee(address, name, QStringLiteral("Team")), QString());
    team.OnDraftChanged(QStringLiteral("  Hello team\r\n"));

    ASSERT_TRUE(Procs().SendTalkMessage(QStringLiteral("Team"), false, QString(), QString()));
    EXPECT_EQ(team.Caption(), QStringLiteral("Team (sending 2)"));
    ASSERT_TRUE(drive([&] { return idle() && mailIdle() && team.Sending() == 0; }));
    EXPECT_EQ(boxes.count(), 0u);

    EXPECT_EQ(team.Caption(), QStringLiteral("Team"));
    EXPECT_EQ(commandsOf(QStringLiteral("AT+CMGS=")).size(), 2) << "one part for each number";
    const QString log = team.Log();
    EXPECT_TRUE(log.contains(QStringLiteral("\r\nTO:       Ann <+441111>\r\n"))) << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("\r\nTO:       Bob <+442222>\r\n"))) << log.toStdString();
    EXPECT_TRUE(log.contains(QString::fromUtf8("TO:       Zoë <zoe@example.com>"))) << log.toStdString();
    EXPECT_EQ(log.count(QStringLiteral("TEXT:     Hello team")), 2) << "one entry for each order";

    const QList<testsupport::SmtpSink::Letter> got = sink->letters();
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(got.at(0).rcptTos, QStringList{QStringLiteral("zoe@example.com")});
    const Received letter(got.at(0).data);
    EXPECT_EQ(letter.to, QString::fromUtf8("Zoë <zoe@example.com>"));
    EXPECT_EQ(letter.subject, QStringLiteral("Team"));
    EXPECT_EQ(letter.body.trimmed(), QStringLiteral("Hello team"));
    EXPECT_FALSE(letter.body.startsWith(QLatin1Char(' ')));
}
