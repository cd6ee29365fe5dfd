// The "Scan" chain run by the gate over several ports: missing devices, a
// device that never answers and the simulated phone.
#include "GateRig.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>

using namespace corvane;
using gatetest::GateRig;

namespace {

// Ports 11 to 14: 11 maps to nothing, 12 opens but never answers, 13 is the
// phone, 14 maps to nothing.
struct FourPorts {
    FourPorts() : rig(13), none11(11), deaf(12), none14(14)
    {
        phonesim::MakeDeaf(deaf.sim);
        rig.devices.push_back(&deaf.sim);
    }
    GateRig rig;
    gatetest::UnmappedPort none11;
    gatetest::ExtraDevice deaf;
    gatetest::UnmappedPort none14;
};

// As the client's Scan order fills it; fillFirst false writes "NextPort"
// after the set-up, as the order once did.
PhoneCommandPtr ScanCommand(int first, int last, bool fillFirst = true)
{
    auto command = std::make_shared<PhoneCommand>();
    const auto fill = [&] {
        GateRig::fillPort(*command, QStringLiteral("COM") + QString::number(first));
        command->setBag(QStringLiteral("NextPort"), qint32(first));
        command->setBag(QStringLiteral("MaxPort"), qint32(last));
    };
    if (fillFirst)
        fill();
    EXPECT_EQ(command->SetUp(QStringLiteral("Scan"), QStringLiteral("OK\r"), QStringLiteral("ERROR\r"), -2, 5000,
                             false, false, dorrak::mbtLightCommand),
              QString());
    if (!fillFirst)
        fill();
    return command;
}

}  // namespace

TEST(ScanChain, FindsOnlyThePhoneOnTheThirdOfFourPorts)
{
    for (const bool fillFirst : {true, false}) {
        SCOPED_TRACE(fillFirst ? "bag filled before the set-up" : "\"NextPort\" written after the set-up");
        FourPorts ports;
        GateRig& rig = ports.rig;
        rig.profile().maker = QStringLiteral("Parvik");
        rig.profile().model = QStringLiteral("Model 6230");
        auto command = ScanCommand(11, 14, fillFirst);

        std::vector<qint32> progress{command->GetProgress()};
        qint64 deafFrom = -1, deafTo = -1;
        rig.observer = [&] {
            if (command->GetProgress() != progress.back())
                progress.push_back(command->GetProgress());
            // When the scan reached the deaf port, and when it left it.
            if (deafFrom < 0 && !ports.deaf.sim.received().isEmpty())
                deafFrom = rig.now();
            if (deafTo < 0 && !rig.sim().received().isEmpty())
                deafTo = rig.now();
        };
        rig.gate.Push(command);
        ASSERT_TRUE(rig.runUntilPulled(command, 60000));

        EXPECT_EQ(progress, (std::vector<qint32>{0, 25, 50, 75, 100}));
        // Only the phone's port is recorded.
        EXPECT_TRUE(command->Bag(QStringLiteral("PhATs13")).toBool());
        EXPECT_EQ(command->Bag(QStringLiteral("PhMakers13")).toString(), QStringLiteral("Parvik"));
        EXPECT_EQ(command->Bag(QStringLiteral("PhNames13")).toString(), QStringLiteral("Model 6230"));
        for (const char* key : {"PhATs", "PhMakers", "PhNames"})
            for (int port : {11, 12, 14})
                EXPECT_FALSE(command->Bag(QString::fromLatin1(key) + QString::number(port)).isValid())
                    << key << port;
        EXPECT_EQ(command->Bag(QStringLiteral("NextPort")).toInt(), 15);
        EXPECT_EQ(command->Bag(QStringLiteral("PortName")).toString(), QStringLiteral("COM15"));
        EXPECT_EQ(command->Bag(QStringLiteral("MinPort")).toInt(), 11);

        // The silent port got two "AT" of 1000 ms each, nothing else.
        EXPECT_EQ(ports.deaf.sim.commands(), (QStringList{QStringLiteral("AT"), QStringLiteral("AT")}));
        EXPECT_GE(deafTo - deafFrom, 2000);
        EXPECT_LT(deafTo - deafFrom, 2500);
        // The phone, echo on as it is during a scan.
        EXPECT_EQ(rig.sim().commands(),
                  (QStringList{QStringLiteral("AT"), QStringLiteral("AT+CGMI"), QStringLiteral("AT+GMM")}));
        EXPECT_TRUE(rig.sim().state().echo);
        // The whole scan: two missing ports cost no waiting.
        EXPECT_LT(rig.now(), 4000);
        // Moving on to the last port closed the phone's.
        EXPECT_FALSE(rig.gate.connected());
    }
}

TEST(ScanChain, MakerRefusedFallsBackToIdentification)
{
    GateRig rig(5);
    rig.profile().maker.clear();  // "AT+CGMI" answers ERROR
    rig.profile().ident = {QStringLiteral("Parvik Mobile"), QStringLiteral("Model 6230 rev 2")};
    auto command = ScanCommand(5, 5);
    rig.gate.Push(command);
    ASSERT_TRUE(rig.runUntilPulled(command, 20000));
    EXPECT_EQ(rig.sim().commands(),
              (QStringList{QStringLiteral("AT"), QStringLiteral("AT+CGMI"), QStringLiteral("ATI")}));
    EXPECT_TRUE(command->Bag(QStringLiteral("PhATs5")).toBool());
    EXPECT_FALSE(command->Bag(QStringLiteral("PhMakers5")).isValid());
    // Inner line ends stay.
    EXPECT_EQ(command->Bag(QStringLiteral("PhNames5")).toString(),
              QStringLiteral("Parvik Mobile\r\n\r\nModel 6230 rev 2"));
    EXPECT_EQ(command->GetProgress(), 100);
    // The last port that opened stays open for the client to close.
    EXPECT_TRUE(rig.gate.connected());
    EXPECT_EQ(rig.gate.ComPort(), QStringLiteral("COM5"));
}

TEST(ScanChain, ModelRefusedOrSilent)
{
    struct Case {
        const char* name;
        phonesim::ScriptedReply reply;
        QString expected;
    };
    const Case cases[] = {
        {"refused", phonesim::ScriptedReply::Error(), QStringLiteral("name is unavailable")},
        {"silent", phonesim::ScriptedReply::Silence(), QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GateRig rig(5);
        rig.profile().maker = QStringLiteral("Parvik");
        rig.profile().makerPrefixed = true;
        rig.sim().script(QStringLiteral("AT+GMM"), c.reply);
        auto command = ScanCommand(5, 5);
        rig.gate.Push(command);
        ASSERT_TRUE(rig.runUntilPulled(command, 20000));
        EXPECT_EQ(command->Bag(QStringLiteral("PhMakers5")).toString(), QStringLiteral("Parvik"));
        ASSERT_TRUE(command->Bag(QStringLiteral("PhNames5")).isValid());
        EXPECT_EQ(command->Bag(QStringLiteral("PhNames5")).toString(), c.expected);
    }
}

TEST(ScanChain, SinglePortRangeEndsAfterItsConnecting)
{
    GateRig rig(5);
    gatetest::UnmappedPort none(6);
    auto command = ScanCommand(6, 6);
    rig.gate.Push(command);
    ASSERT_TRUE(rig.runUntilPulled(command, 2000));
    EXPECT_EQ(command->GetProgress(), 100);
    EXPECT_EQ(command->Bag(QStringLiteral("NextPort")).toInt(), 7);
    EXPECT_FALSE(rig.gate.connected());
}

TEST(ScanChain, ProgressRoundsHalvesToEven)
{
    // Ports 1 to 8, none of them there: 12 (from 12.5) after the first, 38
    // (from 37.5) after the third.
    GateRig rig(5);
    std::vector<std::unique_ptr<gatetest::UnmappedPort>> none;
    for (int port = 21; port <= 28; ++port)
        none.push_back(std::make_unique<gatetest::UnmappedPort>(port));
    auto command = ScanCommand(21, 28);
    std::vector<qint32> progress{command->GetProgress()};
    rig.observer = [&] {
        if (command->GetProgress() != progress.back())
            progress.push_back(command->GetProgress());
    };
    rig.gate.Push(command);
    ASSERT_TRUE(rig.runUntilPulled(command, 5000));
    EXPECT_EQ(progress, (std::vector<qint32>{0, 12, 25, 38, 50, 62, 75, 88, 100}));
}

TEST(ScanChain, TheLargestPortNumberEndsTheRangeWithoutWrapping)
{
    // The step alone, as if the port had not opened: "NextPort" + 1 must
    // neither overflow nor wrap round to the first ports.
    PhoneCommand command;
    command.setBag(QStringLiteral("NextPort"), std::numeric_limits<qint32>::max());
    command.setBag(QStringLiteral("MaxPort"), std::numeric_limits<qint32>::max());
    ASSERT_EQ(command.SetUp(QStringLiteral("Scan"), QString(), QString(), -1, 0, false, false, dorrak::mbtLightCommand),
              QString());
    command.SetResult(dorrak::ERROR_ANSWER);
    command.Step();
    EXPECT_TRUE(command.Finished());
    EXPECT_EQ(command.GetProgress(), 100);
    EXPECT_EQ(command.Bag(QStringLiteral("NextPort")).toDouble(), 2147483648.0);
}
