// Arrivals through the real gate from the simulated phone, and letters
// through the real e-mail gate from Dovecot, reaching conversations of the
// real registry.
#include "client/support/ConversationRig.h"

#include "client/orders/EmailConnectProcedures.h"
#include "client/orders/SendSMS.h"
#include "hub/SmsTestPdus.h"
#include "support/DovecotServer.h"
#include "tools/phonesim/MessageMemory.h"

#include <gtest/gtest.h>

using clienttest::ClientRig;
using parlova::Conference;
using parlova::Conversation;

namespace {

const QString kRule = QString(30, QLatin1Char('_'));

// The registry on the rig's application object; what it opened goes
// with the test.
struct RealRegistry {
    explicit RealRegistry(parlova::Application& app)
        : conference(std::make_shared<Conference>([] { return new Conversation(); }))
    {
        app.globals().Conferences = conference;
    }
    ~RealRegistry()
    {
        while (conference->TalksCount() > 0)
            conference->Talk(1).Discard();
    }
    std::shared_ptr<Conference> conference;
};

}  // namespace

TEST(Arrivals, MessagesAndReportsFromThePhoneFillTheSendersConversation)
{
    ClientRig rig(7);
    RealRegistry registry(rig.app);
    Conference& c = *registry.conference;
    ASSERT_TRUE(rig.connect());
    phonesim::MessageMemory& memory = rig.sim().state().get<phonesim::MessageMemory>();
    const QDateTime now(QDate(2024, 5, 17), QTime(14, 2));
    const auto arrive = [&](const QString& storage, int index, const QString& pdu, const QString& line) {
        rig.phone.clock().setNow(now);
        memory.storeAt(storage, index, pdu);
        const qint32 before = c.Unread();
        rig.sim().inject(line);
        return rig.runUntil([&] { return c.Unread() > before; }, 30000);
    };

    ASSERT_TRUE(arrive(QStringLiteral("SM"), 3, smstest::Deliver8(QString(), QStringLiteral("Hi there")),
                       QStringLiteral("+CMTI: \"SM\",3")));
    ASSERT_EQ(c.TalksCount(), 1);
    Conversation& t = c.Talk(QStringLiteral("Conference1"));
    EXPECT_EQ(t.AllConferees(), QStringList{QStringLiteral("Noname <+15551234567>")});
    EXPECT_EQ(t.Log(), QStringLiteral("\r\nTEXT:     Hi there\r\nAT:     2024/05/17  14:02\r\n"
                                      "FROM:     Noname <+15551234567>\r\n") +
                           kRule);

    ASSERT_TRUE(arrive(QStringLiteral("SM"), 4, smstest::Deliver8(QString(), QStringLiteral("Again")),
                       QStringLiteral("+CMTI: \"SM\",4")));
    ASSERT_TRUE(arrive(QStringLiteral("SR"), 5, smstest::StatusReport(42), QStringLiteral("+CDSI: \"SR\",5")));
    rig.settings().SimplifiedLog(true);
    ASSERT_TRUE(arrive(QStringLiteral("SM"), 6, smstest::Deliver8(QString(), QStringLiteral("Short")),
                       QStringLiteral("+CMTI: \"SM\",6")));
    ASSERT_TRUE(arrive(QStringLiteral("SR"), 7, smstest::StatusReport(43), QStringLiteral("+CDSI: \"SR\",7")));
    EXPECT_EQ(c.TalksCount(), 1);
    EXPECT_EQ(t.Caption(), QStringLiteral("Conference1 (unread 5)"));
    EXPECT_TRUE(t.Log().endsWith(
        QStringLiteral("\r\nTEXT:     Again\r\nAT:     2024/05/17  14:02\r\nFROM:     Noname <+15551234567>\r\n") +
        kRule +
        QStringLiteral("\r\nTO:     Noname <+15551234567>\r\nMR:     42\r\nSTATUS TIME:     2024/03/15  13:55\r\n"
                       "STATUS REPORT:     Delivered\r\n") +
        kRule +
        QStringLiteral("\r\nNoname, 2024/05/17  14:02>>> Short\r\nNoname, 2024/05/17  14:02, #43<<< Report: "
                       "Delivered, at 2024/03/15  13:55")))
        << t.Log().toStdString();
    EXPECT_TRUE(rig.window.alerts.isEmpty());
}

TEST(Arrivals, ANewSendersNameComesFromTheReadPhoneBook)
{
    clienttest::ConversationRig rig;
    auto books = std::make_shared<corvane::BookRecords>();
    rig.client.app.globals().PhoneBooks = books;
    books->ResolveBookLocations(QStringLiteral("+CPBS: (\"SM\")\r\nOK\r"));
    ASSERT_EQ(books->Add(1, 0, QStringLiteral("Ann Phone"), QStringLiteral("+4470")), QString());
    parlova::Conference& c = *rig.conference;
    c.PutMessage(QStringLiteral("+4470"), QStringLiteral("x"), false, 0, parlova::ZeroDate());
    EXPECT_EQ(c.Talk(1).AllConferees(), QStringList{QStringLiteral("Noname <+4470>")});  // not read yet
    books->setFilled(true);
    c.PutMessage(QStringLiteral("4470"), QStringLiteral("x"), false, 0, parlova::ZeroDate());
    EXPECT_EQ(c.Talk(2).AllConferees(), QStringList{QStringLiteral("Noname <4470>")});  // exact numbers only
    c.RemoveConferee(QStringLiteral("Noname <+4470>"), QStringLiteral("Conference1"));
    c.PutMessage(QStringLiteral("+4470"), QStringLiteral("x"), false, 0, parlova::ZeroDate());
    EXPECT_EQ(c.Talk(3).AllConferees(), QStringList{QStringLiteral("Ann Phone <+4470>")});
}

namespace {

class MailArrivals : public clienttest::EmailOrderTest {};

}  // namespace

TEST_F(MailArrivals, LettersFromOneAddressInAnyCaseShareAConversation)
{
    RealRegistry registry(app);
    Conference& c = *registry.conference;
    clock.setNow(QDateTime(QDate(2024, 5, 17), QTime(14, 2)));
    testsupport::DovecotServer pop3;
    QString error;
    ASSERT_TRUE(pop3.start(&error)) << error.toStdString();
    settings().POP3Port(pop3.port());
    settings().MaxSize(2000);
    pop3.dropLetter("From: Ann <Ann@Example.org>\nSubject: One\n\nFirst\n");
    const QByteArray attached = "MIME-Version: 1.0\nContent-Type: multipart/mixed; boundary=\"b\"\n\n"
                                "--b\nContent-Type: text/plain\n\nSecond\n"
                                "--b\nContent-Type: text/plain; name=\"note.txt\"\n"
                                "Content-Disposition: attachment; filename=\"note.txt\"\n\nhello\n--b--\n";
    pop3.dropLetter("From: ann@example.org\nSubject: Two\n" + attached);
    // Over the size limit: only its head is read, and no attachment line.
    pop3.dropLetter("From: ANN@example.org\nSubject: Three\n" +
                    QByteArray(attached).replace("hello", QByteArray(3000, 'x')));
    parlova::ConnectEmail();
    ASSERT_TRUE(gate().Ready());
    ASSERT_TRUE(drive([&] { return c.Unread() == 3 && !gate().CurrentCommand(); }));

    ASSERT_EQ(c.TalksCount(), 1);
    const Conversation& t = c.Talk(1);
    EXPECT_EQ(t.AllConferees(), QStringList{QStringLiteral("Ann <Ann@Example.org>")});
    EXPECT_TRUE(t.Log().startsWith(QStringLiteral("\r\nTEXT:     First\r\nFROM:     Ann <Ann@Example.org>\r\n"
                                                  "AT:     2024/05/17  14:02\r\n") +
                                   kRule))
        << t.Log().toStdString();
    const QStringList attachments = t.Log().split(QStringLiteral("\r\n")).filter(QStringLiteral("ATTACHMENT: "));
    ASSERT_EQ(attachments.size(), 1) << t.Log().toStdString();
    EXPECT_TRUE(QFile::exists(attachments[0].mid(12)));
}

TEST(Arrivals, AnOutcomeFollowsAConversationSavedUnderANewName)
{
    ClientRig rig(7);
    RealRegistry registry(rig.app);
    Conference& c = *registry.conference;
    QTemporaryDir dir;
    ASSERT_TRUE(rig.connect());
    QString theme, warnings;
    ASSERT_EQ(c.AddTalk(theme, warnings, QString()), QString());
    Conversation& t = c.Talk(theme);
    c.AddConferee(QStringLiteral("+4479000001"), QStringLiteral("Bob"), theme);
    auto send = std::make_shared<parlova::SendSMS>();
    send->SetUp(QStringLiteral("Hi"), 0, {QStringLiteral("+4479000001")}, 4, QVariant(), 0, QString(), theme);
    rig.orders->Add(send, 0);
    t.UpdateCaption(1, 0);
    ASSERT_TRUE(rig.runUntil([&] { return rig.orders->IsWaitingReply(); }));

    ASSERT_EQ(c.SaveFile(theme, dir.filePath(QStringLiteral("Team.plv"))), QString());
    ASSERT_TRUE(rig.runUntilIdle());
    EXPECT_EQ(t.Caption(), QStringLiteral("Team"));
    EXPECT_EQ(t.Sending(), 0);
    EXPECT_TRUE(t.Log().contains(QStringLiteral("TO:       Bob <+4479000001>"))) << t.Log().toStdString();
    EXPECT_TRUE(rig.window.alerts.isEmpty()) << rig.window.alerts.join(QLatin1Char('|')).toStdString();
}
