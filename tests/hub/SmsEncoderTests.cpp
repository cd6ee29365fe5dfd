#include "hub/messages/SMS.h"
#include "hub/messages/SMSClassSequencer.h"
#include "SmsTestPdus.h"

#include "common/GsmAlphabet.h"
#include "platform/VbError.h"

#include <QDate>

#include <gtest/gtest.h>

using namespace corvane;

namespace {

const QString kEuro = QString(QChar(0x20AC));

// A SUBMIT as the send set-up builds it.
SMS Submit(const QString& text, DATA_CODING coding, bool joined, const QString& to = QStringLiteral("+123"))
{
    SMS sms;
    sms.MTI = SUBMIT;
    sms.RP = NOREPLYPATH;
    sms.MsgClass = UNSPECIFIED;
    sms.SetUserData(text, coding, joined);
    sms.Address(to);
    return sms;
}

QString hex2(qsizetype v) { return QStringLiteral("%1").arg(v & 0xFF, 2, 16, QLatin1Char('0')).toUpper(); }

int hexOctet(const QString& pdu, int octetIndex) { return pdu.mid(octetIndex * 2, 2).toInt(nullptr, 16); }

// For PDUs of Submit(): no service centre, "+123", no validity period.
constexpr int kUdlOctet = 9;  // 00, first, 00, 03 91 21F3, 00, DCS, UDL
QString userData(const QString& pdu) { return pdu.mid((kUdlOctet + 1) * 2); }

int referenceOf(const QString& pdu) { return hexOctet(pdu, kUdlOctet + 4); }

TEST(SmsEncoder, ShortSubmit)
{
    SMS sms = Submit(QStringLiteral("hi"), DEFAULT7BIT, false);
    sms.VP(170);
    const QStringList pdus = sms.PDU();
    ASSERT_EQ(pdus.size(), 1);
    EXPECT_EQ(pdus[0], QStringLiteral("001100039121F30002AA02E834"));
    EXPECT_EQ(PDULength(pdus[0]), 12);
    EXPECT_EQ(sms.NumberOfParts(), 1);
}

TEST(SmsEncoder, PduLengthLeavesOutTheServiceCentre)
{
    EXPECT_EQ(PDULength(QStringLiteral("07") + QString(58, u'0')), 22);
    EXPECT_EQ(PDULength(QStringLiteral("00")), 0);
}

TEST(SmsEncoder, PartsAndLengths)
{
    struct Case {
        const char* name;
        QString text;
        DATA_CODING coding;
        bool joined;
        std::vector<int> udl;
        bool header;
    };
    const QString a = QStringLiteral("a");
    const Case cases[] = {
        {"7-bit 160", a.repeated(160), DEFAULT7BIT, true, {160}, false},
        {"7-bit 161 joined", a.repeated(161), DEFAULT7BIT, true, {160, 15}, true},
        {"7-bit 161 separate", a.repeated(161), DEFAULT7BIT, false, {160, 11}, false},
        {"7-bit 160 with a euro", a.repeated(159) + kEuro, DEFAULT7BIT, true, {160, 15}, true},
        {"a and euro", a + kEuro, DEFAULT7BIT, true, {3}, false},
        {"UCS2 70", a.repeated(70), UCS2, true, {140}, false},
        {"UCS2 71 joined", a.repeated(71), UCS2, true, {140, 14}, true},
        {"UCS2 71 separate", a.repeated(71), UCS2, false, {140, 22}, false},
        {"8-bit 140", a.repeated(140), WIN8BIT, true, {140}, false},
        {"8-bit 141 joined", a.repeated(141), WIN8BIT, true, {140, 13}, true},
        {"empty", QString(), DEFAULT7BIT, true, {0}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SMS sms = Submit(c.text, c.coding, c.joined);
        const QStringList pdus = sms.PDU();
        ASSERT_EQ(pdus.size(), static_cast<qsizetype>(c.udl.size()));
        EXPECT_EQ(sms.NumberOfParts(), pdus.size());
        for (qsizetype i = 0; i < pdus.size(); ++i) {
            EXPECT_EQ(hexOctet(pdus[i], kUdlOctet), c.udl[i]);
            EXPECT_EQ((hexOctet(pdus[i], 1) & 0x40) != 0, c.header);
            if (c.header) {
                EXPECT_EQ(userData(pdus[i]).left(12), QStringLiteral("050003") + pdus[0].mid((kUdlOctet + 4) * 2, 2) +
                                                          hex2(pdus.size()) + hex2(i + 1));
            }
        }
    }
}

TEST(SmsEncoder, ConcatenationHeader)
{
    // Two full parts of 153, then "hello" alone in the third.
    SMS sms = Submit(QStringLiteral("a").repeated(306) + QStringLiteral("hello"), DEFAULT7BIT, true);
    const QStringList pdus = sms.PDU();
    ASSERT_EQ(pdus.size(), 3);
    const int ref = referenceOf(pdus[0]);
    EXPECT_EQ(referenceOf(pdus[1]), ref);
    EXPECT_EQ(referenceOf(pdus[2]), ref);
    EXPECT_EQ(userData(pdus[0]).left(12), QStringLiteral("050003") + hex2(ref) + QStringLiteral("0301"));
    EXPECT_EQ(userData(pdus[2]), QStringLiteral("050003") + hex2(ref) + QStringLiteral("0303D06536FB0D"));
    EXPECT_EQ(hexOctet(pdus[0], kUdlOctet), 160);
    EXPECT_EQ(hexOctet(pdus[2], kUdlOctet), 12);
}

TEST(SmsEncoder, SeparatePartsArePrefixed)
{
    SMS sms = Submit(QStringLiteral("b").repeated(141), WIN8BIT, false);
    const QStringList pdus = sms.PDU();
    ASSERT_EQ(pdus.size(), 2);
    EXPECT_EQ(QByteArray::fromHex(userData(pdus[0]).toLatin1()), QByteArray("(1/2)") + QByteArray(135, 'b'));
    EXPECT_EQ(QByteArray::fromHex(userData(pdus[1]).toLatin1()), QByteArray("(2/2)") + QByteArray(6, 'b'));
}

TEST(SmsEncoder, ConsecutiveReferences)
{
    SMS sms = Submit(QStringLiteral("x").repeated(200), DEFAULT7BIT, true);
    const int first = referenceOf(sms.PDU()[0]);
    // The send chain re-encodes for the next number.
    sms.Address(QStringLiteral("+456"));
    const QStringList second = sms.PDU();
    EXPECT_EQ(referenceOf(second[0]), (first + 1) % 256);
    EXPECT_EQ(referenceOf(second[1]), (first + 1) % 256);
    SMS other = Submit(QStringLiteral("y").repeated(200), UCS2, true);
    EXPECT_EQ(referenceOf(other.PDU()[0]), (first + 2) % 256);
    // A message without a header draws nothing.
    Submit(QStringLiteral("short"), DEFAULT7BIT, true).PDU();
    EXPECT_EQ(SMSClassSequencer::LastNumber(), (first + 2) % 256);
}

TEST(SmsEncoder, Addresses)
{
    struct Case {
        QString tel;
        QString address;
        int type;
        QString field;
    };
    const Case cases[] = {
        {QStringLiteral("+123"), QStringLiteral("+123"), 145, QStringLiteral("039121F3")},
        {QStringLiteral("0123"), QStringLiteral("0123"), 129, QStringLiteral("04811032")},
        {QStringLiteral("+44 7700 900456"), QStringLiteral("+447700900456"), 145, QStringLiteral("0C91447700094065")},
        {QStringLiteral("(020) 7946-0018"), QStringLiteral("02079460018"), 129, QStringLiteral("0B812070490610F8")},
        {QStringLiteral("Shop"), QStringLiteral("Shop"), 208, QStringLiteral("07D053F41B0E")},
        {QStringLiteral("+44 ABC"), QStringLiteral("+44 ABC"), 208, QString()},
        {QStringLiteral("InformationService"), QStringLiteral("Information"), 208, QString()},
        {QString(), QString(), 208, QStringLiteral("00D0")},
        {QStringLiteral("+"), QStringLiteral("+"), 208, QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tel.toStdString());
        SMS sms = Submit(QStringLiteral("hi"), DEFAULT7BIT, false, c.tel);
        EXPECT_EQ(sms.Address(), c.address);
        EXPECT_EQ(sms.AddressType(), c.type);
        if (!c.field.isEmpty()) {
            EXPECT_EQ(sms.PDU()[0].mid(6, c.field.size()), c.field);
        }
    }
}

TEST(SmsEncoder, ServiceCentre)
{
    struct Case {
        QString number;
        QString field;  // empty: the encode fails
    };
    const Case cases[] = {
        {QString(), QStringLiteral("00")},
        {QStringLiteral("  "), QStringLiteral("00")},
        {QStringLiteral("+27381000015"), QStringLiteral("07917283010010F5")},
        {QStringLiteral("+44 7700 900000"), QStringLiteral("0791447700090000")},
        {QStringLiteral("0123"), QStringLiteral("03811032")},
        {QStringLiteral("+123\x1A"), QString()},
        {QStringLiteral("+123\r"), QString()},
        {QStringLiteral("12-34"), QString()},
        {QStringLiteral("1+2"), QString()},
        {QStringLiteral("+"), QString()},
        {QStringLiteral("1").repeated(21), QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number.toStdString());
        SMS sms = Submit(QStringLiteral("hi"), DEFAULT7BIT, false);
        sms.SCNumber = c.number;
        if (c.field.isEmpty()) {
            EXPECT_THROW(sms.PDU(), platform::VbError);
        } else {
            const QStringList pdus = sms.PDU();
            ASSERT_EQ(pdus.size(), 1);
            EXPECT_TRUE(pdus[0].startsWith(c.field + QStringLiteral("01"))) << pdus[0].toStdString();
            EXPECT_EQ(PDULength(pdus[0]), 11);
        }
    }
}

TEST(SmsEncoder, CodingSchemeAndFirstOctet)
{
    struct Case {
        DATA_CODING coding;
        MSG_CLASS cls;
        int dcs;
    };
    const Case cases[] = {{DEFAULT7BIT, UNSPECIFIED, 0x02}, {UCS2, UNSPECIFIED, 0x0A}, {WIN8BIT, UNSPECIFIED, 0x06},
                          {DEFAULT7BIT, IMMDISPLAY, 0x10}, {DEFAULT7BIT, CLASS1ME, 0x11}, {UCS2, CLASS3TE, 0x1B},
                          {WIN8BIT, CLASS2SIM, 0x16}, {DEFAULT7BIT, static_cast<MSG_CLASS>(9), 0x00}};
    for (const Case& c : cases) {
        SMS sms = Submit(QStringLiteral("hi"), c.coding, false);
        sms.MsgClass = c.cls;
        EXPECT_EQ(hexOctet(sms.PDU()[0], 8), c.dcs);
    }

    SMS sms = Submit(QStringLiteral("hi"), DEFAULT7BIT, false);
    sms.SRIR = STATUSREP;
    sms.RP = REPLYPATHISSET;
    EXPECT_EQ(hexOctet(sms.PDU()[0], 1), 0x01 + 0x20 + 0x80);
    sms.SRIR = static_cast<SRIR_TYPE>(5);
    sms.RP = static_cast<RP_TYPE>(2);
    EXPECT_EQ(hexOctet(sms.PDU()[0], 1), 0x01);
}

TEST(SmsEncoder, ValidityPeriod)
{
    SMS sms = Submit(QStringLiteral("hi"), DEFAULT7BIT, false);
    sms.VP(QDateTime(QDate(2011, 5, 4), QTime(10, 30, 0), Qt::UTC));
    EXPECT_EQ(sms.VPF(), ABSOLUTE);
    QString pdu = sms.PDU()[0];
    EXPECT_EQ(hexOctet(pdu, 1), 0x19);
    EXPECT_EQ(pdu.mid(18, 14), QStringLiteral("11504001030000"));

    sms.VP(QDate(2011, 5, 4));
    EXPECT_EQ(sms.PDU()[0].mid(18, 14), QStringLiteral("11504000000000"));

    struct Case {
        QVariant value;
        VP_FORMAT format;
        QString octet;
    };
    const Case cases[] = {
        {QVariant(170), RELATIVE, QStringLiteral("AA")},   {QVariant(QStringLiteral("167")), RELATIVE, QStringLiteral("A7")},
        {QVariant(256 + 11), RELATIVE, QStringLiteral("0B")}, {QVariant(-1), RELATIVE, QStringLiteral("FF")},
        {QVariant(2.5), RELATIVE, QStringLiteral("02")},    {QVariant(), NOTPRESENT, QString()},
        {QVariant(QStringLiteral("soon")), NOTPRESENT, QString()},
    };
    for (const Case& c : cases) {
        SMS s = Submit(QStringLiteral("hi"), DEFAULT7BIT, false);
        s.VP(c.value);
        EXPECT_EQ(s.VPF(), c.format);
        pdu = s.PDU()[0];
        EXPECT_EQ(hexOctet(pdu, 1), 1 + 8 * c.format);
        EXPECT_EQ(pdu.mid(18, c.octet.size()), c.octet);
        EXPECT_EQ(pdu.size(), 24 + c.octet.size());
    }
    SMS s = Submit(QStringLiteral("hi"), DEFAULT7BIT, false);
    s.VP(QVariant(1e300));
    EXPECT_THROW(s.PDU(), platform::VbError);
}

TEST(SmsEncoder, UserDataSetting)
{
    SMS sms;
    EXPECT_EQ(sms.SetUserData(QStringLiteral("hi"), static_cast<DATA_CODING>(3), true), QStringLiteral("Unknown coding method"));
    EXPECT_EQ(sms.UserData(), QString());
    EXPECT_EQ(sms.SetUserData(QStringLiteral("hi"), static_cast<DATA_CODING>(3), false), QString());
    EXPECT_EQ(sms.SetUserData(QStringLiteral("a\r\nb\nc"), DEFAULT7BIT, true), QString());
    EXPECT_EQ(sms.UserData(), QStringLiteral("a\r\nb\r\nc"));
    EXPECT_EQ(sms.NumberOfParts(), 0);
    sms.SetUserData(QStringLiteral("a").repeated(40000), UCS2, true);
    EXPECT_EQ(sms.UserData().size(), 17085);
    sms.SetUserData(QStringLiteral("a").repeated(40000), WIN8BIT, false);
    EXPECT_EQ(sms.UserData().size(), 1215);
}

TEST(SmsEncoder, StatusReportEncodesNothing)
{
    SMS sms = Submit(QStringLiteral("hi"), DEFAULT7BIT, false);
    sms.MTI = STATUS_REPORT;
    EXPECT_TRUE(sms.PDU().isEmpty());
}

TEST(SmsEncoder, LongMessagesStayWithinTheirParts)
{
    // 255 parts of extension characters: every UDL fits in its octet.
    SMS sms = Submit(kEuro.repeated(39015), DEFAULT7BIT, true);
    const QStringList pdus = sms.PDU();
    EXPECT_EQ(pdus.size(), 255);
    for (const QString& pdu : pdus) {
        EXPECT_LE(hexOctet(pdu, kUdlOctet), 160);
        EXPECT_EQ(hexOctet(pdu, kUdlOctet + 5), 255);
    }
}

}  // namespace
