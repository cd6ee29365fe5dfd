// The simulated phone on its own, driven through a plain descriptor of the
// device side.
#include "support/DeviceLine.h"
#include "support/PhoneFixture.h"
#include "tools/phonesim/Arrival.h"
#include "tools/phonesim/MessageMemory.h"
#include "tools/phonesim/StatusReports.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <memory>
#include <stdexcept>
#include <string>

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

TEST_F(SimTest, AReportComesBackForEachMessageAskingForOneAsTheIndicationsSay)
{
    ask("ATE0\r");
    // A SUBMIT of "A" to +15551234567; first octet 31 asks for a report, 11 not.
    const auto submit = [](const char* firstOctet) {
        return QByteArray("00") + firstOctet + "000B915155214365F70000AA0141\x1A";
    };
    // Taken at 10:00:00 and discharged a second later, five hours behind UTC.
    const auto report = [](int mr, const char* status) {
        return "0006" + QByteArray::number(mr, 16).rightJustified(2, '0') +
               "0B915155214365F7" "4250710100000A" "4250710100100A" + status;
    };
    const struct {
        const char* cnmi;
        const char* firstOctet;
        int status;
        QByteArray indication;
    } cases[] = {
        {"2,1,,2,", "31", 0, "\r\n+CDSI: \"SR\",1\r\n"},
        {"2,1,,1,", "31", 0x46, "\r\n+CDS: 25\r\n" + report(1, "46") + "\r\n"},
        {"2,1,,0,", "31", 0, ""},
        {"2,1,,2,", "11", 0, ""},
    };
    int mr = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.cnmi) + " " + c.firstOctet);
        phone.clock().setNow(QDateTime(QDate(2024, 5, 17), QTime(10, 0), QTimeZone(-5 * 3600)));
        sim.state().get<phonesim::ReportProfile>().status = c.status;
        EXPECT_EQ(ask(QByteArray("AT+CNMI=") + c.cnmi + "\r"), QByteArray("\r\nOK\r\n"));
        EXPECT_EQ(ask("AT+CMGS=15\r"), QByteArray("\r\n> "));
        EXPECT_EQ(ask(submit(c.firstOctet)), QStringLiteral("\r\n+CMGS: %1\r\n\r\nOK\r\n").arg(mr++).toLatin1());
        phone.clock().advance(999);
        sim.pump();
        EXPECT_EQ(line.read(), QByteArray());
        phone.clock().advance(1);
        sim.pump();
        EXPECT_EQ(line.read(), c.indication);
    }
    // The stored report reads as the terminal reads any message, once.
    EXPECT_EQ(ask("AT+CPMS=\"SR\"\r"), QByteArray("\r\n+CPMS: 1,20,0,250,0,270\r\n\r\nOK\r\n"));
    EXPECT_EQ(ask("AT+CMGR=1\r"), "\r\n+CMGR: 0,,25\r\n" + report(0, "00") + "\r\n\r\nOK\r\n");
    EXPECT_EQ(ask("AT+CMGD=1\r"), QByteArray("\r\nOK\r\n"));
    EXPECT_TRUE(sim.state().get<phonesim::MessageMemory>().sr.filled.empty());
}

TEST(SimLink, AFixedPathLeadsToTheSimulatorAcrossRestarts)
{
    QTemporaryDir folder;
    const QString link = folder.filePath(QStringLiteral("com7"));
    const auto target = [&] { return QFileInfo(link).isSymLink() ? QFileInfo(link).symLinkTarget() : QString(); };
    const auto answers = [&](PhoneSim& sim) {
        Line line(link);
        line.write("AT\r");
        sim.pump();
        return line.read() == QByteArray("AT\r\r\nOK\r\n");
    };
    // Left behind by a simulator that was killed.
    ASSERT_EQ(::symlink("/dev/pts/no-such-device", QFile::encodeName(link).constData()), 0);

    auto first = std::make_unique<PhoneSim>();
    first->setLink(link);
    EXPECT_EQ(target(), first->devicePath());
    EXPECT_TRUE(answers(*first));
    Line held(link);
    first.reset();  // stopped: the line hangs up and the path goes
    EXPECT_EQ(target(), QString());
    pollfd p{held.fd(), POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 0), 1);
    EXPECT_TRUE(p.revents & POLLHUP);

    PhoneSim second;  // started again on the same path
    second.setLink(link);
    EXPECT_TRUE(answers(second));
    // One started while it runs takes the path over and keeps it when the
    // other stops.
    {
        PhoneSim third;
        third.setLink(link);
        EXPECT_EQ(target(), third.devicePath());
        second.unplug();
        EXPECT_EQ(target(), third.devicePath());
    }
    EXPECT_EQ(target(), QString());
    second.plugIn();
    EXPECT_EQ(target(), second.devicePath());

    // Anything but a link stays as it was.
    const QString file = folder.filePath(QStringLiteral("notes"));
    ASSERT_TRUE(QFile(file).open(QIODevice::WriteOnly));
    EXPECT_THROW(second.setLink(file), std::runtime_error);
    EXPECT_TRUE(QFileInfo(file).isFile() && !QFileInfo(file).isSymLink());
}

TEST_F(SimTest, ExpectReceivedWaitsBoundedly)
{
    line.write("AT+X");
    EXPECT_TRUE(sim.expectReceived(QByteArray("AT+X"), 1000));
    EXPECT_FALSE(sim.expectReceived(QByteArray("never"), 30));
}

}  // namespace
