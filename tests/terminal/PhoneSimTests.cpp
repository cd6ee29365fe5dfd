// The simulated phone on its own, driven through a plain descriptor of the
// device side.
#include "support/DeviceLine.h"
#include "support/PhoneFixture.h"
#include "tools/phonesim/Arrival.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

using phonesim::PhoneSim;
using phonesim::ScriptedReply;

using Line = testsupport::DeviceLine;

struct SimTest : ::testing::Test {
    testsupport::PhoneFixture phone;
    PhoneSim& sim = phone.sim();
    Line line{sim.devicePath()};

    QByteArray ask(const QByteArray& command)
    {
        line.write(command);
        sim.pump();
        return line.read();
    }
};

TEST_F(SimTest, AnswersWithEchoUntilEchoIsTurnedOff)
{
    ASSERT_GE(line.fd(), 0);
    EXPECT_EQ(ask("AT\r"), QByteArray("AT\r\r\nOK\r\n"));
    EXPECT_EQ(ask("ATE0\r"), QByteArray("ATE0\r\r\nOK\r\n"));
    EXPECT_EQ(ask("AT\r"), QByteArray("\r\nOK\r\n"));
    EXPECT_EQ(ask("AT+NOSUCH\r"), QByteArray("\r\nERROR\r\n"));
    EXPECT_EQ(ask("ate1\r"), QByteArray("\r\nOK\r\n"));
    EXPECT_EQ(ask("AT\r"), QByteArray("AT\r\r\nOK\r\n"));
    EXPECT_EQ(sim.commands(), QStringList({"AT", "ATE0", "AT", "AT+NOSUCH", "ate1", "AT"}));
    EXPECT_TRUE(sim.received().startsWith("AT\rATE0\r"));
}

TEST_F(SimTest, ErrorFinalsFollowTheCmeeMode)
{
    ask("ATE0\r");
    sim.script("AT+CPBS?", ScriptedReply::CmeError(10).always());
    sim.script("AT+CMGS=*", ScriptedReply::CmsError(304).always());
    EXPECT_EQ(ask("AT+CPBS?\r"), QByteArray("\r\nERROR\r\n"));
    EXPECT_EQ(ask("AT+CMEE=?\r"), QByteArray("\r\n+CMEE: (0-2)\r\n\r\nOK\r\n"));
    EXPECT_EQ(ask("AT+CMEE=1\r"), QByteArray("\r\nOK\r\n"));
    EXPECT_EQ(ask("AT+CMEE?\r"), QByteArray("\r\n+CMEE: 1\r\n\r\nOK\r\n"));
    EXPECT_EQ(ask("AT+CPBS?\r"), QByteArray("\r\n+CME ERROR: 10\r\n"));
    EXPECT_EQ(ask("AT+CMGS=20\r"), QByteArray("\r\n+CMS ERROR: 304\r\n"));
    EXPECT_EQ(ask("AT+CMEE=7\r"), QByteArray("\r\n+CME ERROR: 50\r\n"));
}

TEST_F(SimTest, ScriptedRepliesComeInPiecesAfterTheirDelayAndGetUsedUp)
{
    ask("ATE0\r");
    sim.script("AT", ScriptedReply::Raw({"\r\nO", "K\r\n"}));
    sim.script("AT+CGMI", ScriptedReply::Text({"Maker"}).after(300));
    sim.script("AT+CGMI", ScriptedReply::Silence());

    EXPECT_EQ(ask("AT\r"), QByteArray("\r\nO"));
    sim.pump();
    EXPECT_EQ(line.read(), QByteArray("K\r\n"));
    EXPECT_EQ(ask("AT\r"), QByteArray("\r\nOK\r\n"));  // the script is used up

    EXPECT_EQ(ask("AT+CGMI\r"), QByteArray());
    phone.clock().advance(299);
    sim.pump();
    EXPECT_EQ(line.read(), QByteArray());
    phone.clock().advance(1);
    sim.pump();
    EXPECT_EQ(line.read(), QByteArray("\r\nMaker\r\n\r\nOK\r\n"));
    EXPECT_EQ(ask("AT+CGMI\r"), QByteArray());  // silence
    EXPECT_EQ(ask("AT+CGMI\r"), QByteArray("\r\nERROR\r\n"));  // no handler
}

TEST_F(SimTest, PromptCollectsTextUntilCtrlZOrEsc)
{
    ask("ATE0\r");
    QByteArray got;
    bool wasCancelled = false;
    sim.addHandler("+CMGW", [&](PhoneSim& s, const phonesim::Command& c) {
        EXPECT_EQ(c.args, "=5");
        s.sendPrompt([&](PhoneSim& s2, const QByteArray& data, bool cancelled) {
            got = data;
            wasCancelled = cancelled;
            if (!cancelled) {
                s2.sendLine("+CMGW: 4");
                s2.sendOk();
            }
        });
    });
    EXPECT_EQ(ask("AT+CMGW=5\r"), QByteArray("\r\n> "));
    EXPECT_EQ(ask("0011\r00\x1A"), QByteArray("\r\n+CMGW: 4\r\n\r\nOK\r\n"));
    EXPECT_EQ(got, QByteArray("0011\r00"));
    EXPECT_FALSE(wasCancelled);
    ask("AT+CMGW=5\r");
    EXPECT_EQ(ask("00\x1B"), QByteArray());
    EXPECT_TRUE(wasCancelled);
}

TEST_F(SimTest, StateOutlivesThePortAndUnplugHangsUp)
{
    ask("ATE0\r");
    line.close();
    sim.inject("+CMTI: \"SM\",1");
    sim.pump();  // nobody listens; nothing breaks
    Line again(sim.devicePath());
    again.write("AT\r");
    sim.pump();
    EXPECT_EQ(again.read(), QByteArray("\r\n+CMTI: \"SM\",1\r\n\r\nOK\r\n"));

    sim.unplug();
    EXPECT_FALSE(sim.plugged());
    EXPECT_EQ(sim.pump(), 0);
    char c;
    EXPECT_EQ(::read(again.fd(), &c, 1), 0);
    pollfd p{again.fd(), POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 0), 1);
    EXPECT_TRUE(p.revents & POLLHUP);

    // Plugged in again: a new device, the phone's settings kept.
    sim.plugIn();
    EXPECT_TRUE(sim.plugged());
    Line replugged(sim.devicePath());
    replugged.write("AT\r");
    sim.pump();
    EXPECT_EQ(replugged.read(), QByteArray("\r\nOK\r\n"));
}

TEST_F(SimTest, AnArrivalIsStoredInTheSimAndIndicated)
{
    ask("ATE0\r");
    const struct {
        const char* number;
        const char* text;
        const char* pdu;
    } arrivals[] = {
        {"+15551234567", "Hi", "00040B915155214365F700044230513154030002" "4869"},
        {"0123", "A", "0004048110320004423051315403000141"},
    };
    int expectedIndex = 1;
    for (const auto& a : arrivals) {
        SCOPED_TRACE(a.number);
        EXPECT_EQ(phonesim::DeliverPdu(QString::fromLatin1(a.number), QString::fromLatin1(a.text)),
                  QString::fromLatin1(a.pdu));
        EXPECT_EQ(phonesim::Arrive(sim, QString::fromLatin1(a.number), QString::fromLatin1(a.text)), expectedIndex);
        sim.pump();
        EXPECT_EQ(line.read(), QStringLiteral("\r\n+CMTI: \"SM\",%1\r\n").arg(expectedIndex).toLatin1());
        ++expectedIndex;
    }
    EXPECT_EQ(ask("AT+CMGR=2\r"), QByteArray("\r\n+CMGR: 0,,16\r\n0004048110320004423051315403000141\r\n\r\nOK\r\n"));
}

TEST_F(SimTest, ExpectReceivedWaitsBoundedly)
{
    line.write("AT+X");
    EXPECT_TRUE(sim.expectReceived(QByteArray("AT+X"), 1000));
    EXPECT_FALSE(sim.expectReceived(QByteArray("never"), 30));
}

}  // namespace
