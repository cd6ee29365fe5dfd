// Sending from a conversation: the orders one press of Send queues, the
// checks that refuse it and the coding question.
#include "client/support/ConversationRig.h"

#include "client/conversations/ui/ConfereeProcedures.h"
#include "client/orders/SendEmail.h"
#include "client/orders/SendSMS.h"
#include "email/ServerInfo.h"
#include "hub/engine/BagKeys.h"

#include <QApplication>

#include <gtest/gtest.h>

using namespace parlova;
using clienttest::ConversationRig;

namespace {

const QString kAnn = QStringLiteral("+441111");
const QString kBob = QStringLiteral("+442222");
const QString kZoe = QStringLiteral("zoe@example.com");
const QString kPrivet = QString::fromUtf8("Привет");

// The real registry with conversations as models, both queues, an e-mail
// gate that is ready (its servers are never contacted) and a phone in PDU
// mode; Send goes through the procedure table.
struct SendRig {
    SendRig()
    {
        Globals& g = rig.client.app.globals();
        g.PhoneOrders = phoneOrders;
        g.MailOrders = mailOrders;
        qunsetenv(quenby::kServiceEnvVar);
        g.MailGate = std::make_shared<quenby::EmailGate>();
        quenby::ServerInfo server;
        server.ServerAddress = QStringLiteral("127.0.0.1");
        server.ServerPort = 1;
        EXPECT_EQ(g.MailGate->Connect(QStringLiteral("Ann"), QStringLiteral("ann@example.org"), server, server),
                  QString());
        g.ConnectedPhone->PDUMode = true;
        rig.settings().SCNumberFromPhone(true);
        ConfereeProcedures::Install(rig.client.app.procedures());
    }

    // Team: Ann, Bob and Zoë, autosaved, with a text in the box.
    Conversation& team(const QString& text = QStringLiteral("Hello team"))
    {
        Conversation& t = rig.autosaved();
        EXPECT_EQ(t.Theme(), QStringLiteral("Team"));
        for (const auto& [address, name] : {std::pair{kAnn, QStringLiteral("Ann")}, std::pair{kBob, QStringLiteral("Bob")},
                                            std::pair{kZoe, QString::fromUtf8("Zoë")}})
            EXPECT_EQ(rig.conference->AddConferee(address, name, t.Theme()), QString());
        t.OnDraftChanged(text);
        return t;
    }
    bool send(bool selectedOnly = false, const QString& one = QString(), const QString& text = QString())
    {
        return Procs().SendTalkMessage(QStringLiteral("Team"), selectedOnly, one, text);
    }
    std::shared_ptr<SendSMS> sms(qsizetype at = 1) const
    {
        return phoneOrders->Count() >= at ? std::dynamic_pointer_cast<SendSMS>(phoneOrders->Item(at)) : nullptr;
    }
    QVariant bag(const QLatin1StringView key, qsizetype at = 1) const
    {
        const auto order = sms(at);
        return order && order->HeldCommand() ? order->HeldCommand()->Bag(QString(key)) : QVariant();
    }
    qsizetype queued() const { return phoneOrders->Count() + mailOrders->Count(); }

    ConversationRig rig;
    std::shared_ptr<Orders> phoneOrders = std::make_shared<Orders>();
    std::shared_ptr<Orders> mailOrders = std::make_shared<Orders>();
};

class Send : public ::testing::Test, public SendRig {};

}  // namespace

TEST_F(Send, OnePressQueuesOneSMSForAllNumbersAndOneLetter)
{
    // Something already waits: the new order goes behind it.
    phoneOrders->Add(std::make_shared<SendSMS>(), 0);
    Conversation& t = team();
    t.OnReportClick(1);
    EXPECT_TRUE(send());

    ASSERT_EQ(phoneOrders->Count(), 2);
    ASSERT_TRUE(sms(2));
    EXPECT_EQ(sms(2)->Owner(), QStringLiteral("Team"));
    EXPECT_EQ(bag(corvane::bag::Addresses, 2).toStringList(), (QStringList{kAnn, kBob}));
    EXPECT_EQ(bag(corvane::bag::MessageBody, 2).toString(), QStringLiteral("Hello team"));
    EXPECT_EQ(bag(corvane::bag::MessageCoding, 2).toInt(), 0) << "Auto with a GSM text";
    EXPECT_EQ(bag(corvane::bag::MessageClass, 2).toInt(), t.Class());
    EXPECT_EQ(bag(corvane::bag::StatusReport, 2).toInt(), 1);
    EXPECT_EQ(bag(corvane::bag::SCNumber, 2).toString(), QString());
    ASSERT_EQ(mailOrders->Count(), 1);
    EXPECT_TRUE(std::dynamic_pointer_cast<SendEmail>(mailOrders->Item(1)));
    EXPECT_EQ(mailOrders->Item(1)->Owner(), QStringLiteral("Team"));
    EXPECT_EQ(t.Caption(), QStringLiteral("Team (sending 2)"));
    EXPECT_EQ(t.DraftText(), QStringLiteral("Hello team")) << "the message stays in the box";
    EXPECT_EQ(rig.client.boxes.count(), 0u);

    // The service centre of the settings; no report; selected only and one
    // address each give one order of their kind.
    rig.settings().SCNumberFromPhone(false);
    rig.settings().SCNumber(QStringLiteral("+447000"));
    t.OnReportClick(0);
    t.OnListClick({false, true, false}, 1);
    EXPECT_TRUE(send(true));
    EXPECT_EQ(bag(corvane::bag::SCNumber, 3).toString(), QStringLiteral("+447000"));
    EXPECT_EQ(bag(corvane::bag::StatusReport, 3).toInt(), 0);
    EXPECT_EQ(bag(corvane::bag::Addresses, 3).toStringList(), QStringList{kBob});
    EXPECT_TRUE(send(false, kZoe, QStringLiteral("Only you")));
    EXPECT_EQ(phoneOrders->Count(), 3);
    EXPECT_EQ(mailOrders->Count(), 2);
    EXPECT_EQ(t.Caption(), QStringLiteral("Team (sending 4)"));
}

TEST_F(Send, ValidityFollowsTheChosenOption)
{
    Conversation& t = team();
    t.SetSliderValue(170);
    const QDateTime picked(QDate(2026, 12, 24), QTime(18, 30));
    t.SetPickerValue(picked);
    struct Case {
        qint32 validity;  // Option1, Option7, Option8
        QVariant expected;
    };
    const Case cases[] = {{2, QVariant(170.0)}, {3, QVariant(picked)}, {0, QVariant()}};
    qsizetype at = 0;
    for (const Case& c : cases) {
        t.OnValidityClick(c.validity);
        ASSERT_TRUE(send(false, kAnn));
        const QVariant v = bag(corvane::bag::ValidityPeriod, ++at);
        EXPECT_EQ(v, c.expected) << c.validity;
        EXPECT_EQ(v.typeId(), c.expected.typeId()) << c.validity;
    }
}

TEST(SendRefusals, EachComesInItsOrderAndQueuesNothing)
{
    struct Case {
        const char* what;
        std::function<void(Conversation&)> prepare;
        bool selectedOnly;
        QString expected;
    };
    const QString nobody = QStringLiteral("There is nobody to send to. Please add a conferee");
    const auto noMail = [](Conversation&) { G().MailGate->Disconnect(); };
    const auto noPdu = [](Conversation&) { G().ConnectedPhone->PDUMode = false; };
    const Case cases[] = {
        {"selected only, none selected", [](Conversation& t) { t.OnDraftChanged(QString()); }, true, nobody},
        {"nobody at all, empty box",
         [](Conversation& t) {
             for (const QString& a : {kAnn, kBob, kZoe})
                 Conferences().RemoveConferee(t.GetConfName(a), t.Theme());
             t.OnDraftChanged(QString());
         },
         false, nobody},
        {"a number first, neither service", [&](Conversation& t) { noMail(t), noPdu(t); }, false,
         QStringLiteral("Can not send. SMS service is not available")},
        {"the address first, neither service",
         [&](Conversation& t) {
             for (const auto& [a, n] : {std::pair{kAnn, QStringLiteral("Ann")}, std::pair{kBob, QStringLiteral("Bob")}}) {
                 Conferences().RemoveConferee(t.GetConfName(a), t.Theme());
                 Conferences().AddConferee(a, n, t.Theme());
             }
             noMail(t), noPdu(t);
         },
         false, QStringLiteral("Can not send. Email service is not available")},
        {"no PDU mode", noPdu, false, QStringLiteral("Can not send. SMS service is not available")},
        {"blank box", [](Conversation& t) { t.OnDraftChanged(QStringLiteral(" \r\n ")); }, false,
         QStringLiteral("There is nothing to send. Please type some text")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SendRig fresh;
        Conversation& t = fresh.team();
        c.prepare(t);
        const QString draft = t.DraftText();
        EXPECT_FALSE(fresh.send(c.selectedOnly));
        EXPECT_EQ(fresh.rig.boxTexts(), QStringList{c.expected});
        EXPECT_EQ(fresh.rig.client.boxes.last().style, platform::vbExclamation);
        EXPECT_EQ(fresh.rig.client.boxes.last().title, QApplication::applicationDisplayName());
        EXPECT_EQ(fresh.queued(), 0);
        EXPECT_EQ(t.Caption(), QStringLiteral("Team"));
        EXPECT_EQ(t.DraftText(), draft);
    }
}

TEST_F(Send, CodingAutoSendsUnicodeWhileGsmAsksFirst)
{
    const QString warning = QStringLiteral(
        "Your text contains characters, that are not part of the GSM code page. \rTo send it you should use Unicode "
        "coding.\rIf you send such text using GSM coding, most likely a recipient can not read it!\r\rContinue "
        "anyway?");
    struct Case {
        qint32 coding;
        int answer;  // 0: no box expected
        int queuedCoding;  // -1: nothing queued
    };
    const Case cases[] = {{10, 0, 1}, {0, platform::vbNo, -1}, {0, platform::vbYes, 0}, {2, 0, 2}};
    Conversation& t = team(kPrivet);
    qsizetype at = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.coding);
        rig.client.boxes.clear();
        t.SetCoding(c.coding);
        if (c.answer)
            rig.client.boxes.answer(c.answer);
        EXPECT_EQ(send(false, kAnn), c.queuedCoding >= 0);
        ASSERT_EQ(rig.client.boxes.count(), c.answer ? 1u : 0u);
        if (c.answer) {
            EXPECT_EQ(rig.client.boxes.last().prompt, warning);
            EXPECT_EQ(rig.client.boxes.last().style, 308);
        }
        if (c.queuedCoding >= 0) {
            EXPECT_EQ(bag(corvane::bag::MessageCoding, ++at).toInt(), c.queuedCoding);
        }
        EXPECT_EQ(phoneOrders->Count(), at);
    }
}

TEST_F(Send, ALineThatCannotBeSplitIsReportedAndTheOthersStillGet)
{
    const QString file = rig.path(QStringLiteral("Team.plv"));
    rig.write(file, "[Conferees]\r\nConf00001=Ann <+441111>\r\nConf00002=Bob\r\nConf00003=Cy <+443333>\r\n");
    QString theme, warnings;
    ASSERT_EQ(rig.conference->AddTalk(theme, warnings, file), QString());
    rig.talk(theme).OnDraftChanged(QStringLiteral("Hi"));
    EXPECT_TRUE(send());
    ASSERT_EQ(rig.client.boxes.count(), 1u);
    EXPECT_EQ(rig.client.boxes.last().prompt, QStringLiteral("Invalid procedure call or argument (5)"));
    EXPECT_EQ(bag(corvane::bag::Addresses).toStringList(), (QStringList{kAnn, QStringLiteral("+443333")}));
    EXPECT_EQ(mailOrders->Count(), 0);

    // A conversation that is not open: the unexpected-error box.
    rig.client.boxes.clear();
    EXPECT_FALSE(Procs().SendTalkMessage(QStringLiteral("Gone"), false, QString(), QString()));
    ASSERT_EQ(rig.client.boxes.count(), 1u);
    EXPECT_TRUE(rig.client.boxes.last().prompt.startsWith(
        QStringLiteral("While trying to send out a message the following error occured:\r")));
}
