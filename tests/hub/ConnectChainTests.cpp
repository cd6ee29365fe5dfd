// The "Connect" chain run by the gate against the simulated phone.
#include "GateRig.h"

#include <gtest/gtest.h>

using namespace corvane;
using gatetest::GateRig;

namespace {

QString Text(const PhoneCommand& c, const char* key) { return c.Bag(QString::fromLatin1(key)).toString(); }
bool Flag(const PhoneCommand& c, const char* key) { return c.Bag(QString::fromLatin1(key)).toBool(); }
bool Has(const PhoneCommand& c, const char* key) { return c.Bag(QString::fromLatin1(key)).isValid(); }

// Runs one "Connect" to the rig's phone and keeps the progress values it
// went through, each once.
struct ConnectRun {
    explicit ConnectRun(GateRig& rig) : rig(rig) {}

    PhoneCommandPtr run()
    {
        command = GateRig::connectCommand(rig.phone.comPort());
        progress = {command->GetProgress()};
        rig.observer = [this] {
            if (command->GetProgress() != progress.back())
                progress.push_back(command->GetProgress());
        };
        rig.gate.Push(command);
        finished = rig.runUntilPulled(command);
        return command;
    }

    GateRig& rig;
    PhoneCommandPtr command;
    std::vector<qint32> progress;
    bool finished = false;
};

const QStringList kFullRun = {
    QStringLiteral("AT"),           QStringLiteral("ATE0"),
    QStringLiteral("AT+GMM"),       QStringLiteral("AT+CGSN"),
    QStringLiteral("AT+CNMI=?"),    QStringLiteral("AT+CNMI=2,1,,2,"),
    QStringLiteral("AT+CPMS?"),     QStringLiteral("AT+CPMS=\"SM\",\"ME\""),
    QStringLiteral("AT+CMGF=0"),    QStringLiteral("AT+CSCS=\"UCS2\""),
    QStringLiteral("AT+CMMS=2"),    QStringLiteral("AT+CMEE=?"),
    QStringLiteral("AT+CMEE=2"),
};

}  // namespace

TEST(ConnectChain, FillsTheBagWithTheProgressSequence)
{
    // The whole simulator, every command file answering, as the program
    // meets it.
    GateRig rig;
    ConnectRun run(rig);
    const PhoneCommandPtr c = run.run();
    ASSERT_TRUE(run.finished);

    EXPECT_EQ(rig.sim().commands(), kFullRun);
    EXPECT_TRUE(Flag(*c, "AT"));
    EXPECT_EQ(Text(*c, "PhoneName"), QStringLiteral("Model 6230"));
    EXPECT_EQ(Text(*c, "IMEI"), QStringLiteral("352099001761481"));
    EXPECT_EQ(Text(*c, "NMIcommand"), QStringLiteral("2,1,,2,"));
    EXPECT_TRUE(Flag(*c, "NSMIset"));
    EXPECT_TRUE(Flag(*c, "NMI"));
    EXPECT_TRUE(Flag(*c, "NSMI"));
    EXPECT_EQ(c->Bag(QStringLiteral("TotalMT")).toInt(), 270);
    EXPECT_EQ(c->Bag(QStringLiteral("ShiftME")).toInt(), 20);
    EXPECT_EQ(c->Bag(QStringLiteral("ShiftME")).typeId(), QMetaType::Int);  // written as 32-bit
    EXPECT_TRUE(Flag(*c, "PDU"));
    EXPECT_TRUE(Flag(*c, "UCS2"));
    EXPECT_EQ(c->Bag(QStringLiteral("MEEcode")).toInt(), 2);
    EXPECT_EQ(c->Result(), dorrak::OK_ANSWER);
    EXPECT_TRUE(c->Finished());
    EXPECT_EQ(run.progress, (std::vector<qint32>{0, 10, 20, 15, 30, 40, 50, 60, 65, 70, 80, 90, 95, 100}));

    // The phone is left as the other chains expect it, and the port open.
    EXPECT_FALSE(rig.sim().state().echo);
    EXPECT_EQ(rig.profile().cnmi, QStringLiteral("2,1,,2,"));
    EXPECT_EQ(rig.sim().state().cmee, 2);
    EXPECT_TRUE(rig.gate.connected());
    EXPECT_EQ(rig.gate.ComPort(), QStringLiteral("COM7"));
    EXPECT_EQ(rig.gate.Speed(), 9600);
    EXPECT_EQ(rig.gate.Progress(), 0);  // no longer active
}

namespace {

struct Variant {
    const char* name;
    std::function<void(phonesim::ConnectProfile&, phonesim::PhoneState&)> set;
    std::function<void(const PhoneCommand&, const QStringList& commands)> check;
};

}  // namespace

TEST(ConnectChain, PhoneVariantsTakeTheirBranches)
{
    const Variant variants[] = {
        {"AT answered on the third try",
         [](auto& p, auto&) { p.atUnanswered = 2; },
         [](const PhoneCommand& c, const QStringList& cmds) {
             EXPECT_EQ(cmds.mid(0, 4), (QStringList{"AT", "AT", "AT", "ATE0"}));
             EXPECT_TRUE(Flag(c, "AT"));
             EXPECT_EQ(c.Bag("MEEcode").toInt(), 2);
         }},
        {"ATE0 refused: the echo stays and every answer still parses",
         [](auto& p, auto&) { p.echoOffRefused = true; },
         [](const PhoneCommand& c, const QStringList& cmds) {
             EXPECT_EQ(cmds, kFullRun);
             EXPECT_EQ(Text(c, "PhoneName"), "Model 6230");
             EXPECT_EQ(Text(c, "IMEI"), "352099001761481");
             EXPECT_EQ(Text(c, "NMIcommand"), "2,1,,2,");
             EXPECT_EQ(c.Bag("ShiftME").toInt(), 20);
             EXPECT_EQ(c.Bag("MEEcode").toInt(), 2);
         }},
        {"model written with its +CGMM prefix",
         [](auto& p, auto&) {
             p.model = "X1";
             p.modelPrefixed = true;
         },
         [](const PhoneCommand& c, const QStringList&) { EXPECT_EQ(Text(c, "PhoneName"), "X1"); }},
        {"model refused",
         [](auto& p, auto&) { p.modelRefused = true; },
         [](const PhoneCommand& c, const QStringList& cmds) {
             EXPECT_FALSE(Has(c, "PhoneName"));
             EXPECT_EQ(cmds, kFullRun);
         }},
        {"IMEI with hyphens",
         [](auto& p, auto&) { p.imei = "35-209900-176148-1"; },
         [](const PhoneCommand& c, const QStringList&) { EXPECT_EQ(Text(c, "IMEI"), "352099001761481"); }},
        {"IMEI of 17 digits",
         [](auto& p, auto&) { p.imei = "35209900176148123"; },
         [](const PhoneCommand& c, const QStringList&) { EXPECT_EQ(Text(c, "IMEI"), "352099001761481"); }},
        {"IMEI without digits",
         [](auto& p, auto&) { p.imei = "unknown"; },
         [](const PhoneCommand& c, const QStringList&) { EXPECT_FALSE(Has(c, "IMEI")); }},
        {"indications without status reports",
         [](auto& p, auto&) { p.cnmiTest = "(1,3),(0,1),(0),(0,1),(0)"; },
         [](const PhoneCommand& c, const QStringList& cmds) {
             EXPECT_TRUE(cmds.contains("AT+CNMI=1,1,,,"));
             EXPECT_EQ(Text(c, "NMIcommand"), "1,1,,,");
             EXPECT_FALSE(Flag(c, "NSMIset"));
             EXPECT_TRUE(Flag(c, "NMI"));
             EXPECT_FALSE(Flag(c, "NSMI"));
         }},
        {"indications that give no command skip the storages",
         [](auto& p, auto&) { p.cnmiTest = "(0,3),(0,2,3),(0),(0),(0)"; },
         [](const PhoneCommand& c, const QStringList& cmds) {
             const qsizetype test = cmds.indexOf("AT+CNMI=?");
             ASSERT_GE(test, 0);
             EXPECT_EQ(cmds.value(test + 1), "AT+CMGF=0");
             EXPECT_FALSE(Has(c, "NMIcommand"));
             EXPECT_TRUE(Has(c, "NSMIset"));
             EXPECT_FALSE(Flag(c, "NSMIset"));
             EXPECT_FALSE(Flag(c, "NMI"));
             EXPECT_FALSE(Has(c, "TotalMT"));
             EXPECT_EQ(c.Bag("ShiftME").toInt(), 0);
         }},
        {"indication test refused",
         [](auto& p, auto&) { p.cnmiTest.clear(); },
         [](const PhoneCommand& c, const QStringList& cmds) {
             EXPECT_EQ(cmds.value(cmds.indexOf("AT+CNMI=?") + 1), "AT+CMGF=0");
             EXPECT_FALSE(Flag(c, "NSMIset"));
             EXPECT_TRUE(Flag(c, "PDU"));
         }},
        {"indication setting refused",
         [](auto& p, auto&) { p.cnmiSetRefused = true; },
         [](const PhoneCommand& c, const QStringList& cmds) {
             EXPECT_EQ(cmds, kFullRun);
             EXPECT_TRUE(Flag(c, "NSMIset"));
             EXPECT_FALSE(Flag(c, "NMI"));
             EXPECT_FALSE(Flag(c, "NSMI"));
         }},
        {"storages listed with six fields",
         [](auto& p, auto&) { p.cpmsQuery = "5,20,2,250,7,270"; },
         [](const PhoneCommand& c, const QStringList& cmds) {
             EXPECT_FALSE(cmds.contains("AT+CPMS=\"SM\",\"ME\""));
             EXPECT_FALSE(Has(c, "TotalMT"));
             EXPECT_EQ(c.Bag("ShiftME").toInt(), 0);
         }},
        {"third storage not MT",
         [](auto& p, auto&) { p.cpmsQuery = "\"SM\",5,20,\"ME\",2,250,\"SM\",5,20"; },
         [](const PhoneCommand& c, const QStringList&) { EXPECT_FALSE(Has(c, "TotalMT")); }},
        {"totals that do not add up",
         [](auto& p, auto&) { p.cpmsQuery = "\"SM\",5,20,\"ME\",2,250,\"MT\",2,250"; },
         [](const PhoneCommand& c, const QStringList& cmds) {
             EXPECT_TRUE(cmds.contains("AT+CPMS=\"SM\",\"ME\""));
             EXPECT_EQ(c.Bag("TotalMT").toInt(), 250);
             EXPECT_EQ(c.Bag("ShiftME").toInt(), 0);
         }},
        {"totals after the setting listed with their storage names",
         [](auto& p, auto&) { p.cpmsSet = "\"SM\",5,20,\"ME\",2,250,\"MT\",7,270"; },
         [](const PhoneCommand& c, const QStringList&) { EXPECT_EQ(c.Bag("ShiftME").toInt(), 20); }},
        {"PDU mode refused",
         [](auto& p, auto&) { p.pduRefused = true; },
         [](const PhoneCommand& c, const QStringList&) {
             EXPECT_TRUE(Has(c, "PDU"));
             EXPECT_FALSE(Flag(c, "PDU"));
         }},
        {"UCS2 refused is recorded, not assumed",
         [](auto& p, auto&) { p.ucs2Refused = true; },
         [](const PhoneCommand& c, const QStringList& cmds) {
             EXPECT_EQ(cmds, kFullRun);
             EXPECT_FALSE(Flag(c, "UCS2"));
             EXPECT_EQ(c.Bag("MEEcode").toInt(), 2);
         }},
        {"link control never answered",
         [](auto& p, auto&) { p.mmsSilent = true; },
         [](const PhoneCommand& c, const QStringList& cmds) {
             EXPECT_EQ(cmds, kFullRun);
             EXPECT_EQ(c.Bag("MEEcode").toInt(), 2);
             EXPECT_EQ(c.Result(), dorrak::OK_ANSWER);
         }},
        {"error modes 0 and 1",
         [](auto& p, auto&) { p.cmeeTest = "(0,1)"; },
         [](const PhoneCommand& c, const QStringList& cmds) {
             EXPECT_EQ(cmds.last(), "AT+CMEE=1");
             EXPECT_EQ(c.Bag("MEEcode").toInt(), 1);
         }},
        {"error mode 0 only",
         [](auto& p, auto&) { p.cmeeTest = "(0)"; },
         [](const PhoneCommand& c, const QStringList& cmds) {
             EXPECT_EQ(cmds.last(), "AT+CMEE=0");
             EXPECT_EQ(c.Bag("MEEcode").toInt(), 0);
             EXPECT_EQ(c.Result(), dorrak::OK_ANSWER);
         }},
        {"error-mode test refused: the mode in force is read back",
         [](auto& p, auto& phone) {
             p.cmeeTest.clear();
             phone.cmee = 1;
         },
         [](const PhoneCommand& c, const QStringList& cmds) {
             EXPECT_EQ(cmds.mid(cmds.size() - 2), (QStringList{"AT+CMEE=?", "AT+CMEE?"}));
             EXPECT_EQ(c.Bag("MEEcode").toDouble(), 1.0);
             EXPECT_EQ(c.Bag("MEEcode").typeId(), QMetaType::Double);
             EXPECT_EQ(c.Result(), dorrak::OK_ANSWER);
         }},
        {"error mode refused and its query unanswered",
         [](auto& p, auto&) {
             p.cmeeSetRefused = true;
             p.cmeeQuerySilent = true;
         },
         [](const PhoneCommand& c, const QStringList& cmds) {
             EXPECT_EQ(cmds.mid(cmds.size() - 3), (QStringList{"AT+CMEE=?", "AT+CMEE=2", "AT+CMEE?"}));
             EXPECT_EQ(c.Bag("MEEcode").toInt(), -1);
             EXPECT_EQ(c.Result(), dorrak::TIME_OUT);
             EXPECT_TRUE(Flag(c, "AT"));  // connected all the same
         }},
    };

    for (const Variant& v : variants) {
        SCOPED_TRACE(v.name);
        GateRig rig;
        v.set(rig.profile(), rig.sim().state());
        phonesim::PinConnectProfile(rig.sim());
        ConnectRun run(rig);
        const PhoneCommandPtr c = run.run();
        ASSERT_TRUE(run.finished);
        v.check(*c, rig.sim().commands());
        EXPECT_EQ(c->GetProgress(), 100);
    }
}

TEST(ConnectChain, SilentPhoneGetsThreeTries)
{
    GateRig rig;
    phonesim::MakeDeaf(rig.sim());
    ConnectRun run(rig);
    const PhoneCommandPtr c = run.run();
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(rig.sim().commands(), (QStringList{"AT", "AT", "AT"}));
    EXPECT_FALSE(Flag(*c, "AT"));
    EXPECT_EQ(c->Result(), dorrak::TIME_OUT);
    // Three waits of 5000 ms, and no more.
    EXPECT_GE(rig.now(), 15000);
    EXPECT_LT(rig.now(), 16000);
    EXPECT_TRUE(rig.gate.connected());  // closing it is the client's business
}

TEST(ConnectChain, PortThatDoesNotOpenEndsTheChain)
{
    GateRig rig;
    gatetest::UnmappedPort unmapped(9);
    auto c = GateRig::connectCommand(9);
    rig.gate.Push(c);
    ASSERT_TRUE(rig.runUntilPulled(c, 2000));
    EXPECT_EQ(c->Result(), dorrak::ERROR_ANSWER);
    EXPECT_FALSE(Flag(*c, "AT"));
    EXPECT_EQ(c->GetProgress(), 100);
    EXPECT_FALSE(rig.gate.connected());
    EXPECT_EQ(rig.gate.ComPort(), QString());
    EXPECT_EQ(rig.gate.Speed(), 0);
}
