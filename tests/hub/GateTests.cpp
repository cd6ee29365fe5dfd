// The gate's queues, transactions, lost ports, arrivals and kept parts,
// through the simulated phone where a port is involved.
#include "GateRig.h"

#include "hub/engine/ArrivalLine.h"
#include "hub/engine/ChainRegistry.h"
#include "hub/engine/ConnectChain.h"
#include "hub/engine/HubRuntime.h"
#include "hub/messages/SMS.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

using namespace corvane;
using gatetest::GateRig;

namespace {

// Part 1 of 2 of a concatenated message in UCS2 ("Hi"), from +447700900123.
const QString kFirstOfTwo = QStringLiteral("0044"
                                           "0C91447700091032"
                                           "0008"
                                           "12101021000000"
                                           "0A"
                                           "0500032A0201"
                                           "00480069");

std::shared_ptr<SMS> KeptPart()
{
    auto part = std::make_shared<SMS>();
    part->PDU(kFirstOfTwo);
    return part;
}

}  // namespace

TEST(Gate, RawCommandWhileDisconnectedComesBackNotExecuted)
{
    GateRig rig;
    auto owned = GateRig::rawCommand(QStringLiteral("AT+CSQ"), -4);
    auto own = GateRig::rawCommand(QStringLiteral("AT+CSQ"), 0);
    rig.gate.Push(owned);
    rig.gate.Push(own);
    EXPECT_EQ(rig.gate.InputCount(), 2);
    rig.runFor(200);
    ASSERT_EQ(rig.pulled.size(), 1u);
    EXPECT_EQ(rig.pulled[0], owned);
    EXPECT_EQ(owned->Result(), dorrak::NOT_EXECUTED);
    EXPECT_EQ(rig.gate.InputCount(), 0);  // the owner-0 one was dropped
    EXPECT_TRUE(rig.sim().commands().isEmpty());
    EXPECT_EQ(rig.gate.Progress(), 0);
}

TEST(Gate, RawCommandAnswerLandsInTheBag)
{
    GateRig rig;
    ASSERT_TRUE(rig.connect());
    rig.sim().script(QStringLiteral("AT+CSQ"), phonesim::ScriptedReply::Text({QStringLiteral("+CSQ: 17,99")}));
    rig.sim().script(QStringLiteral("AT+CPIN?"), phonesim::ScriptedReply::Error());
    auto good = GateRig::rawCommand(QStringLiteral("AT+CSQ"), -1);
    auto bad = GateRig::rawCommand(QStringLiteral("AT+CPIN?"), -2);
    rig.gate.Push(good);
    rig.gate.Push(bad);
    ASSERT_TRUE(rig.runUntilPulled(bad));
    EXPECT_EQ(good->Result(), dorrak::OK_ANSWER);
    EXPECT_EQ(good->Bag(QStringLiteral("Answer")).toString(), QStringLiteral("OK\r"));
    EXPECT_TRUE(good->Finished());
    EXPECT_EQ(bad->Result(), dorrak::ERROR_ANSWER);
    EXPECT_EQ(bad->Bag(QStringLiteral("ErrorAnswer")).toString(), QStringLiteral("ERROR\r"));
}

TEST(Gate, FailedFirstOfATransactionFailsTheRestUnwritten)
{
    GateRig rig;
    ASSERT_TRUE(rig.connect());
    rig.sim().clearReceived();
    rig.sim().script(QStringLiteral("AT+CPIN?"), phonesim::ScriptedReply::Silence());
    auto first = GateRig::rawCommand(QStringLiteral("AT+CPIN?"), -1, true, false);
    auto second = GateRig::rawCommand(QStringLiteral("AT+CSQ"), -1, false, true);
    auto after = GateRig::rawCommand(QStringLiteral("AT"), -1);
    rig.gate.Push(first);
    rig.gate.Push(second);
    rig.gate.Push(after);
    ASSERT_TRUE(rig.runUntilPulled(after));
    EXPECT_EQ(first->Result(), dorrak::TIME_OUT);
    EXPECT_EQ(second->Result(), dorrak::TRANSACTION_FAIL);
    EXPECT_EQ(after->Result(), dorrak::OK_ANSWER);  // outside the transaction
    EXPECT_EQ(rig.sim().commands(), (QStringList{QStringLiteral("AT+CPIN?"), QStringLiteral("AT")}));
    ASSERT_EQ(rig.pulled.size(), 4u);  // the connect command, then the three in order
    EXPECT_EQ(rig.pulled[1], first);
    EXPECT_EQ(rig.pulled[2], second);
}

TEST(Gate, PortLostMidChainEndsTheCommandInterrupted)
{
    GateRig rig;
    rig.gate.KeptParts()->Add(KeptPart());
    auto command = GateRig::connectCommand(rig.phone.comPort());
    rig.gate.Push(command);
    ASSERT_TRUE(rig.runUntil([&] { return rig.sim().commands().contains(QStringLiteral("AT+CGSN")); }));
    rig.sim().unplug();
    ASSERT_TRUE(rig.runUntilPulled(command, 5000));
    EXPECT_EQ(command->Result(), dorrak::INTERRUPTED);
    EXPECT_TRUE(command->Bag(QStringLiteral("AT")).toBool());
    EXPECT_FALSE(rig.gate.connected());
    // The kept part comes out with it.
    ASSERT_EQ(rig.pulled.size(), 2u);
    EXPECT_EQ(rig.pulled[1]->Result(), dorrak::INTERRUPTED);
    EXPECT_EQ(rig.gate.KeptParts()->Count(), 0);
}

TEST(Gate, DisconnectWhileConnectionAwaitedWaitsForIt)
{
    GateRig rig;
    auto command = GateRig::connectCommand(rig.phone.comPort());
    rig.gate.Push(command);
    rig.gate.EngineTick();  // "Connecting": the port opens on the port's next tick
    rig.gate.Disconnect();
    EXPECT_EQ(rig.gate.ActiveCommand(), command);
    ASSERT_TRUE(rig.runUntilPulled(command, 1000));
    EXPECT_EQ(command->Result(), dorrak::INTERRUPTED);
    EXPECT_FALSE(rig.gate.connected());
    EXPECT_TRUE(rig.sim().commands().isEmpty());
}

TEST(Gate, WatchersAskedForWhileConnectionAwaitedArmAfterIt)
{
    GateRig rig;
    auto command = GateRig::connectCommand(rig.phone.comPort());
    rig.gate.Push(command);
    rig.gate.EngineTick();
    rig.gate.WaitSMS();
    rig.gate.WaitStatusReport();
    EXPECT_FALSE(rig.gate.Comm().WaitSMS());  // the port is not open yet
    ASSERT_TRUE(rig.runUntil([&] { return rig.gate.connected(); }, 1000));
    rig.runFor(100);
    EXPECT_TRUE(rig.gate.Comm().WaitSMS());
    EXPECT_TRUE(rig.gate.Comm().WaitStatusReport());
    ASSERT_TRUE(rig.runUntilPulled(command));
    EXPECT_TRUE(command->Bag(QStringLiteral("AT")).toBool());
}

TEST(Gate, StartThatFailsEndsTheStepAsAnErrorAnswer)
{
    // No event follows a refused start, so without this the gate would wait
    // for ever and never take the next command.
    struct Case {
        const char* name;
        std::function<void(PhoneCommand&)> spoil;
    };
    const Case cases[] = {
        {"malformed port name", [](PhoneCommand& c) { c.setBag(QStringLiteral("PortName"), QStringLiteral("COMx")); }},
        {"no time-outs", [](PhoneCommand& c) { c.Items().Remove(QStringLiteral("PortTimeouts")); }},
        {"short time-outs",
         [](PhoneCommand& c) { c.setBag(QStringLiteral("PortTimeouts"), QVariant::fromValue(QVector<qint32>(3, 0))); }},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        GateRig rig;
        auto command = GateRig::connectCommand(rig.phone.comPort());
        k.spoil(*command);
        auto next = GateRig::rawCommand(QStringLiteral("AT"), -2);
        rig.gate.Push(command);
        rig.gate.Push(next);
        ASSERT_TRUE(rig.runUntilPulled(next, 1000));
        EXPECT_EQ(command->Result(), dorrak::ERROR_ANSWER);
        EXPECT_FALSE(command->Bag(QStringLiteral("AT")).toBool());
        EXPECT_EQ(command->GetProgress(), 100);
        EXPECT_EQ(next->Result(), dorrak::NOT_EXECUTED);
    }
}

TEST(Gate, CommandWhoseSetUpFailedComesBackNotExecuted)
{
    QTemporaryDir logs;
    GateRig rig;
    rig.gate.LogToFile(logs.path());
    auto unknown = std::make_shared<PhoneCommand>();
    EXPECT_EQ(unknown->SetUp(QStringLiteral("NoSuchChain"), QString(), QString(), -3, 5000, true, false,
                             dorrak::mbtLightCommand),
              QStringLiteral("Unknown command"));
    auto unset = std::make_shared<PhoneCommand>();  // never set up, owner 0
    auto rest = GateRig::rawCommand(QStringLiteral("AT"), -4, false, true);
    rig.gate.Push(unknown);
    rig.gate.Push(unset);
    rig.gate.Push(rest);
    rig.runFor(300);
    ASSERT_EQ(rig.pulled.size(), 2u);
    EXPECT_EQ(rig.pulled[0], unknown);
    EXPECT_EQ(unknown->Result(), dorrak::NOT_EXECUTED);
    EXPECT_TRUE(unknown->Finished());
    // It opened a transaction, whose rest fails with it.
    EXPECT_EQ(rig.pulled[1], rest);
    EXPECT_EQ(rest->Result(), dorrak::TRANSACTION_FAIL);
    EXPECT_EQ(rig.gate.InputCount(), 0);

    // With no step there is no command text to log.
    rig.gate.LogToFile(QString());
    QFile log(logs.path() + QStringLiteral("/ParlovaHubLog.txt"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QByteArray text = log.readAll();
    EXPECT_TRUE(text.contains("\tPush. Count=1, command=, owner=-3\r\n")) << text.constData();
    EXPECT_TRUE(text.contains("\tPush. Count=2, command=, owner=0\r\n")) << text.constData();
    EXPECT_TRUE(text.contains("\tPush. Count=3, command=AT\r, owner=-4\r\n")) << text.constData();
}

TEST(Gate, KeptPartsTimeOutAfterThirtySeconds)
{
    GateRig rig;
    auto part = KeptPart();
    ASSERT_FALSE(part->AllReceived());
    rig.gate.KeptParts()->Add(part);

    rig.phone.clock().advance(30000);
    rig.gate.PartsTick();
    EXPECT_EQ(rig.gate.OutputCount(), 0);
    EXPECT_EQ(rig.gate.KeptParts()->Count(), 1);

    rig.phone.clock().advance(1000);
    rig.gate.PartsTick();
    ASSERT_EQ(rig.gate.OutputCount(), 1);
    EXPECT_EQ(rig.gate.KeptParts()->Count(), 0);
    const PhoneCommandPtr flushed = rig.gate.Pull();
    EXPECT_EQ(flushed->Result(), dorrak::TIME_OUT);
    EXPECT_EQ(flushed->Owner(), 0);
    EXPECT_TRUE(flushed->Bag(QStringLiteral("ReadSMS")).toBool());
    EXPECT_FALSE(flushed->Bag(QStringLiteral("StatusReport")).toBool());
    EXPECT_EQ(flushed->Bag(QStringLiteral("Message")).toString(), part->UserData());
    EXPECT_TRUE(flushed->Bag(QStringLiteral("Message")).toString().contains(QStringLiteral("Hi")));
    EXPECT_EQ(flushed->Bag(QStringLiteral("Address")).toString(), part->Address());
}

TEST(Gate, DisconnectFlushesKeptPartsInterrupted)
{
    GateRig rig;
    ASSERT_TRUE(rig.connect());
    rig.pulled.clear();
    rig.gate.KeptParts()->Add(KeptPart());
    rig.gate.KeptParts()->Add(KeptPart());
    rig.gate.Disconnect();
    EXPECT_FALSE(rig.gate.connected());
    EXPECT_EQ(rig.gate.ComPort(), QString());
    EXPECT_EQ(rig.gate.KeptParts()->Count(), 0);
    ASSERT_EQ(rig.gate.OutputCount(), 2);
    EXPECT_EQ(rig.gate.Pull()->Result(), dorrak::INTERRUPTED);
    EXPECT_EQ(rig.gate.Pull()->Result(), dorrak::INTERRUPTED);
}

// ---------------------------------------------------------------------------
// Arrivals

TEST(ArrivalLine, StorageAndIndex)
{
    struct Case {
        const char* line;
        double shift;
        bool valid;
        bool named;
        const char* type;
        double index;
    };
    const Case cases[] = {
        {"+CMTI: \"SM\",3\r", 0, true, true, "\"SM\"", 3},
        {"+CMTI: \"ME\",12\r", 10, true, true, "\"ME\"", 2},
        {"+CMTI: \"SM\",12\r", 10, true, true, "\"SM\"", 12},
        // The standard status-report line names its storage too.
        {"+CDSI: \"SR\",4\r", 0, true, true, "\"SR\"", 4},
        {"+CDSI: 4\r", 0, true, false, "", 4},
        {"+CMGW: 5\r", 0, true, false, "", 5},
        {"+CMTI: SM,65535\r", 0, true, true, "SM", 65535},
        {"+CMTI: \"SM01\", 0\r", 0, true, true, "\"SM01\"", 0},
        // What goes into a command must be plain: anything else names nothing.
        {"+CMGW: x\r", 0, false, false, "", 0},
        {"+CMTI: \"SM\",\r", 0, false, false, "", 0},
        {"+CMTI: \"SM\",65536\r", 0, false, false, "", 0},
        {"+CMTI: \"SM\",3;+CMGD=1\r", 0, false, false, "", 0},
        {"+CMTI: \"SM\";+CMGD=1,4\r", 0, false, false, "", 0},
        {"+CMTI: \"S\",3\r", 0, false, false, "", 0},
        {"+CMTI: \"SMSMS\",3\r", 0, false, false, "", 0},
        {"+CMTI: \"S\"M\",3\r", 0, false, false, "", 0},
        {"garbage", 0, false, false, "", 0},
    };
    for (const Case& c : cases) {
        const ArrivalLocation at = ParseArrivalLine(QString::fromLatin1(c.line), c.shift);
        EXPECT_EQ(at.valid, c.valid) << c.line;
        EXPECT_EQ(at.storageNamed, c.named) << c.line;
        EXPECT_EQ(at.memoryType, QString::fromLatin1(c.type)) << c.line;
        EXPECT_EQ(at.memoryIndex, c.index) << c.line;
    }
}

namespace {

// Stands in for the read chain: one "AT", then "Message" names what it would
// have read; an index of 0 reads nothing.
class StandInRead : public FixedStep {
public:
    StandInRead() : FixedStep(QStringLiteral("AT\r"), QStringLiteral("OK\r"), QStringLiteral("ERROR\r"), 5000) {}
    StepPtr Advance(PhoneCommand& command) override
    {
        const double index = command.Bag(QStringLiteral("MemoryIndex")).toDouble();
        if (index > 0)
            command.setBag(QStringLiteral("Message"),
                           command.Bag(QStringLiteral("MemoryType")).toString() + QString::number(index));
        return nullptr;
    }
};

class Arrivals : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const ChainFactory* f = ChainRegistry::Find(QStringLiteral("ReadSMS")))
            saved_ = *f;
        ChainRegistry::Register(QStringLiteral("ReadSMS"), [this](PhoneCommand& c, const SetUpArguments& a) {
            lines_.push_back(a.Answer);
            PrepareReadSMS(c, a.Answer);
            return std::make_shared<StandInRead>();
        });
    }
    void TearDown() override
    {
        if (saved_)
            ChainRegistry::Register(QStringLiteral("ReadSMS"), *saved_);
        else
            ChainRegistry::Unregister(QStringLiteral("ReadSMS"));
    }

    std::optional<ChainFactory> saved_;
    QStringList lines_;
};

}  // namespace

TEST(UnknownArrivalChain, AnArrivalThatCannotBeReadIsLoggedWithItsLine)
{
    GateRig rig;
    ASSERT_TRUE(rig.connect());
    rig.pulled.clear();
    QTemporaryDir logs;
    rig.gate.LogToFile(logs.path());
    const ChainFactory saved = *ChainRegistry::Find(QStringLiteral("ReadSMS"));
    ChainRegistry::Unregister(QStringLiteral("ReadSMS"));
    rig.gate.WaitSMS();
    rig.sim().inject(QStringLiteral("+CMTI: \"ME\",25"));
    rig.runFor(2000);
    ChainRegistry::Register(QStringLiteral("ReadSMS"), saved);
    rig.gate.LogToFile(QString());

    EXPECT_TRUE(rig.pulled.empty());
    EXPECT_EQ(rig.gate.InputCount(), 0);
    QFile log(logs.path() + QStringLiteral("/ParlovaHubLog.txt"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString text = QString::fromLatin1(log.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("UnsolicitedArrival error: Unknown command. Line: +CMTI: \"ME\",25")))
        << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("Push. Count=1, command=, owner=0"))) << "no empty push";
}

TEST_F(Arrivals, LineQueuesAnOwnerZeroReadCommand)
{
    GateRig rig;
    ASSERT_TRUE(rig.connect());
    rig.pulled.clear();
    rig.gate.SetShiftME(20);
    rig.gate.WaitSMS();
    rig.gate.WaitStatusReport();

    rig.sim().inject(QStringLiteral("+CMTI: \"ME\",25"));
    ASSERT_TRUE(rig.runUntil([&] { return !rig.pulled.empty(); }, 3000));
    const PhoneCommandPtr read = rig.pulled[0];
    EXPECT_EQ(lines_, QStringList{QStringLiteral("+CMTI: \"ME\",25\r")});
    EXPECT_EQ(read->Owner(), 0);
    EXPECT_EQ(read->Result(), dorrak::OK_ANSWER);
    EXPECT_TRUE(read->Bag(QStringLiteral("ReadSMS")).toBool());
    EXPECT_EQ(read->Bag(QStringLiteral("ShiftME")).toInt(), 20);
    EXPECT_EQ(read->Bag(QStringLiteral("MemoryIndex")).toDouble(), 5.0);
    EXPECT_EQ(read->Bag(QStringLiteral("Message")).toString(), QStringLiteral("\"ME\"5"));
    EXPECT_EQ(read->ConcatenatedSMS(), rig.gate.KeptParts());

    rig.sim().inject(QStringLiteral("+CDSI: \"SR\",4"));
    ASSERT_TRUE(rig.runUntil([&] { return rig.pulled.size() == 2; }, 3000));
    EXPECT_EQ(rig.pulled[1]->Bag(QStringLiteral("Message")).toString(), QStringLiteral("\"SR\"4"));

    // A read that leaves no message is dropped.
    rig.sim().inject(QStringLiteral("+CMTI: \"SM\",0"));
    ASSERT_TRUE(rig.runUntil([&] { return lines_.size() == 3; }, 3000));
    rig.runFor(1000);
    EXPECT_EQ(rig.pulled.size(), 2u);
    EXPECT_EQ(rig.gate.InputCount(), 0);
    EXPECT_EQ(rig.gate.ActiveCommand(), nullptr);
}

TEST_F(Arrivals, ArrivalWithoutAReadChainIsDroppedSafely)
{
    ChainRegistry::Unregister(QStringLiteral("ReadSMS"));
    GateRig rig;
    ASSERT_TRUE(rig.connect());
    rig.pulled.clear();
    rig.gate.WaitSMS();
    rig.sim().inject(QStringLiteral("+CMTI: \"SM\",1"));
    rig.runFor(1000);
    EXPECT_TRUE(rig.pulled.empty());
    EXPECT_EQ(rig.gate.InputCount(), 0);
    // The gate goes on.
    auto next = GateRig::rawCommand(QStringLiteral("AT"), -1);
    rig.gate.Push(next);
    ASSERT_TRUE(rig.runUntilPulled(next, 2000));
    EXPECT_EQ(next->Result(), dorrak::OK_ANSWER);
}

TEST(Gate, ABlankFolderNameClosesTheLogsInsteadOfWritingAtTheRoot)
{
    QTemporaryDir logs;
    GateRig rig;
    rig.gate.LogToFile(logs.path());
    EXPECT_TRUE(corvane::HubLog().IsOpen());
    rig.gate.LogToFile(QStringLiteral("   "));
    EXPECT_FALSE(corvane::HubLog().IsOpen());
    EXPECT_FALSE(QFile::exists(QStringLiteral("/ParlovaHubLog.txt")));
}
