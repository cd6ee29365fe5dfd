// The port server against the simulated phone on a real pseudo-terminal,
// driven by Tick() and the fake clock.
#include "terminal/CommPort.h"

#include "support/PhoneFixture.h"

#include <gtest/gtest.h>

#include <termios.h>

namespace {

using dorrak::CommPort;
using phonesim::ScriptedReply;

struct Answer {
    QString data;
    dorrak::MODEM_RESULT_CODEs result;
};

struct Connection {
    bool connected;
    int port;
    int baudRate;
    QString errorDesc;
};

struct CommPortTest : ::testing::Test {
    testsupport::PhoneFixture phone;
    phonesim::PhoneSim& sim = phone.sim();
    CommPort port;
    std::vector<Connection> connections;
    std::vector<Answer> answers;
    std::vector<std::pair<QString, dorrak::CommandSort>> arrivals;

    CommPortTest()
    {
        port.Connection = [this](bool c, int p, int b, const QString& e) { connections.push_back({c, p, b, e}); };
        port.CommandAnswer = [this](const QString& d, dorrak::MODEM_RESULT_CODEs r) { answers.push_back({d, r}); };
        port.UnsolicitedArrival = [this](const QString& d, dorrak::CommandSort s) { arrivals.push_back({d, s}); };
    }

    void connect(int speed = 9600)
    {
        ASSERT_EQ(port.Connect(phone.comPort(), speed, phone.timeouts()), QString());
        ASSERT_TRUE(phone.runUntil(port, [&] { return !connections.empty(); }));
        ASSERT_TRUE(connections.back().connected);
    }

    bool waitAnswer(int maxSteps = 400)
    {
        const size_t before = answers.size();
        return phone.runUntil(port, [&] { return answers.size() > before; }, maxSteps);
    }
};

TEST_F(CommPortTest, ConnectsOnTheNextTickWithARawEightBitLine)
{
    EXPECT_EQ(port.Connect(phone.comPort(), 19200, phone.timeouts()), QString());
    EXPECT_TRUE(connections.empty());
    port.Tick();
    ASSERT_EQ(connections.size(), 1u);
    EXPECT_TRUE(connections[0].connected);
    EXPECT_EQ(connections[0].port, phone.comPort());
    EXPECT_EQ(connections[0].baudRate, 19200);
    EXPECT_EQ(connections[0].errorDesc, QString());

    termios t{};
    ASSERT_EQ(::tcgetattr(sim.slaveFd(), &t), 0);
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(t.c_cc[VMIN], 0);
    EXPECT_EQ(t.c_cc[VTIME], 0);
    EXPECT_EQ(::cfgetospeed(&t), static_cast<speed_t>(B19200));

    EXPECT_EQ(port.Connect(phone.comPort(), 19200, phone.timeouts()), QString("Already connected"));
}

TEST_F(CommPortTest, AtIsAnsweredOk)
{
    connect();
    ASSERT_EQ(port.Output("AT\r", "OK\r", "ERROR\r", 5000), QString());
    ASSERT_TRUE(waitAnswer());
    EXPECT_EQ(answers.back().data, QString("OK\r"));
    EXPECT_EQ(answers.back().result, dorrak::OK_ANSWER);
    EXPECT_EQ(sim.commands(), QStringList({"AT"}));
}

}  // namespace
