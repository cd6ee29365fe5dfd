// The read-store, write-message and delete-message chains through the gate,
// the port server and the simulated phone, the clock moved by hand.
#include "hub/engine/Gate.h"
#include "hub/engine/PhoneCommand.h"
#include "hub/messages/MessageChains.h"
#include "hub/messages/MessageStore.h"
#include "hub/messages/SMS.h"
#include "support/PhoneFixture.h"
#include "tools/phonesim/ConnectCommands.h"
#include "tools/phonesim/MessageMemory.h"
#include "tools/phonesim/StoreCommands.h"

#include "MessageStorePdus.h"
#include "SmsTestPdus.h"

#include <gtest/gtest.h>

using namespace corvane;
using namespace storetest;

namespace {

const QString kSM = QStringLiteral("\"SM\"");

class StoreRig : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterMessageChains();
        profile().locations = QStringLiteral("(\"SM\",\"ME\",\"MT\"),(\"SM\",\"ME\",\"MT\"),(\"SM\",\"ME\")");
        auto connect = std::make_shared<PhoneCommand>();
        connect->SetUp(QStringLiteral("Connect"), QStringLiteral("OK\r"), QStringLiteral("ERROR\r"), -1, 5000, false,
                       false, dorrak::mbtLightCommand);
        connect->setBag(QStringLiteral("PortName"), QStringLiteral("COM") + QString::number(phone.comPort()));
        connect->setBag(QStringLiteral("PortBaud"), qint32(9600));
        connect->setBag(QStringLiteral("PortTimeouts"), QVariant::fromValue(QVector<qint32>(5, 0)));
        ASSERT_TRUE(run(connect));
        ASSERT_TRUE(gate.connected());
        sim().clearReceived();
    }

    phonesim::PhoneSim& sim() { return phone.sim(); }
    phonesim::MessageMemory& memory() { return sim().state().get<phonesim::MessageMemory>(); }
    phonesim::StoreProfile& profile() { return sim().state().get<phonesim::StoreProfile>(); }

    PhoneCommandPtr command(const QString& name, const QList<std::pair<QString, QVariant>>& items = {})
    {
        auto c = std::make_shared<PhoneCommand>();
        c->setBagObject(QStringLiteral("Store"), store);
        for (const auto& [key, value] : items)
            c->setBag(key, value);
        EXPECT_EQ(c->SetUp(name, QStringLiteral("OK\r"), QStringLiteral("ERROR\r"), -2, 5000, false, false,
                           dorrak::mbtLightCommand),
                  QString());
        return c;
    }

    // Pushes the command and runs 50 ms rounds until it comes back; the
    // progress values it went through land in progress.
    bool run(const PhoneCommandPtr& c, qint64 maxMs = 120000)
    {
        progress.clear();
        gate.Push(c);
        for (qint64 t = 0; t < maxMs; t += 50) {
            sim().pump();
            gate.Comm().Tick();
            if (t % 100 == 0)
                gate.EngineTick();
            sim().pump();
            if (observer)
                observer();
            if (!c->Finished() && c->GetProgress() > 0 && (progress.isEmpty() || progress.last() != c->GetProgress()))
                progress << c->GetProgress();
            while (PhoneCommandPtr done = gate.Pull())
                if (done == c)
                    return true;
            phone.clock().advance(50);
        }
        return false;
    }

    bool readStore()
    {
        const PhoneCommandPtr c = command(QStringLiteral("ReadStore"));
        if (!run(c))
            return false;
        store->setFilled(VariantLong(c->Bag(QStringLiteral("StoreCount"))) > 0);
        return store->Filled();
    }

    PhoneCommandPtr write(const QString& body, bool joined, const QString& scNumber = QString())
    {
        return command(QStringLiteral("WriteSMS"), {{QStringLiteral("SCNumber"), scNumber},
                                                    {QStringLiteral("StatusReport"), qint32(0)},
                                                    {QStringLiteral("MessageClass"), qint32(UNSPECIFIED)},
                                                    {QStringLiteral("ValidityPeriod"), QVariant()},
                                                    {QStringLiteral("MessageBody"), body},
                                                    {QStringLiteral("MessageCoding"), qint32(DEFAULT7BIT)},
                                                    {QStringLiteral("JoinParts"), joined},
                                                    {QStringLiteral("Address"), QStringLiteral("+15551234567")},
                                                    {QStringLiteral("LocationName"), kSM}});
    }

    PhoneCommandPtr remove(qint32 slot)
    {
        return command(QStringLiteral("DeleteSMS"), {{QStringLiteral("LocationName"), kSM},
                                                     {QStringLiteral("LocationIndex"), qint32(0)},
                                                     {QStringLiteral("MsgIndex"), slot}});
    }

    QStringList storeCommands()
    {
        QStringList out;
        for (const QString& line : phone.sim().commands())
            if (line.startsWith(QLatin1String("AT+CPMS")) || line.startsWith(QLatin1String("AT+CMG")) ||
                line == QLatin1String("AT"))
                out << line;
        return out;
    }

    QStringList rows() const
    {
        QStringList r = store->GetAllRecords().split(QChar(8));
        r.removeLast();
        return r;
    }

    testsupport::PhoneFixture phone;
    Gate gate;
    MessageStorePtr store = std::make_shared<MessageStore>();
    QList<qint32> progress;
    // Called in every round of run().
    std::function<void()> observer;
};

QString Text67(QChar c) { return QString(67, c); }

QVector<qint32> Indexes(const MessageStore& store, qint32 loc, qint32 slot)
{
    return store.GetMsgIndexes(loc, slot).value<QVector<qint32>>();
}

}  // namespace

TEST_F(StoreRig, ReadJoinsPartsListedOutOfOrderAndSkipsTheEmptyStorage)
{
    memory().storeAt(QStringLiteral("SM"), 5, Deliver(Text67(u'b'), kAlice, 33, 3, 2), phonesim::kRecRead);
    memory().storeAt(QStringLiteral("SM"), 6, Deliver(Text67(u'a'), kAlice, 33, 3, 1), phonesim::kRecRead);
    memory().storeAt(QStringLiteral("SM"), 7, Deliver(Text67(u'c'), kAlice, 33, 3, 3), phonesim::kRecRead);
    const QString hello = QStringLiteral("hello") + QString(60, u'o');
    memory().storeAt(QStringLiteral("SM"), 9, Deliver(hello, kBob), phonesim::kRecUnread);

    qsizetype listed = 0;
    for (const auto& [index, message] : memory().list(QStringLiteral("SM")))
        listed += message->pdu.size();
    ASSERT_GT(listed, 1024) << "the listing must come in several reads";

    const PhoneCommandPtr c = command(QStringLiteral("ReadStore"));
    ASSERT_TRUE(run(c));
    EXPECT_EQ(c->Result(), dorrak::OK_ANSWER);
    EXPECT_EQ(VariantLong(c->Bag(QStringLiteral("StoreCount"))), 2);
    EXPECT_FALSE(c->Items().Exists(QStringLiteral("ErrorDesc")));
    EXPECT_EQ(storeCommands(), (QStringList{"AT+CPMS=?", "AT+CPMS=\"SM\"", "AT+CMGL=4", "AT+CPMS=\"ME\""}));
    // The selection of ME sets 64 as it ends the chain.
    EXPECT_EQ(progress, (QList<qint32>{10, 19, 55}));

    store->setFilled(true);
    ASSERT_EQ(store->Count(), 2);
    EXPECT_EQ(Indexes(*store, 0, 5), (QVector<qint32>{6, 5, 7}));
    const QStringList r = rows();
    ASSERT_EQ(r.size(), 2);
    const QString subject = QString(67, u'a') + QStringLiteral("bbb");
    EXPECT_EQ(r[0].split(QChar(0)),
              (QStringList{"0", "5", "received read", "+15551234567", "2024/03/15 13:45", subject}));
    EXPECT_EQ(r[1].split(QChar(0)),
              (QStringList{"0", "9", "received unread", "+15559876543", "2024/03/15 13:45", hello}));
    EXPECT_EQ(store->LocationTotal(0), 20);
    EXPECT_EQ(store->LocationTotal(1), 250);
    EXPECT_EQ(store->LocationOccupied(0), 4);
    EXPECT_EQ(store->LocationOccupiedP(0), 4);
    EXPECT_EQ(store->LocationOccupied(1), 0);
    EXPECT_EQ(store->IncompleteCount(), 0);
    // Listing read the unread message.
    EXPECT_EQ(memory().message(QStringLiteral("SM"), 9)->stat, phonesim::kRecRead);
}

TEST_F(StoreRig, ReadGoesOnAfterAnErrorOrATimeOut)
{
    struct Case {
        const char* name;
        std::function<void(phonesim::PhoneSim&)> script;
        QStringList commands;
        qint32 records;
    };
    const Case cases[] = {
        {"listing refused",
         [](phonesim::PhoneSim& s) { s.script(QStringLiteral("AT+CMGL=4"), phonesim::ScriptedReply::CmsError(321)); },
         {"AT+CPMS=?", "AT+CPMS=\"SM\"", "AT+CMGL=4", "AT+CPMS=\"ME\"", "AT+CMGL=4"},
         1},
        {"selection unanswered",
         [](phonesim::PhoneSim& s) {
             s.script(QStringLiteral("AT+CPMS=\"SM\""), phonesim::ScriptedReply::Silence());
         },
         {"AT+CPMS=?", "AT+CPMS=\"SM\"", "AT", "AT+CPMS=\"ME\"", "AT+CMGL=4"},
         1},
        {"listing unanswered",
         [](phonesim::PhoneSim& s) { s.script(QStringLiteral("AT+CMGL=4"), phonesim::ScriptedReply::Silence()); },
         {"AT+CPMS=?", "AT+CPMS=\"SM\"", "AT+CMGL=4", "AT", "AT+CPMS=\"ME\"", "AT+CMGL=4"},
         1},
    };
    memory().storeAt(QStringLiteral("SM"), 1, Deliver(QStringLiteral("in SM")));
    memory().storeAt(QStringLiteral("ME"), 2, Deliver(QStringLiteral("in ME")));
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        store = std::make_shared<MessageStore>();
        sim().clearReceived();
        sim().clearScripts();
        k.script(sim());
        const PhoneCommandPtr c = command(QStringLiteral("ReadStore"));
        ASSERT_TRUE(run(c));
        EXPECT_EQ(c->Result(), dorrak::OK_ANSWER);
        EXPECT_EQ(storeCommands(), k.commands);
        EXPECT_EQ(store->Count(), k.records);
        EXPECT_EQ(store->MessageData(1, 2), QStringLiteral("in ME"));
    }
}

TEST_F(StoreRig, ReadWithUcs2HexStorageNames)
{
    profile().hexNames = true;
    ASSERT_EQ(sim().state().get<phonesim::ConnectProfile>().cscs, QStringLiteral("UCS2"));
    memory().storeAt(QStringLiteral("ME"), 3, Deliver(QStringLiteral("hex")));
    ASSERT_TRUE(readStore());
    // In hex, MT no longer reads as MT and is listed as a storage of its
    // own: the ME message shows a second time, under its MT index.
    EXPECT_EQ(storeCommands(), (QStringList{"AT+CPMS=?", "AT+CPMS=\"0053004D\"", "AT+CPMS=\"004D0045\"", "AT+CMGL=4",
                                            "AT+CPMS=\"004D0054\"", "AT+CMGL=4"}));
    EXPECT_EQ(store->LocationsCount(), 3);
    EXPECT_EQ(store->GetSIMStore(), 0);
    EXPECT_EQ(store->GetPhoneStore(), 1);
    EXPECT_EQ(store->MessageData(store->GetPhoneStore(), 3), QStringLiteral("hex"));
    EXPECT_EQ(store->MessageData(2, 23), QStringLiteral("hex"));
}

TEST_F(StoreRig, SeparatorsInAReceivedTextExportAsOneRow)
{
    const QString text = QStringLiteral("a") + QChar(8) + QStringLiteral("1") + QChar(0) + QStringLiteral("2") +
                         QChar(0) + QStringLiteral("received read") + QChar(0);
    memory().storeAt(QStringLiteral("SM"), 4, Deliver(text));
    ASSERT_TRUE(readStore());
    const QStringList r = rows();
    ASSERT_EQ(r.size(), 1);
    const QStringList columns = r[0].split(QChar(0));
    ASSERT_EQ(columns.size(), 6);
    EXPECT_EQ(columns[1], QStringLiteral("4"));
    EXPECT_EQ(store->MessageData(0, 4), text);
}

TEST_F(StoreRig, WriteStoresEveryPartAndTheStoreJoinsThem)
{
    ASSERT_TRUE(readStore());
    memory().storeAt(QStringLiteral("SM"), 1, Deliver(QStringLiteral("old")));
    const QString body = QString(153, u'x') + QString(153, u'y') + QStringLiteral("and at the end");

    sim().clearReceived();
    const PhoneCommandPtr joined = write(body, true);
    ASSERT_TRUE(run(joined));
    EXPECT_EQ(joined->Result(), dorrak::OK_ANSWER);
    EXPECT_EQ(progress, (QList<qint32>{10, 33, 43, 67, 77}));  // the first 10 twice
    EXPECT_EQ(joined->Bag(QStringLiteral("MsgIndex")).value<QVector<qint32>>(), (QVector<qint32>{2, 3, 4}));
    EXPECT_FALSE(joined->Bag(QStringLiteral("SMSObject")).isValid());
    const QStringList commands = storeCommands();
    ASSERT_EQ(commands.size(), 4);
    EXPECT_EQ(commands[0], QStringLiteral("AT+CPMS=\"SM\",\"SM\""));
    EXPECT_TRUE(commands[1].startsWith(QLatin1String("AT+CMGW=")));

    EXPECT_EQ(store->Count(), 1);
    EXPECT_EQ(Indexes(*store, 0, 2), (QVector<qint32>{2, 3, 4}));
    EXPECT_EQ(store->MessageStatus(0, 2), 2);
    EXPECT_EQ(store->MessageData(0, 2), body);
    EXPECT_EQ(store->LocationOccupied(0), 3);

    // What the phone holds decodes to what was asked.
    SMS stored;
    for (int slot : {2, 3, 4}) {
        const phonesim::StoredMessage* m = memory().message(QStringLiteral("SM"), slot);
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->stat, phonesim::kStoUnsent);
        stored.PDU(m->pdu);
    }
    EXPECT_TRUE(stored.AllReceived());
    EXPECT_EQ(stored.MTI, SUBMIT);
    EXPECT_EQ(stored.UserData(), body);
    EXPECT_EQ(stored.Address(), QStringLiteral("+15551234567"));

    const PhoneCommandPtr apart = write(body, false);
    ASSERT_TRUE(run(apart));
    EXPECT_EQ(apart->Result(), dorrak::OK_ANSWER);
    EXPECT_EQ(apart->Bag(QStringLiteral("MsgIndex")).value<QVector<qint32>>(), (QVector<qint32>{5, 6, 7}));
    EXPECT_EQ(store->Count(), 4);
    EXPECT_TRUE(store->MessageData(0, 6).startsWith(QLatin1String("(2/3)")));
    EXPECT_EQ(store->LocationOccupied(0), 6);
}

// Four parts put a progress value on an exact half: 2.3 x 100 / 4 is 57.5,
// which goes to the even 58 (floating point makes it 57.4999...).
TEST_F(StoreRig, WriteProgressRoundsExactHalvesToEven)
{
    ASSERT_TRUE(readStore());
    const PhoneCommandPtr c = write(QString(153 * 3 + 10, u'q'), true);
    ASSERT_TRUE(run(c));
    EXPECT_EQ(c->Result(), dorrak::OK_ANSWER);
    EXPECT_EQ(progress, (QList<qint32>{10, 8, 25, 32, 50, 58, 75, 82}));
    EXPECT_EQ(c->Bag(QStringLiteral("MsgIndex")).value<QVector<qint32>>().size(), 4);
}

TEST_F(StoreRig, WriteThatFailsKeepsWhatWasWritten)
{
    ASSERT_TRUE(readStore());
    const QString body = QString(200, u'z');

    profile().refusedWrite = 2;
    const PhoneCommandPtr refused = write(body, true);
    ASSERT_TRUE(run(refused));
    EXPECT_EQ(refused->Result(), dorrak::ERROR_ANSWER);
    EXPECT_EQ(refused->Bag(QStringLiteral("ErrorAnswer")).toString(), QStringLiteral("ERROR"));
    EXPECT_EQ(refused->Bag(QStringLiteral("MsgIndex")).value<QVector<qint32>>(), (QVector<qint32>{1, 0}));
    EXPECT_FALSE(refused->Bag(QStringLiteral("SMSObject")).isValid());
    EXPECT_EQ(store->Count(), 1);
    EXPECT_EQ(Indexes(*store, 0, 1), (QVector<qint32>{1, -1}));
    EXPECT_EQ(memory().sm.used(), 1);

    // A full storage refuses the PDU itself.
    memory().sm.total = 2;
    const PhoneCommandPtr full = write(body, true);
    ASSERT_TRUE(run(full));
    EXPECT_EQ(full->Result(), dorrak::ERROR_ANSWER);
    EXPECT_EQ(full->Bag(QStringLiteral("ErrorAnswer")).toString(), QStringLiteral("ERROR: 322"));
    EXPECT_EQ(full->Bag(QStringLiteral("MsgIndex")).value<QVector<qint32>>(), (QVector<qint32>{2, 0}));

    // An encoder failure ends the chain as an error before anything is written.
    sim().clearReceived();
    const PhoneCommandPtr broken = write(body, true, QStringLiteral("12-34"));
    ASSERT_TRUE(run(broken));
    EXPECT_EQ(broken->Result(), dorrak::ERROR_ANSWER);
    EXPECT_EQ(broken->Bag(QStringLiteral("ErrorAnswer")).toString(), QStringLiteral("Invalid service center number (5)"));
    EXPECT_EQ(storeCommands(), QStringList{"AT+CPMS=\"SM\",\"SM\""});
    EXPECT_EQ(store->Count(), 2);

    // So does a coding the encoder does not know: it would store an empty
    // text in place of the message.
    for (const bool joined : {true, false}) {
        sim().clearReceived();
        const PhoneCommandPtr unknown = write(body, joined);
        unknown->setBag(QStringLiteral("MessageCoding"), qint32(7));
        ASSERT_TRUE(run(unknown));
        EXPECT_EQ(unknown->Result(), dorrak::ERROR_ANSWER);
        EXPECT_EQ(unknown->Bag(QStringLiteral("ErrorAnswer")).toString(), QStringLiteral("Unknown coding method (5)"));
        EXPECT_EQ(storeCommands(), QStringList{"AT+CPMS=\"SM\",\"SM\""});
        EXPECT_EQ(store->Count(), 2);
    }

    // The cable pulled while the second part is announced.
    memory().sm.total = 20;
    sim().clearReceived();
    const PhoneCommandPtr lost = write(body, true);
    observer = [this] {
        if (sim().commands().filter(QStringLiteral("AT+CMGW=")).size() == 2 && sim().plugged())
            sim().unplug();
    };
    ASSERT_TRUE(run(lost));
    EXPECT_EQ(lost->Result(), dorrak::INTERRUPTED);
    EXPECT_EQ(lost->Bag(QStringLiteral("MsgIndex")).value<QVector<qint32>>(), (QVector<qint32>{3, 0}));
    EXPECT_FALSE(lost->Bag(QStringLiteral("SMSObject")).isValid());
    EXPECT_EQ(store->Count(), 3);
}

TEST_F(StoreRig, DeleteRemovesEveryPartInOrderThenTheRecord)
{
    ASSERT_TRUE(readStore());
    ASSERT_TRUE(run(write(QString(400, u'q'), true)));
    ASSERT_EQ(Indexes(*store, 0, 1), (QVector<qint32>{1, 2, 3}));
    ASSERT_EQ(store->LocationOccupied(0), 3);

    // The last part refused: two are gone, the record stays whole.
    sim().clearReceived();
    sim().script(QStringLiteral("AT+CMGD=3"), phonesim::ScriptedReply::CmsError(321));
    const PhoneCommandPtr refused = remove(1);
    ASSERT_TRUE(run(refused));
    EXPECT_EQ(refused->Result(), dorrak::ERROR_ANSWER);
    EXPECT_EQ(refused->Bag(QStringLiteral("ErrorAnswer")).toString(), QStringLiteral("ERROR: 321"));
    EXPECT_EQ(storeCommands(), (QStringList{"AT+CPMS=\"SM\",\"SM\"", "AT+CMGD=1", "AT+CMGD=2", "AT+CMGD=3"}));
    EXPECT_EQ(Indexes(*store, 0, 1), (QVector<qint32>{1, 2, 3}));
    EXPECT_EQ(memory().sm.used(), 1);

    sim().clearReceived();
    const PhoneCommandPtr done = remove(1);
    ASSERT_TRUE(run(done));
    EXPECT_EQ(done->Result(), dorrak::OK_ANSWER);
    EXPECT_EQ(progress, (QList<qint32>{10, 55, 78}));
    EXPECT_EQ(store->Count(), 0);
    EXPECT_EQ(store->LocationOccupied(0), 0);
    EXPECT_EQ(memory().sm.used(), 0);
}

TEST_F(StoreRig, DeleteSkipsAPartNeverListedAndRefusesAnUnknownMessage)
{
    memory().storeAt(QStringLiteral("SM"), 5, Deliver(QStringLiteral("one"), kAlice, 7, 3, 1));
    memory().storeAt(QStringLiteral("SM"), 7, Deliver(QStringLiteral("three"), kAlice, 7, 3, 3));
    ASSERT_TRUE(readStore());
    ASSERT_EQ(Indexes(*store, 0, 5), (QVector<qint32>{5, -1, 7}));

    sim().clearReceived();
    const PhoneCommandPtr gap = remove(5);
    ASSERT_TRUE(run(gap));
    EXPECT_EQ(gap->Result(), dorrak::OK_ANSWER);
    EXPECT_EQ(storeCommands(), (QStringList{"AT+CPMS=\"SM\",\"SM\"", "AT+CMGD=5", "AT+CMGD=7"}));
    EXPECT_EQ(store->Count(), 0);
    EXPECT_EQ(store->LocationOccupied(0), 0);

    sim().clearReceived();
    const PhoneCommandPtr unknown = remove(5);
    ASSERT_TRUE(run(unknown));
    EXPECT_EQ(unknown->Result(), dorrak::ERROR_ANSWER);
    EXPECT_EQ(unknown->Bag(QStringLiteral("ErrorAnswer")).toString(), QStringLiteral("Message not found"));
    EXPECT_EQ(storeCommands(), QStringList{"AT+CPMS=\"SM\",\"SM\""});
}

TEST_F(StoreRig, OddPdusAreListedAsFarAsTheyGoAndRefusedOnesWithoutText)
{
    const QList<smstest::OddPdu> odd = smstest::OddPdus();
    for (qint32 slot = 1; slot <= odd.size(); ++slot)
        memory().storeAt(QStringLiteral("SM"), slot, odd[slot - 1].pdu, phonesim::kRecRead);
    ASSERT_TRUE(readStore());
    const QStringList r = rows();
    ASSERT_EQ(r.size(), odd.size());
    EXPECT_EQ(store->LocationOccupied(0), odd.size());
    for (qint32 slot = 1; slot <= odd.size(); ++slot) {
        const smstest::OddPdu& k = odd[slot - 1];
        SCOPED_TRACE(k.name);
        const bool read = k.error.isEmpty();
        EXPECT_EQ(r[slot - 1].split(QChar(0)),
                  (QStringList{"0", QString::number(slot), "received read", read ? "+15551234567" : "",
                               read ? "2024/03/15 13:45" : "", k.text.left(70)}));
    }
}

TEST_F(StoreRig, EmptyStorageListsAsOkOrAsErrorByProfile)
{
    for (const bool error : {false, true}) {
        profile().emptyListError = error;
        auto c = std::make_shared<PhoneCommand>();
        c->SetUp(QStringLiteral("AT+CMGL=4\r"), QStringLiteral("OK\r"), QStringLiteral("ERROR;\r"), -3, 5000, false,
                 false, dorrak::mbtQueryPhone);
        ASSERT_TRUE(run(c));
        EXPECT_EQ(c->Result(), error ? dorrak::ERROR_ANSWER : dorrak::OK_ANSWER);
        if (error) {
            EXPECT_EQ(c->Bag(QStringLiteral("ErrorAnswer")).toString().trimmed(), QStringLiteral("ERROR: 321"));
        }
    }
}
