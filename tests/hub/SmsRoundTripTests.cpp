// What the encoder sends, the decoder reads back: texts, part boundaries,
// addresses and validity periods.
#include "hub/messages/SMS.h"
#include "hub/messages/SMSClassSequencer.h"

#include "common/GsmAlphabet.h"
#include "platform/Ansi.h"
#include "platform/UserSettings.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <functional>

using namespace corvane;

namespace {

const QString kEuro = QString(QChar(0x20AC));
const QString kEmoji = QString::fromUtf8("😀");

SMS Submit(const QString& text, DATA_CODING coding, bool joined, const QString& to = QStringLiteral("+447700900456"))
{
    SMS sms;
    sms.MTI = SUBMIT;
    sms.RP = NOREPLYPATH;
    sms.MsgClass = UNSPECIFIED;
    sms.SetUserData(text, coding, joined);
    sms.Address(to);
    return sms;
}

QString allGsmCharacters()
{
    QString all;
    for (int code = 0; code < 128; ++code)
        if (code != 27)
            all.append(QChar(char16_t(common::GSMCharToUnicode(code))));
    for (int ext : {20, 40, 41, 47, 60, 61, 62, 64, 101})
        all.append(QChar(char16_t(common::GSMExtToUnicode(ext))));
    return all;
}

// The "(i/n)" prefix of a separately sent part.
QString withoutPrefix(const QString& text, int i, int n)
{
    const QString prefix = QStringLiteral("(%1/%2)").arg(i).arg(n);
    EXPECT_TRUE(text.startsWith(prefix)) << text.left(8).toStdString();
    return text.mid(prefix.size());
}

int octetAt(const QString& pdu, qsizetype digit) { return pdu.mid(digit, 2).toInt(nullptr, 16); }

// The user-data length of a SUBMIT without validity period.
int udlOf(const QString& pdu)
{
    qsizetype p = 2 * octetAt(pdu, 0) + 2 + 4;  // service centre, first octet, reference
    const int digits = octetAt(pdu, p);
    p += 4 + digits + digits % 2 + 4;  // address, protocol identifier, coding scheme
    return octetAt(pdu, p);
}

struct Case {
    const char* name;
    QString text;
    DATA_CODING coding;
    int parts;
};

void expectRoundTrip(const Case& c, bool joined)
{
    SCOPED_TRACE(joined ? "joined" : "separate");
    SMS sent = Submit(c.text, c.coding, joined);
    const QStringList pdus = sent.PDU();
    ASSERT_EQ(pdus.size(), c.parts);
    for (const QString& pdu : pdus) {
        if (c.coding == DEFAULT7BIT) {
            EXPECT_LE(udlOf(pdu), 160);
        }
    }

    if (joined || pdus.size() == 1) {
        // Forward and backward: the order parts arrive in does not matter.
        for (bool reverse : {false, true}) {
            QStringList order = pdus;
            if (reverse)
                std::reverse(order.begin(), order.end());
            SMS got;
            for (const QString& pdu : order) {
                got.PDU(pdu);
                EXPECT_TRUE(got.LastPartAccepted());
            }
            EXPECT_TRUE(got.AllReceived());
            EXPECT_EQ(got.MTI, SUBMIT);
            EXPECT_EQ(got.NumberOfParts(), pdus.size());
            EXPECT_EQ(got.Coding(), c.coding);
            EXPECT_EQ(got.Address(), sent.Address());
            EXPECT_EQ(got.UserData(), sent.UserData());
        }
    } else {
        QString joinedText;
        for (qsizetype i = 0; i < pdus.size(); ++i) {
            SMS got;
            got.PDU(pdus[i]);
            EXPECT_TRUE(got.AllReceived());
            joinedText += withoutPrefix(got.UserData(), int(i) + 1, int(pdus.size()));
        }
        EXPECT_EQ(joinedText, sent.UserData());
    }
}

TEST(SmsRoundTrip, Texts)
{
    const QString a = QStringLiteral("a");
    QString bytes;
    for (int b = 0; b < 256; ++b)
        bytes.append(platform::AnsiChar(static_cast<unsigned char>(b)));
    const QString lines = QStringLiteral("one\r\ntwo\nthree\r\n");

    struct Both {
        Case joined;
        int separateParts;
    };
    const Both cases[] = {
        {{"every GSM character", allGsmCharacters(), DEFAULT7BIT, 1}, 1},
        {{"every GSM character, twice", allGsmCharacters().repeated(2), DEFAULT7BIT, 2}, 2},
        {{"7-bit 160", a.repeated(160), DEFAULT7BIT, 1}, 1},
        {{"7-bit 161", a.repeated(161), DEFAULT7BIT, 2}, 2},
        {{"7-bit 159 and a euro", a.repeated(159) + kEuro, DEFAULT7BIT, 2}, 2},
        {{"euro at the part boundary", a.repeated(152) + kEuro + a.repeated(10), DEFAULT7BIT, 2}, 2},
        {{"euro at the separate boundary", a.repeated(154) + kEuro + a.repeated(10), DEFAULT7BIT, 2}, 2},
        {{"euros only", kEuro.repeated(200), DEFAULT7BIT, 3}, 3},
        {{"UCS2 70", a.repeated(70), UCS2, 1}, 1},
        {{"UCS2 71", a.repeated(71), UCS2, 2}, 2},
        {{"pair at unit 67/68", a.repeated(66) + kEmoji + a.repeated(10), UCS2, 2}, 2},
        {{"pair at unit 65/66", a.repeated(64) + kEmoji + a.repeated(10), UCS2, 2}, 2},
        {{"Cyrillic", QString::fromUtf8("Привет, мир! ").repeated(20), UCS2, 4}, 4},
        {{"8-bit every byte", bytes, WIN8BIT, 2}, 2},
        {{"8-bit 140", a.repeated(140), WIN8BIT, 1}, 1},
        {{"8-bit 141", a.repeated(141), WIN8BIT, 2}, 2},
        {{"line ends", lines, DEFAULT7BIT, 1}, 1},
        {{"empty", QString(), DEFAULT7BIT, 1}, 1},
    };
    for (const Both& c : cases) {
        SCOPED_TRACE(c.joined.name);
        expectRoundTrip(c.joined, true);
        Case separate = c.joined;
        separate.parts = c.separateParts;
        expectRoundTrip(separate, false);
    }
}

TEST(SmsRoundTrip, PartBoundaries)
{
    // The escape pair moves whole into the next part.
    SMS sent = Submit(QStringLiteral("a").repeated(152) + kEuro + QStringLiteral("bc").repeated(5), DEFAULT7BIT, true);
    const QStringList pdus = sent.PDU();
    ASSERT_EQ(pdus.size(), 2);
    SMS second;
    second.PDU(pdus[1]);
    EXPECT_EQ(second.UserData(), QStringLiteral("[part 001]") + kEuro + QStringLiteral("bc").repeated(5));

    // The pair is not split between UCS2 parts.
    SMS wide = Submit(QStringLiteral("a").repeated(66) + kEmoji + QStringLiteral("z").repeated(10), UCS2, true);
    const QStringList widePdus = wide.PDU();
    ASSERT_EQ(widePdus.size(), 2);
    SMS first;
    first.PDU(widePdus[0]);
    EXPECT_EQ(first.UserData(), QStringLiteral("a").repeated(66) + QStringLiteral("[part 002]"));
}

TEST(SmsRoundTrip, Addresses)
{
    const char* const numbers[] = {"+447700900456", "+12345", "0123", "12345", "Shop", "InfoService", "+44 7700 900456"};
    for (const char* n : numbers) {
        SCOPED_TRACE(n);
        SMS sent = Submit(QStringLiteral("hi"), DEFAULT7BIT, false, QString::fromLatin1(n));
        SMS got;
        got.PDU(sent.PDU()[0]);
        EXPECT_EQ(got.Address(), sent.Address());
        EXPECT_EQ(got.AddressType(), sent.AddressType());
    }
}

TEST(SmsRoundTrip, ServiceCentreAndValidity)
{
    SMS sent = Submit(QStringLiteral("hi"), DEFAULT7BIT, false);
    sent.SCNumber = QStringLiteral("+27381000015");
    sent.SRIR = STATUSREP;
    sent.MsgClass = CLASS2SIM;
    sent.VP(QDateTime(QDate(2030, 12, 31), QTime(23, 59, 58), Qt::UTC));
    SMS got;
    got.PDU(sent.PDU()[0]);
    EXPECT_EQ(got.SCNumber, QStringLiteral("+27381000015"));
    EXPECT_EQ(got.SRIR, STATUSREP);
    EXPECT_EQ(got.MsgClass, CLASS2SIM);
    EXPECT_EQ(got.VPF(), ABSOLUTE);
    EXPECT_EQ(got.VP().toDateTime(), QDateTime(QDate(2030, 12, 31), QTime(23, 59, 58), Qt::UTC));
    EXPECT_EQ(got.TimeZone(), 0);

    sent.VP(167);
    SMS relative;
    relative.PDU(sent.PDU()[0]);
    EXPECT_EQ(relative.VPF(), RELATIVE);
    EXPECT_EQ(relative.VP().toInt(), 167);
    EXPECT_EQ(relative.UserData(), QStringLiteral("hi"));
}

TEST(SmsRoundTrip, LaterPartsPassOverTheirValidityPeriod)
{
    const QVariant periods[] = {QVariant(167), QVariant(QDateTime(QDate(2030, 1, 2), QTime(3, 4, 5), Qt::UTC))};
    for (const QVariant& vp : periods) {
        SCOPED_TRACE(vp.toString().toStdString());
        SMS sent = Submit(QStringLiteral("v").repeated(300) + kEuro, DEFAULT7BIT, true);
        sent.SCNumber = QStringLiteral("+27381000015");
        sent.VP(vp);
        const QStringList pdus = sent.PDU();
        ASSERT_EQ(pdus.size(), 2);
        SMS got;
        got.PDU(pdus[1]);
        got.PDU(pdus[0]);
        EXPECT_TRUE(got.LastPartAccepted());
        EXPECT_TRUE(got.AllReceived());
        EXPECT_EQ(got.UserData(), sent.UserData());
    }
}

TEST(SmsRoundTrip, TwoRecipientsDrawConsecutiveReferences)
{
    SMS sent = Submit(QStringLiteral("x").repeated(170), DEFAULT7BIT, true, QStringLiteral("+111"));
    const QStringList toFirst = sent.PDU();
    sent.Address(QStringLiteral("+222"));
    const QStringList toSecond = sent.PDU();

    SMS first, second;
    first.PDU(toFirst[0]);
    second.PDU(toSecond[0]);
    EXPECT_EQ(second.CMR(), (first.CMR() + 1) % 256);
    // Parts meant for the other number are not joined.
    first.PDU(toSecond[1]);
    EXPECT_FALSE(first.LastPartAccepted());
    first.PDU(toFirst[1]);
    second.PDU(toSecond[1]);
    EXPECT_TRUE(first.AllReceived());
    EXPECT_TRUE(second.AllReceived());
    EXPECT_EQ(first.UserData(), QStringLiteral("x").repeated(170));
    EXPECT_EQ(second.UserData(), first.UserData());
}

// --- The concatenation reference counter -----------------------------------

const QString kApp = QStringLiteral("Parlova");
const QString kSection = QStringLiteral("SMSClassSequencer");
const QString kKey = QStringLiteral("LastNumber");

QByteArray recordName() { return QFile::encodeName(SMSClassSequencer::ReservationFile()); }

// A start with the stored value and nothing in the record's place but what
// plant puts there, and one draw.
int loadedThenNext(const QString* stored, const std::function<void()>& plant = {})
{
    ::unlink(recordName().constData());
    if (stored)
        platform::SaveSetting(kApp, kSection, kKey, *stored);
    else
        platform::DeleteSetting(kApp, kSection, kKey);
    if (plant)
        plant();
    SMSClassSequencer::LoadLastNumber();
    return SMSClassSequencer::NextReference();
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(SmsClassSequencer, LoadsAndHandsOut)
{
    // A record of the second block reserved from 41, which would start the
    // next run at 42. In the record's place when another value is stored,
    // torn, or behind a link, it does not check and costs a whole block; a
    // file of the test's own behind a link is not written either.
    const QString from = QStringLiteral("41");
    loadedThenNext(&from);
    for (int i = 0; i < SMSClassSequencer::kBlock; ++i)
        SMSClassSequencer::NextReference();
    const QByteArray genuine = readAll(SMSClassSequencer::ReservationFile());
    ASSERT_FALSE(genuine.isEmpty());
    QTemporaryDir own;
    const QString target = own.filePath(QStringLiteral("mine"));

    enum class Planted { Nothing, OtherValues, Torn, LinkToRecord, LinkToOwnFile };
    struct Case {
        const char* stored;  // nullptr: no value
        int next;
        Planted planted = Planted::Nothing;
    };
    const Case cases[] = {{nullptr, 1}, {"0", 1}, {"254", 255}, {"255", 0}, {"300", 45},
                          {"abc", 1},   {"12abc", 13}, {" 7", 8},   {"7.6", 9}, {"-1", 0},
                          {"41", 170, Planted::LinkToRecord}, {"41", 170, Planted::LinkToOwnFile},
                          {"41", 170, Planted::Torn}, {nullptr, 129, Planted::Torn},
                          {"255", 128, Planted::OtherValues}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << (c.stored ? c.stored : "none") << ", planted " << int(c.planted));
        const QString stored = QString::fromLatin1(c.stored);
        const QByteArray mine = c.planted == Planted::LinkToRecord ? genuine : QByteArrayLiteral("mine\n");
        {
            QFile file(target);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(mine) == mine.size());
        }
        const auto plant = [&] {
            if (c.planted == Planted::LinkToRecord || c.planted == Planted::LinkToOwnFile) {
                ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), recordName().constData()), 0);
            } else if (c.planted != Planted::Nothing) {
                QFile record(SMSClassSequencer::ReservationFile());
                ASSERT_TRUE(record.open(QIODevice::WriteOnly) &&
                            record.write(c.planted == Planted::Torn ? genuine.left(6) : genuine) > 0);
            }
        };
        EXPECT_EQ(loadedThenNext(c.stored ? &stored : nullptr, plant), c.next);
        // The draw reserved a block without writing through the link.
        EXPECT_EQ(readAll(target), mine);
    }
    // 256 values, then round again.
    const QString start = QStringLiteral("255");
    loadedThenNext(&start);
    EXPECT_EQ(SMSClassSequencer::NextReference(), 1);
}

TEST(SmsClassSequencer, SavesForTheNextRun)
{
    const QString start = QStringLiteral("41");
    loadedThenNext(&start);
    EXPECT_EQ(SMSClassSequencer::LastNumber(), 42);
    SMSClassSequencer::SaveLastNumber();
    EXPECT_EQ(platform::GetSetting(kApp, kSection, kKey), QStringLiteral("42"));

    // The encoder draws from the same counter, once per message.
    SMS sms = Submit(QStringLiteral("x").repeated(400), DEFAULT7BIT, true);
    const QStringList pdus = sms.PDU();
    ASSERT_EQ(pdus.size(), 3);
    SMS got;
    got.PDU(pdus[2]);
    EXPECT_EQ(got.CMR(), 43);
    EXPECT_EQ(SMSClassSequencer::LastNumber(), 43);
}

TEST(SmsClassSequencer, ReferencesAreReservedInBlocksThatSurviveAKill)
{
    // A child sends long messages and dies without any clean-up; the
    // restart starts past the end of the block its last reference came
    // from, also across 255 to 0, and only a block's first draw keeps an
    // end. With the record's name taken by a pipe after the start, the
    // settings keep it.
    struct Case {
        int messages;
        bool pipe;
        int next;
    };
    // From 249 the blocks are 250..121, 122..249, 250..121.
    const Case cases[] = {{1, false, 122}, {128, false, 122}, {129, false, 250},
                          {300, false, 122}, {1, true, 122}, {129, true, 250}};
    const QByteArray record = QFile::encodeName(SMSClassSequencer::ReservationFile());
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.messages << (c.pipe ? " messages, a pipe" : " messages"));
        ::unlink(record.constData());
        const QString start = QStringLiteral("249");
        platform::SaveSetting(kApp, kSection, kKey, start);
        SMSClassSequencer::LoadLastNumber();
        if (c.pipe) {
            ASSERT_EQ(::mkfifo(record.constData(), 0600), 0);
        }
        EXPECT_EXIT(
            {
                for (int i = 0; i < c.messages; ++i)
                    if (Submit(QStringLiteral("x").repeated(400), DEFAULT7BIT, true).PDU().size() != 3)
                        std::_Exit(1);
                std::raise(SIGKILL);
            },
            ::testing::KilledBySignal(SIGKILL), "");
        // The restart opens the store afresh.
        platform::SetSettingsFolder(QFileInfo(platform::SettingsFilePath()).absolutePath());
        SMSClassSequencer::LoadLastNumber();
        EXPECT_EQ(SMSClassSequencer::NextReference(), c.next);

        // After a clean end nothing is skipped.
        SMSClassSequencer::SaveLastNumber();
        SMSClassSequencer::LoadLastNumber();
        EXPECT_EQ(SMSClassSequencer::NextReference(), c.next + 1);
        SMSClassSequencer::SaveLastNumber();
        ::unlink(record.constData());
    }
}

}  // namespace
