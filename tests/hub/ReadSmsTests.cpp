// The read chain end to end: arrival lines from the simulated phone become
// owner-0 "ReadSMS" commands of the real gate, which read, join and delete
// the messages in the phone's memories.
#include "hub/GateRig.h"
#include "hub/SmsTestPdus.h"
#include "hub/messages/MessageChains.h"
#include "hub/messages/ReadSMSChain.h"
#include "hub/messages/SMS.h"
#include "tools/phonesim/Arrival.h"
#include "tools/phonesim/MessageMemory.h"

#include <gtest/gtest.h>

namespace {

using corvane::PhoneCommandPtr;
using gatetest::GateRig;
using smstest::Concat8;
using smstest::Deliver8;
using smstest::hex2;

const QString kOther = QStringLiteral("0B915155219999F9");  // +15551299999

// A STATUS-REPORT for reference mr, sent 2024-03-15 13:45:30, discharged
// 13:55:30, with the status octet given.
QString StatusReport(int mr, int status = 0)
{
    return QStringLiteral("0006") + hex2(mr) + smstest::kSender + QStringLiteral("42305131540300") +
           QStringLiteral("42305131550300") + hex2(status);
}

class ReadSms : public ::testing::Test {
protected:
    void SetUp() override
    {
        corvane::RegisterMessageChains();
        ASSERT_TRUE(rig.connect());
        rig.gate.SetShiftME(20);
        rig.gate.WaitSMS();
        rig.gate.WaitStatusReport();
        rig.pulled.clear();
        rig.sim().clearReceived();
    }

    phonesim::MessageMemory& memory() { return rig.sim().state().get<phonesim::MessageMemory>(); }
    bool idle() const { return rig.gate.InputCount() == 0 && !rig.gate.ActiveCommand(); }
    // Announces and runs until the gate has nothing left to do.
    void arrive(const QString& line)
    {
        const qsizetype before = rig.sim().commands().size();
        rig.sim().inject(line);
        ASSERT_TRUE(rig.runUntil([&] { return rig.sim().commands().size() > before && idle(); }, 10000));
    }
    QString text(const PhoneCommandPtr& c, const char* key) const { return c->Bag(QLatin1String(key)).toString(); }

    GateRig rig;
};

TEST_F(ReadSms, SingleMessageIsReadDeliveredAndDeleted)
{
    ASSERT_TRUE(memory().storeAt(QStringLiteral("SM"), 3, Deliver8(QString(), QStringLiteral("Hello there"))));
    arrive(QStringLiteral("+CMTI: \"SM\",3"));

    EXPECT_EQ(rig.sim().commands(),
              (QStringList{QStringLiteral("AT+CPMS=\"SM\""), QStringLiteral("AT+CMGR=3"), QStringLiteral("AT+CMGD=3")}));
    ASSERT_EQ(rig.pulled.size(), 1u);
    const PhoneCommandPtr c = rig.pulled[0];
    EXPECT_EQ(c->Owner(), 0);
    EXPECT_EQ(c->Result(), dorrak::OK_ANSWER);
    EXPECT_TRUE(c->Bag(QStringLiteral("ReadSMS")).toBool());
    EXPECT_FALSE(c->Bag(QStringLiteral("StatusReport")).toBool());
    EXPECT_EQ(text(c, "Address"), QStringLiteral("+15551234567"));
    EXPECT_EQ(text(c, "Message"), QStringLiteral("Hello there"));
    EXPECT_EQ(memory().used(QStringLiteral("SM")), 0);
}

TEST_F(ReadSms, EveryCodingIsReadWhole)
{
    const QString head = QStringLiteral("00040B915155214365F700");
    const QString stamp = QStringLiteral("42305131540300");
    struct Case {
        QString pdu;
        QString message;
    };
    const Case cases[] = {
        {head + QStringLiteral("00") + stamp + QStringLiteral("02E834"), QStringLiteral("hi")},
        {head + QStringLiteral("08") + stamp + QStringLiteral("04041F0440"), QStringLiteral("Пр")},
        // A one-part message with a concatenation header, 7-bit.
        {QStringLiteral("00440B915155214365F70000") + stamp + QStringLiteral("0C0500030A0101D06536FB0D"),
         QStringLiteral("hello")},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.message.toStdString());
        rig.pulled.clear();
        memory().storeAt(QStringLiteral("SM"), 1, k.pdu);
        arrive(QStringLiteral("+CMTI: \"SM\",1"));
        ASSERT_EQ(rig.pulled.size(), 1u);
        EXPECT_EQ(text(rig.pulled[0], "Message"), k.message);
        EXPECT_EQ(memory().used(QStringLiteral("SM")), 0);
    }
}

TEST_F(ReadSms, PartsOfALongMessageAreJoinedAcrossAnotherSendersMessage)
{
    memory().storeAt(QStringLiteral("SM"), 1, Deliver8(Concat8(7, 2, 1), QStringLiteral("First half, ")));
    memory().storeAt(QStringLiteral("SM"), 2, Deliver8(Concat8(7, 2, 1), QStringLiteral("Other sender"), kOther));
    memory().storeAt(QStringLiteral("SM"), 3, Deliver8(Concat8(7, 2, 2), QStringLiteral("second half.")));

    arrive(QStringLiteral("+CMTI: \"SM\",1"));
    EXPECT_TRUE(rig.pulled.empty());
    EXPECT_EQ(rig.gate.KeptParts()->Count(), 1);
    arrive(QStringLiteral("+CMTI: \"SM\",2"));
    // Same reference, another sender: a message of its own.
    EXPECT_TRUE(rig.pulled.empty());
    EXPECT_EQ(rig.gate.KeptParts()->Count(), 2);
    arrive(QStringLiteral("+CMTI: \"SM\",3"));

    ASSERT_EQ(rig.pulled.size(), 1u);
    EXPECT_EQ(text(rig.pulled[0], "Address"), QStringLiteral("+15551234567"));
    EXPECT_EQ(text(rig.pulled[0], "Message"), QStringLiteral("First half, second half."));
    EXPECT_EQ(rig.gate.KeptParts()->Count(), 1);
    EXPECT_EQ(rig.gate.KeptParts()->Item(1)->Address(), QStringLiteral("+15551299999"));
    // Every message read left the phone, kept part or not.
    EXPECT_EQ(memory().used(QStringLiteral("SM")), 0);
    const QStringList deletes = rig.sim().commands().filter(QStringLiteral("AT+CMGD="));
    EXPECT_EQ(deletes, (QStringList{QStringLiteral("AT+CMGD=1"), QStringLiteral("AT+CMGD=2"),
                                    QStringLiteral("AT+CMGD=3")}));
}

TEST_F(ReadSms, BothArrivalLinesInOneReadAreRead)
{
    memory().storeAt(QStringLiteral("SM"), 1, Deliver8(Concat8(9, 2, 1), QStringLiteral("Fast ")));
    memory().storeAt(QStringLiteral("SM"), 2, Deliver8(Concat8(9, 2, 2), QStringLiteral("parts")));
    rig.sim().send("\r\n+CMTI: \"SM\",1\r\n\r\n+CMTI: \"SM\",2\r\n");
    ASSERT_TRUE(rig.runUntil([&] { return !rig.pulled.empty() && idle(); }, 10000));

    ASSERT_EQ(rig.pulled.size(), 1u);
    EXPECT_EQ(text(rig.pulled[0], "Message"), QStringLiteral("Fast parts"));
    EXPECT_EQ(rig.sim().commands().filter(QStringLiteral("AT+CMGR=")),
              (QStringList{QStringLiteral("AT+CMGR=1"), QStringLiteral("AT+CMGR=2")}));
    EXPECT_EQ(memory().used(QStringLiteral("SM")), 0);
    EXPECT_EQ(rig.gate.KeptParts()->Count(), 0);
}

TEST_F(ReadSms, HandsetIndexIsShiftedBackIntoItsOwnStorage)
{
    // MT counts the 20 SIM places first: the handset's place 3 is announced as 23.
    memory().storeAt(QStringLiteral("ME"), 3, Deliver8(QString(), QStringLiteral("From the handset")));
    arrive(QStringLiteral("+CMTI: \"ME\",23"));

    EXPECT_EQ(rig.sim().commands(),
              (QStringList{QStringLiteral("AT+CPMS=\"ME\""), QStringLiteral("AT+CMGR=3"), QStringLiteral("AT+CMGD=3")}));
    ASSERT_EQ(rig.pulled.size(), 1u);
    EXPECT_EQ(text(rig.pulled[0], "Message"), QStringLiteral("From the handset"));
    EXPECT_EQ(memory().used(QStringLiteral("ME")), 0);
}

TEST_F(ReadSms, StatusReportInBothAnnouncementForms)
{
    struct Case {
        QString line;
        QString storage;  // where the phone keeps it
        QStringList commands;
    };
    const Case cases[] = {
        {QStringLiteral("+CDSI: \"SR\",4"), QStringLiteral("SR"),
         {QStringLiteral("AT+CPMS=\"SR\""), QStringLiteral("AT+CMGR=4"), QStringLiteral("AT+CMGD=4")}},
        // No storage named: the one for received messages, from AT+CPMS?.
        {QStringLiteral("+CDSI: 4"), QStringLiteral("MT"),
         {QStringLiteral("AT+CPMS?"), QStringLiteral("AT+CPMS=\"MT\""), QStringLiteral("AT+CMGR=4"),
          QStringLiteral("AT+CMGD=4")}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.line.toStdString());
        rig.pulled.clear();
        rig.sim().clearReceived();
        ASSERT_TRUE(memory().storeAt(k.storage, 4, StatusReport(42)));
        arrive(k.line);

        EXPECT_EQ(rig.sim().commands(), k.commands);
        ASSERT_EQ(rig.pulled.size(), 1u);
        const PhoneCommandPtr c = rig.pulled[0];
        EXPECT_TRUE(c->Bag(QStringLiteral("StatusReport")).toBool());
        EXPECT_EQ(text(c, "Message"), QStringLiteral("Delivered"));
        EXPECT_EQ(text(c, "Address"), QStringLiteral("+15551234567"));
        EXPECT_EQ(c->Bag(QStringLiteral("MR")).toInt(), 42);
        const QDateTime discharged = c->Bag(QStringLiteral("DischargeTime")).toDateTime();
        EXPECT_EQ(discharged.date(), QDate(2024, 3, 15));
        EXPECT_EQ(discharged.time(), QTime(13, 55, 30));
        EXPECT_EQ(memory().used(k.storage), 0);
    }
}

TEST_F(ReadSms, PartThatNeverCompletesIsFlushedWithWhatCame)
{
    memory().storeAt(QStringLiteral("SM"), 5, Deliver8(Concat8(11, 3, 2), QStringLiteral("middle")));
    arrive(QStringLiteral("+CMTI: \"SM\",5"));
    EXPECT_TRUE(rig.pulled.empty());
    EXPECT_EQ(memory().used(QStringLiteral("SM")), 0);
    const qint64 kept = rig.now();

    rig.runFor(29000);
    EXPECT_TRUE(rig.pulled.empty());
    ASSERT_TRUE(rig.runUntil([&] { return !rig.pulled.empty(); }, 3000));
    EXPECT_LE(rig.now() - kept, 31100);
    const PhoneCommandPtr c = rig.pulled[0];
    EXPECT_EQ(c->Result(), dorrak::TIME_OUT);
    EXPECT_EQ(text(c, "Address"), QStringLiteral("+15551234567"));
    EXPECT_EQ(text(c, "Message"), QStringLiteral("[part 001]middle[part 003]"));
    EXPECT_EQ(rig.gate.KeptParts()->Count(), 0);
}

TEST_F(ReadSms, KeptPartsOfLookAlikeSendersStayApart)
{
    // "+123" with reference 47 and "+1234" with reference 7 once shared a key.
    const QString shortSender = QStringLiteral("039121F3");
    const QString longSender = QStringLiteral("04912143");
    memory().storeAt(QStringLiteral("SM"), 1, Deliver8(Concat8(47, 2, 1), QStringLiteral("A1 "), shortSender));
    memory().storeAt(QStringLiteral("SM"), 2, Deliver8(Concat8(7, 2, 1), QStringLiteral("B1 "), longSender));
    memory().storeAt(QStringLiteral("SM"), 3, Deliver8(Concat8(47, 2, 2), QStringLiteral("A2"), shortSender));
    memory().storeAt(QStringLiteral("SM"), 4, Deliver8(Concat8(7, 2, 2), QStringLiteral("B2"), longSender));
    for (int i = 1; i <= 4; ++i)
        arrive(QStringLiteral("+CMTI: \"SM\",%1").arg(i));

    ASSERT_EQ(rig.pulled.size(), 2u);
    EXPECT_EQ(text(rig.pulled[0], "Address"), QStringLiteral("+123"));
    EXPECT_EQ(text(rig.pulled[0], "Message"), QStringLiteral("A1 A2"));
    EXPECT_EQ(text(rig.pulled[1], "Address"), QStringLiteral("+1234"));
    EXPECT_EQ(text(rig.pulled[1], "Message"), QStringLiteral("B1 B2"));
    EXPECT_EQ(rig.gate.KeptParts()->Count(), 0);
    EXPECT_NE(corvane::KeptPartKey(QStringLiteral("+123"), 47, 2), corvane::KeptPartKey(QStringLiteral("+1234"), 7, 2));
    EXPECT_NE(corvane::KeptPartKey(QStringLiteral("Shop"), 1, 2), corvane::KeptPartKey(QStringLiteral("SHOP"), 1, 2));
    EXPECT_NE(corvane::KeptPartKey(QStringLiteral("+1"), 12, 3), corvane::KeptPartKey(QStringLiteral("+1"), 1, 23));
}

TEST_F(ReadSms, WhatCannotBeDeliveredStaysOnThePhone)
{
    corvane::SMS own;
    own.MTI = corvane::SUBMIT;
    own.SetUserData(QStringLiteral("our own"), corvane::DEFAULT7BIT, true);
    own.Address(QStringLiteral("+4479000001"));
    const QString submit = own.PDU().at(0);
    const QString good = Deliver8(QString(), QStringLiteral("readable"));

    struct Case {
        const char* name;
        std::function<void()> prepare;
    };
    const Case cases[] = {
        {"empty slot read as a record", [&] { memory().emptySlotAsRecord = true; }},
        {"not a PDU", [&] { memory().storeAt(QStringLiteral("SM"), 6, QStringLiteral("NOT HEX")); }},
        {"our own outgoing message", [&] { memory().storeAt(QStringLiteral("SM"), 6, submit, phonesim::kStoSent); }},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        memory().sm.filled.clear();
        memory().emptySlotAsRecord = false;
        rig.sim().clearScripts();
        rig.sim().clearReceived();
        rig.pulled.clear();
        k.prepare();
        const bool wasThere = memory().message(QStringLiteral("SM"), 6) != nullptr;
        arrive(QStringLiteral("+CMTI: \"SM\",6"));

        EXPECT_TRUE(rig.pulled.empty());
        EXPECT_TRUE(rig.sim().commands().filter(QStringLiteral("AT+CMGD")).isEmpty());
        EXPECT_EQ(memory().message(QStringLiteral("SM"), 6) != nullptr, wasThere);
        EXPECT_EQ(rig.gate.KeptParts()->Count(), 0);

        // The engine goes on with the next arrival.
        memory().storeAt(QStringLiteral("SM"), 7, good);
        arrive(QStringLiteral("+CMTI: \"SM\",7"));
        ASSERT_EQ(rig.pulled.size(), 1u);
        EXPECT_EQ(text(rig.pulled[0], "Message"), QStringLiteral("readable"));
    }
}

TEST_F(ReadSms, FailedReadEndsTheChainAndLeavesTheMessage)
{
    memory().storeAt(QStringLiteral("SM"), 2, Deliver8(QString(), QStringLiteral("kept")));
    struct Case {
        const char* name;
        QString pattern;
        phonesim::ScriptedReply reply;
        QStringList commands;
    };
    const Case cases[] = {
        {"storage refused", QStringLiteral("AT+CPMS=*"), phonesim::ScriptedReply::CmsError(302),
         {QStringLiteral("AT+CPMS=\"SM\"")}},
        {"read refused", QStringLiteral("AT+CMGR=*"), phonesim::ScriptedReply::CmsError(321),
         {QStringLiteral("AT+CPMS=\"SM\""), QStringLiteral("AT+CMGR=2")}},
        {"read unanswered", QStringLiteral("AT+CMGR=*"), phonesim::ScriptedReply::Silence(),
         {QStringLiteral("AT+CPMS=\"SM\""), QStringLiteral("AT+CMGR=2")}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        rig.sim().clearReceived();
        rig.sim().script(k.pattern, k.reply);
        arrive(QStringLiteral("+CMTI: \"SM\",2"));
        EXPECT_EQ(rig.sim().commands(), k.commands);
        EXPECT_TRUE(rig.pulled.empty());
        EXPECT_NE(memory().message(QStringLiteral("SM"), 2), nullptr);
    }

    // A refused delete still delivers what was read; the message stays.
    rig.sim().clearReceived();
    rig.sim().script(QStringLiteral("AT+CMGD=*"), phonesim::ScriptedReply::Error());
    arrive(QStringLiteral("+CMTI: \"SM\",2"));
    ASSERT_EQ(rig.pulled.size(), 1u);
    EXPECT_EQ(rig.pulled[0]->Result(), dorrak::ERROR_ANSWER);
    EXPECT_EQ(text(rig.pulled[0], "Message"), QStringLiteral("kept"));
    EXPECT_NE(memory().message(QStringLiteral("SM"), 2), nullptr);
}

TEST_F(ReadSms, StorageQueryWithSixFieldsEndsAfterIt)
{
    memory().storeAt(QStringLiteral("MT"), 4, StatusReport(1));
    rig.sim().script(QStringLiteral("AT+CPMS?"), phonesim::ScriptedReply::Text({QStringLiteral("+CPMS: 0,20,0,250,1,270")}));
    arrive(QStringLiteral("+CDSI: 4"));
    EXPECT_EQ(rig.sim().commands(), QStringList{QStringLiteral("AT+CPMS?")});
    EXPECT_TRUE(rig.pulled.empty());
}

}  // namespace

// What a hostile or broken phone sends: a reference that repeats, a stamp
// that is not decimal, a line cut short, an arrival line carrying commands.
TEST_F(ReadSms, PartsOfTwoMessagesWithOneReferenceStayApart)
{
    // Part 2 of a three-part message, then a two-part message with the same
    // 8-bit reference from the same sender.
    memory().storeAt(QStringLiteral("SM"), 1, Deliver8(Concat8(7, 3, 2), QStringLiteral("middle of three")));
    memory().storeAt(QStringLiteral("SM"), 2, Deliver8(Concat8(7, 2, 1), QStringLiteral("one of ")));
    memory().storeAt(QStringLiteral("SM"), 3, Deliver8(Concat8(7, 2, 2), QStringLiteral("two")));
    for (int slot = 1; slot <= 3; ++slot)
        arrive(QStringLiteral("+CMTI: \"SM\",%1").arg(slot));

    ASSERT_EQ(rig.pulled.size(), 1u);
    EXPECT_EQ(text(rig.pulled[0], "Message"), QStringLiteral("one of two"));
    ASSERT_EQ(rig.gate.KeptParts()->Count(), 1);
    EXPECT_EQ(rig.gate.KeptParts()->Item(1)->UserData(), QStringLiteral("[part 001]middle of three[part 003]"));
}

TEST_F(ReadSms, ReportWithAnUnreadableStampIsDeliveredWithItsStatus)
{
    const QString good = QStringLiteral("42305131550300");
    struct Case {
        const char* name;
        QString stamp;
        QString discharge;
        bool dischargeKnown;
    };
    const Case cases[] = {
        {"zone digit A", QStringLiteral("423051315403A0"), QStringLiteral("423051315503A0"), true},
        {"date digit A", QStringLiteral("42305131540300"), QStringLiteral("4A305131550300"), false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        rig.pulled.clear();
        memory().storeAt(QStringLiteral("SR"), 4, QStringLiteral("0006") + hex2(9) + smstest::kSender + k.stamp +
                                                       k.discharge + hex2(70));
        arrive(QStringLiteral("+CDSI: \"SR\",4"));
        ASSERT_EQ(rig.pulled.size(), 1u);
        const PhoneCommandPtr c = rig.pulled[0];
        EXPECT_TRUE(c->Bag(QStringLiteral("StatusReport")).toBool());
        EXPECT_EQ(text(c, "Message"), QStringLiteral("Not delivered, message validity period expired"));
        EXPECT_EQ(c->Bag(QStringLiteral("MR")).toInt(), 9);
        EXPECT_EQ(c->Bag(QStringLiteral("DischargeTime")).isValid(), k.dischargeKnown);
        if (k.dischargeKnown) {
            EXPECT_EQ(c->Bag(QStringLiteral("DischargeTime")).toDateTime(),
                      QDateTime(QDate(2024, 3, 15), QTime(13, 55, 30), Qt::UTC));
        }
        EXPECT_EQ(memory().used(QStringLiteral("SR")), 0);
    }
}

TEST_F(ReadSms, OddPdusAreReadAsFarAsTheyGoOrLeftOnThePhone)
{
    for (const smstest::OddPdu& k : smstest::OddPdus()) {
        SCOPED_TRACE(k.name);
        rig.sim().clearReceived();
        rig.pulled.clear();
        memory().storeAt(QStringLiteral("SM"), 6, k.pdu);
        arrive(QStringLiteral("+CMTI: \"SM\",6"));
        const bool read = k.error.isEmpty();
        // A message without text reaches no one, as ever.
        ASSERT_EQ(rig.pulled.size(), k.text.isEmpty() ? 0u : 1u);
        if (!k.text.isEmpty()) {
            EXPECT_EQ(text(rig.pulled[0], "Message"), k.text);
        }
        EXPECT_EQ(rig.sim().commands().filter(QStringLiteral("AT+CMGD")).size(), read ? 1 : 0);
        EXPECT_EQ(memory().message(QStringLiteral("SM"), 6) == nullptr, read);
        EXPECT_EQ(rig.gate.KeptParts()->Count(), 0);
    }
}

TEST_F(ReadSms, ArrivalLinesCarryingCommandsSendNothing)
{
    memory().storeAt(QStringLiteral("SM"), 1, Deliver8(QString(), QStringLiteral("nobody read me")));
    const char* lines[] = {
        "+CMTI: \"SM\";+CMGD=1,4",
        "+CMTI: \"SM\",1;+CMGD=1",
        "+CMTI: \"SM\",1,+CMGD=1",
        "+CMTI: \"SM\";+CMGD=1,1",
        "+CMTI: \"S;M\",1",
        "+CMTI: \"SMSMS\",1",
        "+CMTI: \"S\",1",
        "+CMTI: \"SM\",70000",
        "+CMTI: \"SM\",-1",
        "+CMTI: \"SM\",",
        "+CDSI: 1;+CMGD=1",
        "+CMGW: x",
    };
    for (const char* line : lines) {
        SCOPED_TRACE(line);
        rig.sim().clearReceived();
        rig.sim().inject(QString::fromLatin1(line));
        rig.runFor(3000);
        EXPECT_TRUE(rig.sim().received().isEmpty()) << rig.sim().received().toStdString();
        EXPECT_TRUE(idle());
        EXPECT_NE(memory().message(QStringLiteral("SM"), 1), nullptr);
    }
    // A plain line still reads.
    arrive(QStringLiteral("+CMTI: SM,1"));
    EXPECT_EQ(rig.sim().commands().first(), QStringLiteral("AT+CPMS=SM"));
}

// A phone may announce messages as soon as indications are turned on, while
// the rest of the connect chain runs and before the terminal asks for the
// lines (the client does so once it has the connect's report). Both must
// still be read once it does.
TEST(ReadSmsOnConnect, MessagesAnnouncedBeforeTheLinesAreAskedForAreRead)
{
    enum class Moment { IndicationsTurnedOn, ChainEnded };
    for (const Moment moment : {Moment::IndicationsTurnedOn, Moment::ChainEnded}) {
        SCOPED_TRACE(static_cast<int>(moment));
        corvane::RegisterMessageChains();
        GateRig rig;
        const PhoneCommandPtr connect = GateRig::connectCommand(rig.phone.comPort());
        bool announced = false;
        rig.observer = [&] {
            bool now = rig.wasPulled(connect);
            if (moment == Moment::IndicationsTurnedOn) {
                const QStringList sent = rig.sim().commands();
                now = !sent.isEmpty() && sent.last().startsWith(QLatin1String("AT+CNMI=")) &&
                      !sent.last().endsWith(QLatin1String("?"));
            }
            if (announced || !now)
                return;
            announced = true;
            // Both lines in one read.
            EXPECT_EQ(phonesim::Arrive(rig.sim(), QStringLiteral("+15551234567"), QStringLiteral("Lunch?")), 1);
            EXPECT_EQ(phonesim::Arrive(rig.sim(), QStringLiteral("+15551234567"), QStringLiteral("Booked.")), 2);
        };
        rig.gate.Push(connect);
        ASSERT_TRUE(rig.runUntilPulled(connect));
        ASSERT_TRUE(rig.gate.connected());
        // The report reaches the client a little later.
        rig.runFor(500);
        ASSERT_TRUE(announced);
        rig.gate.WaitSMS();

        ASSERT_TRUE(rig.runUntil([&] { return rig.pulled.size() == 3; }, 20000));
        EXPECT_EQ(rig.pulled[1]->Bag(QStringLiteral("Message")).toString(), QStringLiteral("Lunch?"));
        EXPECT_EQ(rig.pulled[2]->Bag(QStringLiteral("Message")).toString(), QStringLiteral("Booked."));
        EXPECT_EQ(rig.sim().state().get<phonesim::MessageMemory>().used(QStringLiteral("SM")), 0);
    }
}
