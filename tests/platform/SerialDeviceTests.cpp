// The serial device layer against a real pseudo-terminal.
#include "platform/SerialDevice.h"
#include "platform/UserSettings.h"
#include "support/PhoneFixture.h"

#include <QTemporaryFile>

#include <gtest/gtest.h>

#include <cerrno>
#include <termios.h>
#include <unistd.h>

namespace {

using platform::SerialDevice;
using platform::SerialDevicePath;
using Io = platform::SerialDevice::Io;

TEST(SerialDevicePath, FixedBlocksByNumber)
{
    const struct {
        int port;
        const char* path;
    } cases[] = {
        {1, "/dev/ttyS0"},      {32, "/dev/ttyS31"},    {33, "/dev/ttyUSB0"}, {64, "/dev/ttyUSB31"},
        {65, "/dev/ttyACM0"},   {96, "/dev/ttyACM31"},  {97, "/dev/rfcomm0"}, {128, "/dev/rfcomm31"},
        {129, ""},              {0, ""},                {-3, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SerialDevicePath(c.port), QString::fromLatin1(c.path)) << c.port;
}

TEST(SerialDevicePath, EnvironmentBeforeSettingBeforeBlock)
{
    EXPECT_EQ(SerialDevicePath(5), "/dev/ttyS4");
    platform::SaveSetting("Parlova", "Ports", "COM5", "/dev/from-setting");
    EXPECT_EQ(SerialDevicePath(5), "/dev/from-setting");
    qputenv("PARLOVA_COM5", "/dev/from-env");
    EXPECT_EQ(SerialDevicePath(5), "/dev/from-env");
    qunsetenv("PARLOVA_COM5");
    platform::DeleteSetting("Parlova", "Ports", "COM5");
    EXPECT_EQ(SerialDevicePath(5), "/dev/ttyS4");
    // An explicit map may reach past the fixed blocks.
    qputenv("PARLOVA_COM200", "/dev/far");
    EXPECT_EQ(SerialDevicePath(200), "/dev/far");
    qunsetenv("PARLOVA_COM200");
}

TEST(SerialDevice, RefusesWhatIsNotATerminalAndWhatMapsToNothing)
{
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    qputenv("PARLOVA_COM9", file.fileName().toLocal8Bit());
    SerialDevice dev;
    EXPECT_FALSE(dev.open(9));
    EXPECT_EQ(dev.lastError(), ENOTTY);
    EXPECT_FALSE(dev.isOpen());
    qunsetenv("PARLOVA_COM9");
    EXPECT_FALSE(dev.open(0));
    EXPECT_FALSE(dev.open(500));
}

struct SerialOnPty : ::testing::Test {
    testsupport::PhoneFixture phone{8};
    SerialDevice dev;
    void SetUp() override { ASSERT_TRUE(dev.open(8)); }
};

TEST_F(SerialOnPty, IsForOneHolderAtATime)
{
    SerialDevice second;
    EXPECT_FALSE(second.open(8));
    EXPECT_EQ(second.lastError(), EWOULDBLOCK);
    dev.close();
    EXPECT_TRUE(second.open(8));
}

TEST_F(SerialOnPty, SettingsStartFromRawMode)
{
    // Leave the line cooked, as a fresh terminal is.
    termios t{};
    ASSERT_EQ(tcgetattr(phone.sim().slaveFd(), &t), 0);
    t.c_lflag |= ICANON | ECHO | ISIG;
    t.c_iflag |= ICRNL | IXON;
    t.c_oflag |= OPOST | ONLCR;
    t.c_cflag = (t.c_cflag & ~CSIZE) | CS7 | PARENB;
    t.c_cc[VMIN] = 1;
    ASSERT_EQ(tcsetattr(phone.sim().slaveFd(), TCSANOW, &t), 0);

    platform::SerialLineSettings s;
    s.baudRate = 19200;
    s.ctsFlow = true;
    ASSERT_TRUE(dev.setSettings(s));  // DTR and RTS are refused by a pty, silently
    ASSERT_EQ(tcgetattr(dev.fd(), &t), 0);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(t.c_iflag & (ICRNL | IXON | ISTRIP), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_cflag & PARENB, 0u);
    EXPECT_EQ(t.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
    EXPECT_NE(t.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(t.c_cc[VMIN], 0);
    EXPECT_EQ(t.c_cc[VTIME], 0);
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B19200));

    platform::SerialLineSettings back;
    ASSERT_TRUE(dev.getSettings(back));
    EXPECT_EQ(back.baudRate, 19200);
    EXPECT_EQ(back.byteSize, 8);
    EXPECT_EQ(back.parity, 0);
    EXPECT_TRUE(back.ctsFlow);
}

TEST_F(SerialOnPty, EverySpeedOfTheListRoundTrips)
{
    for (int bps : {110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 56000, 57600, 115200, 128000,
                    256000}) {
        platform::SerialLineSettings s;
        s.baudRate = bps;
        ASSERT_TRUE(dev.setSettings(s)) << bps;
        platform::SerialLineSettings back;
        ASSERT_TRUE(dev.getSettings(back));
        EXPECT_EQ(back.baudRate, bps);
    }
}

TEST_F(SerialOnPty, StopBitsRoundTrip)
{
    // A pseudo-terminal always keeps 8 bits without parity; stop bits it keeps.
    for (int stop : {0, 2, 0}) {
        platform::SerialLineSettings s;
        s.stopBits = stop;
        ASSERT_TRUE(dev.setSettings(s));
        platform::SerialLineSettings back;
        ASSERT_TRUE(dev.getSettings(back));
        EXPECT_EQ(back.stopBits, stop);
    }
}

TEST_F(SerialOnPty, ReadsArePendingUntilDataAndNulsCanBeStripped)
{
    platform::SerialLineSettings s;
    s.stripNul = true;
    ASSERT_TRUE(dev.setSettings(s));
    QByteArray data;
    EXPECT_EQ(dev.startRead(data, 1024), Io::Pending);
    EXPECT_EQ(dev.pollRead(data, 1024), Io::Pending);
    phone.sim().send(QByteArray("O\0K\r", 4));
    phone.sim().pump();
    EXPECT_EQ(dev.pollRead(data, 1024), Io::Done);
    EXPECT_EQ(data, QByteArray("OK\r"));

    phone.sim().send(QByteArray(3000, 'x'));
    phone.sim().pump();
    EXPECT_EQ(dev.startRead(data, 1024), Io::Done);
    EXPECT_EQ(data.size(), 1024);
}

TEST_F(SerialOnPty, HangUpMeansTheReadCannotStart)
{
    QByteArray data;
    EXPECT_EQ(dev.startRead(data, 1024), Io::Pending);
    phone.sim().unplug();
    EXPECT_EQ(dev.pollRead(data, 1024), Io::Done);
    EXPECT_TRUE(data.isEmpty());
    EXPECT_EQ(dev.startRead(data, 1024), Io::Failed);
    EXPECT_EQ(dev.startErrorWait(), Io::Failed);
}

TEST_F(SerialOnPty, PartialWritesStayPendingUntilTheRestIsOut)
{
    ASSERT_TRUE(dev.setSettings(platform::SerialLineSettings()));
    const QByteArray big(200000, 'a');
    ASSERT_EQ(dev.startWrite(big), Io::Pending);
    EXPECT_EQ(dev.pollWrite(), Io::Pending);
    int rounds = 0;
    while (dev.pollWrite() == Io::Pending && rounds++ < 10000)
        phone.sim().pump();
    phone.sim().pump();
    EXPECT_EQ(phone.sim().received(), big);
}

TEST_F(SerialOnPty, ErrorWaitStaysPendingWithoutCountersAndPurgeDropsInput)
{
    EXPECT_EQ(dev.startErrorWait(), Io::Pending);
    quint32 events = 1;
    EXPECT_EQ(dev.pollErrorWait(events), Io::Pending);
    EXPECT_EQ(events, 0u);
    EXPECT_EQ(dev.clearErrors(), 0u);

    phone.sim().send("stale");
    phone.sim().pump();
    EXPECT_TRUE(dev.purge());
    QByteArray data;
    EXPECT_EQ(dev.startRead(data, 1024), Io::Pending);
}

}  // namespace
