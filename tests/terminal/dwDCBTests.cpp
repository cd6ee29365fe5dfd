// The device control record's defaults, ranges and bit fields.
#include "terminal/dwDCB.h"

#include "platform/SerialDevice.h"
#include "platform/VbError.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using dorrak::dwDCB;

constexpr int kDcbError = -2147190504;

// Runs a setter that must refuse; returns its message.
QString refused(const std::function<void()>& set)
{
    try {
        set();
    } catch (const platform::VbError& e) {
        EXPECT_EQ(e.number(), kDcbError);
        EXPECT_EQ(e.source(), QString("dwDCB"));
        return e.description();
    }
    ADD_FAILURE() << "accepted";
    return QString();
}

TEST(dwDCB, DefaultsAtCreation)
{
    dwDCB d;
    EXPECT_EQ(d.record().DCBlength, 28u);
    EXPECT_EQ(d.record().Flags, 0x5FDCu);
    EXPECT_EQ(d.baudRate(), 2400);
    EXPECT_FALSE(d.fParity());
    EXPECT_TRUE(d.fOutxCtsFlow());
    EXPECT_TRUE(d.fOutxDsrFlow());
    EXPECT_EQ(d.fDtrControl(), 1);
    EXPECT_EQ(d.fRtsControl(), 1);
    EXPECT_TRUE(d.fAbortOnError());
    EXPECT_EQ(d.XonLim(), 100);
    EXPECT_EQ(d.XoffLim(), 1948);
    EXPECT_EQ(d.ByteSize(), 8);
    EXPECT_EQ(d.Parity(), 0);
    EXPECT_EQ(d.StopBits(), 0);
    EXPECT_EQ(d.XonChar(), QString(QChar(17)));
    EXPECT_EQ(d.XoffChar(), QString(QChar(19)));
    EXPECT_EQ(d.ErrorChar(), QString("~"));
    EXPECT_EQ(d.EofChar(), QString(QChar(26)));
    EXPECT_EQ(d.EvtChar(), QString(QChar(0xFF)));
}

TEST(dwDCB, SpeedsOfTheListOnly)
{
    dwDCB d;
    for (int speed : {110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 56000, 57600, 115200, 128000,
                      256000}) {
        d.setBaudRate(speed);
        EXPECT_EQ(d.baudRate(), speed);
    }
    d.setBaudRate(115200);
    for (int speed : {115000, 250000, 0, -9600, 230400}) {
        SCOPED_TRACE(speed);
        EXPECT_EQ(refused([&] { d.setBaudRate(speed); }), QString("Invalid baud rate"));
        EXPECT_EQ(d.baudRate(), 115200);
    }
}

TEST(dwDCB, RangesOfTheSmallSettings)
{
    struct Case {
        const char* name;
        std::function<void(dwDCB&, int)> set;
        std::function<int(const dwDCB&)> get;
        int low, high;
        const char* message;
    };
    const Case cases[] = {
        {"fDtrControl", [](dwDCB& d, int v) { d.setFDtrControl(static_cast<qint16>(v)); },
         [](const dwDCB& d) { return int(d.fDtrControl()); }, 0, 2, "Invalid fDtrControl setting"},
        {"fRtsControl", [](dwDCB& d, int v) { d.setFRtsControl(static_cast<qint16>(v)); },
         [](const dwDCB& d) { return int(d.fRtsControl()); }, 0, 3, "Invalid fRtsControl setting"},
        {"ByteSize", [](dwDCB& d, int v) { d.setByteSize(v); }, [](const dwDCB& d) { return d.ByteSize(); }, 4, 8,
         "Invalid Byte size setting"},
        {"Parity", [](dwDCB& d, int v) { d.setParity(v); }, [](const dwDCB& d) { return d.Parity(); }, 0, 4,
         "Invalid Parity setting"},
        {"StopBits", [](dwDCB& d, int v) { d.setStopBits(v); }, [](const dwDCB& d) { return d.StopBits(); }, 0, 4,
         "Invalid Stop bits"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dwDCB d;
        for (int v = c.low; v <= c.high; ++v) {
            c.set(d, v);
            EXPECT_EQ(c.get(d), v);
        }
        for (int v : {c.low - 1, c.high + 1}) {
            EXPECT_EQ(refused([&] { c.set(d, v); }), QString(c.message));
            EXPECT_EQ(c.get(d), c.high);
        }
    }
}

TEST(dwDCB, EachSettingChangesOnlyItsOwnBits)
{
    dwDCB d;
    d.setFDtrControl(2);
    EXPECT_EQ(d.fDtrControl(), 2);
    EXPECT_TRUE(d.fOutxCtsFlow());
    EXPECT_TRUE(d.fOutxDsrFlow());
    EXPECT_EQ(d.fRtsControl(), 1);
    EXPECT_EQ(d.record().Flags, (0x5FDCu & ~0x30u) | 0x20u);

    d.setFRtsControl(3);
    EXPECT_EQ(d.record().Flags & 0x3000u, 0x3000u);
    EXPECT_EQ(d.fDtrControl(), 2);

    struct Flag {
        int bit;
        std::function<void(dwDCB&, bool)> set;
        std::function<bool(const dwDCB&)> get;
    };
    const Flag flags[] = {
        {1, &dwDCB::setFParity, &dwDCB::fParity},
        {2, &dwDCB::setFOutxCtsFlow, &dwDCB::fOutxCtsFlow},
        {3, &dwDCB::setFOutxDsrFlow, &dwDCB::fOutxDsrFlow},
        {6, &dwDCB::setFDsrSensitivity, &dwDCB::fDsrSensitivity},
        {7, &dwDCB::setFTXContinueOnXoff, &dwDCB::fTXContinueOnXoff},
        {8, &dwDCB::setFOutX, &dwDCB::fOutX},
        {9, &dwDCB::setFInX, &dwDCB::fInX},
        {10, &dwDCB::setFErrorChar, &dwDCB::fErrorChar},
        {11, &dwDCB::setFNull, &dwDCB::fNull},
        {14, &dwDCB::setFAbortOnError, &dwDCB::fAbortOnError},
    };
    for (const Flag& f : flags) {
        SCOPED_TRACE(f.bit);
        for (bool on : {false, true}) {
            const quint32 before = d.record().Flags;
            f.set(d, on);
            EXPECT_EQ(f.get(d), on);
            const quint32 mask = 1u << f.bit;
            EXPECT_EQ(d.record().Flags & ~mask, before & ~mask);
            EXPECT_EQ((d.record().Flags & mask) != 0, on);
        }
    }
}

TEST(dwDCB, CharactersKeepTheCodeOfTheFirstCharacter)
{
    dwDCB d;
    d.setErrorChar("~x");
    EXPECT_EQ(d.record().ErrorChar, '~');
    EXPECT_EQ(d.ErrorChar(), QString("~"));
    d.setEvtChar(QString(QChar(0x20AC)));  // the euro sign is byte 0x80 of the code page
    EXPECT_EQ(static_cast<unsigned char>(d.record().EvtChar), 0x80);
    EXPECT_EQ(d.EvtChar(), QString(QChar(0x20AC)));
    EXPECT_THROW(d.setXonChar(QString()), platform::VbError);
    EXPECT_EQ(d.XonChar(), QString(QChar(17)));
}

TEST(dwDCB, NoPortNoState)
{
    dwDCB d;
    platform::SerialDevice closed;
    EXPECT_FALSE(d.GetCommState(nullptr));
    EXPECT_FALSE(d.GetCommState(&closed));
    EXPECT_FALSE(d.SetCommState(nullptr));
    EXPECT_FALSE(d.SetCommState(&closed));
    EXPECT_EQ(d.baudRate(), 2400);
}

}  // namespace
