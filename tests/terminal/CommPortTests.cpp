// The port server against the simulated phone on a real pseudo-terminal,
// driven by Tick() and the fake clock.
#include "terminal/CommPort.h"

#include "platform/SerialSpeed2.h"
#include "support/PhoneFixture.h"
#include "terminal/TerminalRuntime.h"
#include "tools/phonesim/Arrival.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <stdexcept>
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


// Turns echo off so that replies are only what the phone answers.
void echoOff(CommPortTest& t)
{
    ASSERT_EQ(t.port.Output("ATE0\r", "OK\r", "ERROR\r", 5000), QString());
    ASSERT_TRUE(t.waitAnswer());
    ASSERT_EQ(t.answers.back().result, dorrak::OK_ANSWER);
    t.answers.clear();
    t.sim.clearReceived();
}

TEST_F(CommPortTest, SpeedsWithoutATermiosConstantAreSetByNumber)
{
    connect(56000);
    EXPECT_EQ(platform::SerialSpeed2(sim.slaveFd()), 56000);
}

TEST_F(CommPortTest, ASpeedTheRecordRefusesIsASetUpFailureAndClosesThePort)
{
    ASSERT_EQ(port.Connect(phone.comPort(), 115000, phone.timeouts()), QString());
    port.Tick();
    ASSERT_EQ(connections.size(), 1u);
    EXPECT_FALSE(connections[0].connected);
    EXPECT_EQ(connections[0].port, phone.comPort());
    EXPECT_EQ(connections[0].baudRate, 115000);
    EXPECT_EQ(connections[0].errorDesc, QString("There is an error while setting up com port"));
    EXPECT_EQ(port.Disconnect().toString(), QString("Already disconnected"));
    // The device was let go: it opens again at a speed of the list.
    connections.clear();
    connect(115200);
}

TEST_F(CommPortTest, APortThatCannotBeOpenedReportsAnEmptyReason)
{
    CommPort other;
    std::vector<Connection> seen;
    other.Connection = [&](bool c, int p, int b, const QString& e) { seen.push_back({c, p, b, e}); };
    connect();
    // Held by the first port: no sharing.
    ASSERT_EQ(other.Connect(phone.comPort(), 9600, phone.timeouts()), QString());
    other.Tick();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_FALSE(seen[0].connected);
    EXPECT_EQ(seen[0].port, phone.comPort());
    EXPECT_EQ(seen[0].baudRate, 9600);
    EXPECT_EQ(seen[0].errorDesc, QString());
    EXPECT_EQ(other.Output("AT\r", "OK\r", "ERROR\r", 1000), QString("Communication device is not open"));

    // A number that maps to no device.
    ASSERT_EQ(other.Connect(1000, 9600, phone.timeouts()), QString());
    other.Tick();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_FALSE(seen[1].connected);
    EXPECT_EQ(seen[1].port, 1000);
}

TEST_F(CommPortTest, ClosedPortRefusesOutputAndDisconnect)
{
    EXPECT_EQ(port.Output("AT\r", "OK\r", "ERROR\r", 1000), QString("Communication device is not open"));
    EXPECT_EQ(port.Disconnect().toString(), QString("Already disconnected"));
    for (int i = 0; i < 3; ++i)
        phone.step(port);
    EXPECT_TRUE(answers.empty());
    EXPECT_TRUE(connections.empty());
    EXPECT_TRUE(sim.received().isEmpty());
}

TEST_F(CommPortTest, DisconnectClosesWithoutAnEventAndDisarmsTheWatchers)
{
    connect();
    port.setWaitSMS(true);
    port.setWaitStatusReport(true);
    EXPECT_TRUE(port.WaitSMS());
    const QVariant result = port.Disconnect();
    EXPECT_FALSE(result.isValid());
    EXPECT_EQ(connections.size(), 1u);
    EXPECT_FALSE(port.WaitSMS());
    EXPECT_FALSE(port.WaitStatusReport());
    EXPECT_EQ(port.Disconnect().toString(), QString("Already disconnected"));
}

TEST_F(CommPortTest, AReplyInTwoReadsCompletesOnTheSecond)
{
    connect();
    echoOff(*this);
    sim.script("AT", ScriptedReply::Raw({"O", "K\r"}));
    ASSERT_EQ(port.Output("AT\r", "OK\r", "ERROR\r", 5000), QString());
    ASSERT_TRUE(sim.expectReceived(QByteArray("AT\r")));  // answers "O"
    port.Tick();
    EXPECT_TRUE(answers.empty());
    sim.pump();  // "K" CR
    port.Tick();
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].data, QString("OK\r"));
    EXPECT_EQ(answers[0].result, dorrak::OK_ANSWER);
}

TEST_F(CommPortTest, RepliesMatchTheirWaitStrings)
{
    struct Case {
        const char* command;
        ScriptedReply reply;
        const char* answer;
        const char* errorAnswer;
        const char* data;
        dorrak::MODEM_RESULT_CODEs result;
    };
    const Case cases[] = {
        {"AT+CGMI", ScriptedReply::Error(), "OK\r", "ERROR\r", "ERROR\r", dorrak::ERROR_ANSWER},
        // The echo and what follows the end string are not part of the answer.
        {"AT+CMGS=20", ScriptedReply::Text({"+CMGS: 12"}), "+CMGS:;\r", "ERROR;\r", "+CMGS: 12\r",
         dorrak::OK_ANSWER},
        // Case does not matter; an empty end string ends at the begin string.
        {"AT+CMEE=?", ScriptedReply::Text({"+cmee: (0-2)"}), "+CMEE:;", "ERROR\r", "", dorrak::OK_ANSWER},
        {"AT+CPMS?", ScriptedReply::CmsError(302), "OK\r", "+CMS ERROR:;\r", "+CMS ERROR: 302\r",
         dorrak::ERROR_ANSWER},
    };
    connect();
    ASSERT_EQ(port.Output("AT+CMEE=1\r", "OK\r", "ERROR\r", 5000), QString());
    ASSERT_TRUE(waitAnswer());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        sim.script(c.command, c.reply);
        ASSERT_EQ(port.Output(QString(c.command) + "\r", c.answer, c.errorAnswer, 5000), QString());
        ASSERT_TRUE(waitAnswer());
        EXPECT_EQ(answers.back().data, QString(c.data));
        EXPECT_EQ(answers.back().result, c.result);
    }
}

TEST_F(CommPortTest, SilenceTimesOutOnTheFirstTickPastTheDeadline)
{
    struct Case {
        int timeOut;
        qint64 waited;
    };
    const Case cases[] = {{1000, 1000}, {5000000, 3600000}};
    connect();
    sim.script("AT+CGMI", ScriptedReply::Silence().always());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.timeOut);
        answers.clear();
        const qint64 start = phone.clock().ticks();
        ASSERT_EQ(port.Output("AT+CGMI\r", "OK\r", "ERROR\r", c.timeOut), QString());
        ASSERT_TRUE(sim.expectReceived(QByteArray("AT+CGMI\r")));
        sim.clearReceived();
        for (int i = 0; i < 3; ++i)
            phone.step(port);
        phone.clock().setTicks(start + c.waited);
        phone.step(port);
        EXPECT_TRUE(answers.empty());
        phone.clock().advance(1);
        phone.step(port);
        ASSERT_EQ(answers.size(), 1u);
        EXPECT_EQ(answers[0].data, QString());
        EXPECT_EQ(answers[0].result, dorrak::TIME_OUT);
    }
}

TEST_F(CommPortTest, ANewCommandDropsTheOneStillWaiting)
{
    connect();
    echoOff(*this);
    sim.script("AT+CGMI", ScriptedReply::Silence());
    ASSERT_EQ(port.Output("AT+CGMI\r", "OK\r", "ERROR\r", 1000), QString());
    ASSERT_EQ(port.Output("AT\r", "OK\r", "ERROR\r", 5000), QString());
    phone.clock().advance(2000);  // past the first command's deadline
    ASSERT_TRUE(waitAnswer());
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].result, dorrak::OK_ANSWER);
}

TEST_F(CommPortTest, AnErrorAlternativeCatchesABareErrorForOneCommand)
{
    connect();
    echoOff(*this);
    sim.script("AT+CMGS=*", ScriptedReply::CmsError(304).always());  // CMEE 0: plain "ERROR"

    port.setErrorAlternative("ERROR\r");
    ASSERT_EQ(port.Output("AT+CMGS=20\r", "OK\r", "+CMS ERROR:;\r", 1000), QString());
    ASSERT_TRUE(waitAnswer(10));
    EXPECT_EQ(answers.back().data, QString("ERROR\r"));
    EXPECT_EQ(answers.back().result, dorrak::ERROR_ANSWER);

    // Used up: the next command waits for its own error answer alone.
    ASSERT_EQ(port.Output("AT+CMGS=20\r", "OK\r", "+CMS ERROR:;\r", 1000), QString());
    ASSERT_TRUE(waitAnswer());
    EXPECT_EQ(answers.back().result, dorrak::TIME_OUT);

    // The numbered error still goes to the error answer itself.
    ASSERT_EQ(port.Output("AT+CMEE=1\r", "OK\r", "ERROR\r", 1000), QString());
    ASSERT_TRUE(waitAnswer());
    port.setErrorAlternative("ERROR\r");
    ASSERT_EQ(port.Output("AT+CMGS=20\r", "OK\r", "+CMS ERROR:;\r", 1000), QString());
    ASSERT_TRUE(waitAnswer(10));
    EXPECT_EQ(answers.back().data, QString("+CMS ERROR: 304\r"));
    EXPECT_EQ(answers.back().result, dorrak::ERROR_ANSWER);
}

TEST_F(CommPortTest, AHandlerMaySendTheNextCommandAndTickIsNotReentered)
{
    connect();
    int nested = 0;
    port.CommandAnswer = [&](const QString& d, dorrak::MODEM_RESULT_CODEs r) {
        answers.push_back({d, r});
        port.Tick();  // a nested event loop: ignored
        if (answers.size() == 1) {
            EXPECT_EQ(port.Output("AT+CGMI\r", "OK\r", "ERROR\r", 5000), QString());
        }
        ++nested;
    };
    ASSERT_EQ(port.Output("AT\r", "OK\r", "ERROR\r", 5000), QString());
    ASSERT_TRUE(phone.runUntil(port, [&] { return answers.size() == 2; }));
    EXPECT_EQ(answers[0].result, dorrak::OK_ANSWER);
    EXPECT_EQ(answers[1].result, dorrak::ERROR_ANSWER);  // no such command on this phone
    EXPECT_EQ(sim.commands(), QStringList({"AT", "AT+CGMI"}));
}

TEST_F(CommPortTest, AFailingHandlerDoesNotLeaveTheTick)
{
    connect();
    port.CommandAnswer = [&](const QString& d, dorrak::MODEM_RESULT_CODEs r) {
        answers.push_back({d, r});
        throw std::runtime_error("handler failed");
    };
    ASSERT_EQ(port.Output("AT\r", "OK\r", "ERROR\r", 5000), QString());
    ASSERT_TRUE(waitAnswer());
    ASSERT_EQ(port.Output("AT\r", "OK\r", "ERROR\r", 5000), QString());
    ASSERT_TRUE(waitAnswer());
    EXPECT_EQ(answers.size(), 2u);
}

TEST_F(CommPortTest, ALongTextGoesOutInPiecesOf1024)
{
    QTemporaryDir dir;
    port.LogToFile(dir.path());
    connect();
    echoOff(*this);
    const QString text = QString(2499, QLatin1Char('x')) + QLatin1Char('\r');
    ASSERT_EQ(port.Output(text, "OK\r", "ERROR\r", 1000), QString());
    ASSERT_TRUE(sim.expectReceived(text));
    EXPECT_EQ(sim.received().size(), 2500);
    port.LogToFile(QString());

    QFile log(dir.filePath("ParlovaPhoneLog.txt"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    std::vector<qsizetype> pieces;
    for (const QByteArray& line : log.readAll().split('\n')) {
        const qsizetype at = line.indexOf("\tCommPort.Output: x");
        if (at >= 0)
            pieces.push_back(line.size() - (at + 18) - 1);  // without the CR of the line end
    }
    // The last character of each piece is not logged.
    EXPECT_EQ(pieces, (std::vector<qsizetype>{1023, 1023, 451}));
}

TEST_F(CommPortTest, OutputDuringAPendingWriteQueuesBehindIt)
{
    connect();
    echoOff(*this);
    // More than the line holds while the phone reads nothing.
    const QString bulk = QString(299999, QLatin1Char('x')) + QLatin1Char('\r');
    ASSERT_EQ(port.Output(bulk, "OK\r", "ERROR\r", 60000), QString());
    sim.pump();
    ASSERT_LT(sim.received().size(), bulk.size());  // the write is still pending
    ASSERT_EQ(port.Output("AT\r", "OK\r", "ERROR\r", 60000), QString());
    ASSERT_TRUE(phone.runUntil(port, [&] { return !answers.empty(); }, 2000, 1));
    EXPECT_EQ(answers[0].result, dorrak::OK_ANSWER);
    ASSERT_EQ(sim.received().size(), bulk.size() + 3);
    EXPECT_TRUE(sim.received().endsWith("x\rAT\r"));
    EXPECT_EQ(sim.commands(), QStringList({"AT"}));
}

TEST_F(CommPortTest, ClosingDropsWhatWasNotYetWritten)
{
    connect();
    echoOff(*this);
    const QString bulk = QString(299999, QLatin1Char('x')) + QLatin1Char('\r');
    ASSERT_EQ(port.Output(bulk, "OK\r", "ERROR\r", 60000), QString());
    EXPECT_EQ(port.Disconnect(), QVariant());

    testsupport::PhoneFixture other(phone.comPort() + 1);
    ASSERT_EQ(port.Connect(other.comPort(), 9600, phone.timeouts()), QString());
    port.Tick();
    ASSERT_TRUE(connections.back().connected);
    other.sim().state().echo = false;
    ASSERT_EQ(port.Output("AT\r", "OK\r", "ERROR\r", 5000), QString());
    ASSERT_TRUE(other.runUntil(port, [&] { return !answers.empty(); }));
    EXPECT_EQ(answers.back().result, dorrak::OK_ANSWER);
    EXPECT_EQ(other.sim().received(), QByteArray("AT\r"));
}

TEST_F(CommPortTest, ArrivalLinesAreAnnouncedBetweenAndInsideReplies)
{
    connect();
    echoOff(*this);
    port.setWaitSMS(true);

    sim.inject("+CMTI: \"SM\",3");
    ASSERT_TRUE(phone.runUntil(port, [&] { return !arrivals.empty(); }));
    EXPECT_EQ(arrivals[0].first, QString("+CMTI: \"SM\",3\r"));
    EXPECT_EQ(arrivals[0].second, dorrak::mbtSMSArrived);
    arrivals.clear();

    // Inside the text that completes the answer, twice in one read.
    sim.script("AT", ScriptedReply::Raw({"\r\n+CMTI: \"SM\",4\r\n\r\n+CMTI: \"ME\",5\r\n\r\nOK\r\n"}));
    ASSERT_EQ(port.Output("AT\r", "OK\r", "ERROR\r", 5000), QString());
    ASSERT_TRUE(waitAnswer());
    EXPECT_EQ(answers.back().data, QString("OK\r"));
    ASSERT_EQ(arrivals.size(), 2u);
    EXPECT_EQ(arrivals[0].first, QString("+CMTI: \"SM\",4\r"));
    EXPECT_EQ(arrivals[1].first, QString("+CMTI: \"ME\",5\r"));
    arrivals.clear();

    // A line split over two reads is announced once it is whole.
    sim.script("AT", ScriptedReply::Raw({"\r\n+CMTI: \"S", "M\",6\r\n\r\nOK\r\n"}));
    ASSERT_EQ(port.Output("AT\r", "OK\r", "ERROR\r", 5000), QString());
    ASSERT_TRUE(waitAnswer());
    ASSERT_EQ(arrivals.size(), 1u);
    EXPECT_EQ(arrivals[0].first, QString("+CMTI: \"SM\",6\r"));
}

TEST_F(CommPortTest, StatusReportLinesWaitUntilAskedFor)
{
    connect();
    echoOff(*this);
    sim.inject("+CDSI: \"SR\",1");
    for (int i = 0; i < 3; ++i)
        phone.step(port);
    EXPECT_TRUE(arrivals.empty());

    // The line that came first is announced once the kind is asked for.
    port.setWaitStatusReport(true);
    EXPECT_TRUE(port.WaitStatusReport());
    EXPECT_TRUE(arrivals.empty());
    phone.step(port);
    ASSERT_EQ(arrivals.size(), 1u);
    EXPECT_EQ(arrivals[0].first, QString("+CDSI: \"SR\",1\r"));
    arrivals.clear();
    sim.inject("+CDSI: \"SR\",2");
    ASSERT_TRUE(phone.runUntil(port, [&] { return !arrivals.empty(); }));
    EXPECT_EQ(arrivals[0].first, QString("+CDSI: \"SR\",2\r"));
    EXPECT_EQ(arrivals[0].second, dorrak::mbtStatusReportArrived);

    port.setWaitStatusReport(false);
    EXPECT_FALSE(port.WaitStatusReport());
    arrivals.clear();
    sim.inject("+CDSI: \"SR\",3");
    for (int i = 0; i < 3; ++i)
        phone.step(port);
    EXPECT_TRUE(arrivals.empty());
}

// Messages that came while the program was away are announced when
// indications are turned on, before the terminal asks for the lines: more
// than a SIM holds, and the phone says one of them twice.
TEST_F(CommPortTest, EveryMessageAnnouncedBeforeTheAskIsAnnouncedOnceAfterIt)
{
    connect();
    echoOff(*this);
    QStringList expected;
    for (int i = 0; i < 70; ++i) {
        const QString memory = i < 20 ? QStringLiteral("SM") : QStringLiteral("ME");
        const int index = phonesim::Arrive(sim, "+15551234567", QString("Message %1").arg(i), memory);
        ASSERT_GT(index, 0);
        expected << QString("+CMTI: \"%1\",%2\r").arg(memory).arg(index);
        if (i == 40)
            sim.inject("+CMTI: \"SM\",7");
    }
    ASSERT_TRUE(phone.runUntil(port, [&] { return !sim.outputPending(); }));
    for (int i = 0; i < 5; ++i)
        phone.step(port);
    ASSERT_TRUE(arrivals.empty());

    port.setWaitSMS(true);
    phone.step(port);
    QStringList announced;
    for (const auto& [line, sort] : arrivals) {
        announced << line;
        EXPECT_EQ(sort, dorrak::mbtSMSArrived);
    }
    EXPECT_EQ(announced.size(), 70);
    EXPECT_EQ(announced.join(u' ').toStdString(), expected.join(u' ').toStdString());
}

TEST_F(CommPortTest, TheReplyToOurOwnStoreCommandIsNoArrival)
{
    connect();
    echoOff(*this);
    port.setWaitSMS(true);

    // Between commands "+CMGW:" is an arrival.
    sim.inject("+CMGW: 9");
    ASSERT_TRUE(phone.runUntil(port, [&] { return !arrivals.empty(); }));
    EXPECT_EQ(arrivals[0].first, QString("+CMGW: 9\r"));
    EXPECT_EQ(arrivals[0].second, dorrak::mbtSMSArrived);
    arrivals.clear();

    // The reply to AT+CMGW, split across reads, while the command waits.
    sim.script("AT+CMGW=*", ScriptedReply::Raw({"\r\n+CMG", "W: 5\r\n", "\r\nOK\r\n"}));
    ASSERT_EQ(port.Output("AT+CMGW=20\r", "OK\r", "ERROR\r", 5000), QString());
    ASSERT_TRUE(waitAnswer());
    EXPECT_EQ(answers.back().result, dorrak::OK_ANSWER);

    // A line begun before a command is not finished by later text.
    sim.send("\r\n+CMGW: 7");
    for (int i = 0; i < 3; ++i)
        phone.step(port);
    ASSERT_EQ(port.Output("AT\r", "OK\r", "ERROR\r", 5000), QString());
    ASSERT_TRUE(waitAnswer());
    sim.inject("RING");
    for (int i = 0; i < 3; ++i)
        phone.step(port);
    EXPECT_TRUE(arrivals.empty());
}

TEST_F(CommPortTest, AHandlerMayDisarmTheWatcherThatFoundTheLine)
{
    connect();
    echoOff(*this);
    port.setWaitSMS(true);
    port.UnsolicitedArrival = [&](const QString& d, dorrak::CommandSort s) {
        arrivals.push_back({d, s});
        port.setWaitSMS(false);
    };
    sim.send("\r\n+CMTI: \"SM\",1\r\n\r\n+CMTI: \"SM\",2\r\n");
    ASSERT_TRUE(phone.runUntil(port, [&] { return arrivals.size() == 2; }, 5));
    EXPECT_FALSE(port.WaitSMS());
}

TEST_F(CommPortTest, UnpluggingThePhoneIsFatal)
{
    connect();
    port.setWaitSMS(true);
    sim.unplug();
    ASSERT_TRUE(phone.runUntil(port, [&] { return connections.size() == 2; }, 10));
    EXPECT_FALSE(connections[1].connected);
    EXPECT_EQ(connections[1].port, phone.comPort());
    EXPECT_EQ(connections[1].baudRate, 0);
    EXPECT_EQ(connections[1].errorDesc, QString("Fatal error. The port will be closed"));
    EXPECT_FALSE(port.WaitSMS());
    EXPECT_EQ(port.Disconnect().toString(), QString("Already disconnected"));
}

TEST_F(CommPortTest, ThePhoneLogHasOneTimedLinePerEvent)
{
    QTemporaryDir dir;
    phone.clock().setSecondsSinceMidnight(40000.0);
    dorrak::PhoneLog().WriteLogLine("before the log is open");  // moves the clock of the log on
    port.LogToFile(dir.path() + "  ");
    phone.clock().setSecondsSinceMidnight(40001.26);
    connect();
    echoOff(*this);
    ASSERT_EQ(port.Output("AT\r", "OK\r", "ERROR\r", 5000), QString());
    ASSERT_TRUE(waitAnswer());
    phone.clock().setSecondsSinceMidnight(40003.0);
    port.Disconnect();
    port.LogToFile(QString());

    QFile log(dir.filePath("ParlovaPhoneLog.txt"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = log.readAll().split('\n');
    const QByteArray com = "COM" + QByteArray::number(phone.comPort());
    ASSERT_GE(lines.size(), 5);
    EXPECT_EQ(lines[0], "+1.3\t" + com + " opened\r");
    EXPECT_EQ(lines[1].left(5), "+0.0\t");
    EXPECT_TRUE(lines.contains("+0.0\tCommPort.Output: AT\r"));
    // Texts are written as they came, CR LF and all.
    const qsizetype read = lines.indexOf("+0.0\tProcessReadComplete: \r");
    ASSERT_GE(read, 0);
    EXPECT_EQ(lines[read + 1], "OK\r");
    EXPECT_TRUE(lines[lines.size() - 2].startsWith("+1.7\t"));  // 40003.0 less the last reading, 40001.26 + 9 steps
    EXPECT_TRUE(lines[lines.size() - 2].endsWith("\t" + com + " closed\r"));
    EXPECT_TRUE(lines.back().isEmpty());
}

}  // namespace
