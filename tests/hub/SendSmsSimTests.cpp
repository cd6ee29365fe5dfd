// The simulated phone's message commands on their own, through a plain
// descriptor of the device side: what the gate tests cannot make our chains
// send (a wrong length, ESC, delete flags).
#include "support/DeviceLine.h"
#include "support/PhoneFixture.h"
#include "tools/phonesim/MessageMemory.h"

#include <gtest/gtest.h>

namespace {

// The SUBMIT of "hi" to +123: 12 octets after the service-centre field.
const QByteArray kPdu = "001100039121F30002AA02E834";

class SimSms : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_GE(line.fd(), 0);
        sim.state().echo = false;
        sim.state().cmee = 1;
    }

    QByteArray ask(const QByteArray& bytes)
    {
        line.write(bytes);
        sim.pump();
        return line.read();
    }
    phonesim::MessageMemory& memory() { return sim.state().get<phonesim::MessageMemory>(); }

    testsupport::PhoneFixture phone;
    phonesim::PhoneSim& sim = phone.sim();
    testsupport::DeviceLine line{sim.devicePath()};
};

TEST_F(SimSms, SendChecksTheLengthAndCountsReferences)
{
    memory().nextMR = 255;
    struct Exchange {
        QByteArray command;
        QByteArray prompt;  // "" when the command itself is refused
        QByteArray body;
        QByteArray reply;
    };
    const Exchange exchanges[] = {
        {"AT+CMGS=12\r", "\r\n> ", kPdu + '\x1a', "\r\n+CMGS: 255\r\n\r\nOK\r\n"},
        {"AT+CMGS=12\r", "\r\n> ", kPdu + '\x1a', "\r\n+CMGS: 0\r\n\r\nOK\r\n"},
        {"AT+CMGS=13\r", "\r\n> ", kPdu + '\x1a', "\r\n+CMS ERROR: 304\r\n"},
        {"AT+CMGS=12\r", "\r\n> ", "0011" "\x1b", "\r\nOK\r\n"},
        {"AT+CMGS=0\r", "", "", "\r\n+CMS ERROR: 304\r\n"},
    };
    for (const Exchange& e : exchanges) {
        SCOPED_TRACE(e.command.toStdString());
        if (e.prompt.isEmpty()) {
            EXPECT_EQ(ask(e.command), e.reply);
            continue;
        }
        EXPECT_EQ(ask(e.command), e.prompt);
        EXPECT_EQ(ask(e.body), e.reply);
    }
    ASSERT_EQ(memory().received.size(), 4u);
    EXPECT_EQ(memory().received[2].length, 13);
    EXPECT_TRUE(memory().received[3].cancelled);
    EXPECT_EQ(memory().sentPdus().size(), 3);
    EXPECT_EQ(memory().nextMR, 1);
}

TEST_F(SimSms, MemoriesAnswerStorageReadAndDelete)
{
    phonesim::MessageMemory& m = memory();
    m.storeAt(QStringLiteral("SM"), 2, QStringLiteral("00040B915155214365F70004423051315403000141"),
              phonesim::kRecRead);
    m.storeAt(QStringLiteral("SM"), 5, QStringLiteral("00040B915155214365F70004423051315403000142"));
    m.storeAt(QStringLiteral("ME"), 1, QStringLiteral("00040B915155214365F70004423051315403000143"));

    EXPECT_EQ(ask("AT+CPMS?\r"), "\r\n+CPMS: \"SM\",2,20,\"ME\",1,250,\"MT\",3,270\r\n\r\nOK\r\n");
    EXPECT_EQ(ask("AT+CPMS=\"MT\"\r"), "\r\n+CPMS: 3,270,1,250,3,270\r\n\r\nOK\r\n");
    EXPECT_EQ(ask("AT+CMGR=21\r"),
              "\r\n+CMGR: 0,,20\r\n00040B915155214365F70004423051315403000143\r\n\r\nOK\r\n");
    EXPECT_EQ(m.message(QStringLiteral("ME"), 1)->stat, phonesim::kRecRead);
    EXPECT_EQ(ask("AT+CPMS=\"XX\"\r"), "\r\n+CMS ERROR: 302\r\n");
    EXPECT_EQ(ask("AT+CPMS=\"SM\"\r"), "\r\n+CPMS: 2,20,1,250,3,270\r\n\r\nOK\r\n");
    EXPECT_EQ(ask("AT+CMGR=3\r"), "\r\n+CMS ERROR: 321\r\n");
    EXPECT_EQ(ask("AT+CMGR=21\r"), "\r\n+CMS ERROR: 321\r\n");
    // Flag 1 deletes every read message, whatever the index.
    EXPECT_EQ(ask("AT+CMGD=1,1\r"), "\r\nOK\r\n");
    EXPECT_EQ(m.message(QStringLiteral("SM"), 2), nullptr);
    EXPECT_NE(m.message(QStringLiteral("SM"), 5), nullptr);
    EXPECT_EQ(ask("AT+CMGD=5\r"), "\r\nOK\r\n");
    EXPECT_EQ(ask("AT+CMGD=21\r"), "\r\n+CMS ERROR: 321\r\n");
    EXPECT_EQ(m.used(QStringLiteral("MT")), 1);
}

}  // namespace
