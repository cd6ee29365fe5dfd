#include "hub/messages/SMS.h"
#include "hub/messages/SMSPdu.h"
#include "SmsTestPdus.h"

#include "platform/Clock.h"
#include "platform/VbError.h"

#include <QDate>

#include <gtest/gtest.h>

using namespace corvane;
using namespace smstest;

namespace {

QDateTime at(int y, int mo, int d, int h, int mi, int s) { return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC); }

SMS decoded(const QString& pdu)
{
    SMS sms;
    sms.PDU(pdu);
    return sms;
}

struct Vector {
    const char* name;
    const char* pdu;
    MTI_TYPE mti;
    QString sc;
    QString address;
    int type;
    QString text;
    DATA_CODING coding;
    MSG_CLASS cls;
    QDateTime scts;  // invalid: none
    int zone;
};

TEST(SmsDecoder, Vectors)
{
    // Two-digit years are read in the window around this year.
    platform::FakeClock clock;
    clock.setNow(QDateTime(QDate(2026, 12, 9), QTime(12, 0)));
    const Vector vectors[] = {
        {"SUBMIT", "001100039121F30002AA02E834", SUBMIT, QString(), QStringLiteral("+123"), 145, QStringLiteral("hi"),
         DEFAULT7BIT, UNSPECIFIED, QDateTime(), 0},
        {"DELIVER from type C8", "07917283010010F5040BC87238880900F10000993092516195800AE8329BFD4697D9EC37", DELIVER,
         QStringLiteral("+27381000015"), QStringLiteral("27838890001"), 0xC8, QStringLiteral("hellohello"), DEFAULT7BIT,
         UNSPECIFIED, at(1999, 3, 29, 15, 16, 59), 8},
        {"DELIVER UCS2", "07915155000000F0040B915155214365F700084230513154030A0C041F04400438043204350442", DELIVER,
         QStringLiteral("+15550000000"), QStringLiteral("+15551234567"), 145, QString::fromUtf8("Привет"), UCS2,
         UNSPECIFIED, at(2024, 3, 15, 13, 45, 30), -20},
        {"DELIVER alphanumeric, class 1", "00040DD049B7F93D6D4E010011423051315403401150797A5CD6816A9B3268C37BAF373E",
         DELIVER, QString(), QStringLiteral("InfoSMS"), 208, QString::fromUtf8("Price: 5€ [ok]"), DEFAULT7BIT, CLASS1ME,
         at(2024, 3, 15, 13, 45, 30), 4},
        {"STATUS-REPORT", "07915155000000F006170B915155214365F74230513154030A4230513164500A00", STATUS_REPORT,
         QStringLiteral("+15550000000"), QStringLiteral("+15551234567"), 145, QStringLiteral("Delivered"), DEFAULT7BIT,
         IMMDISPLAY, at(2024, 3, 15, 13, 45, 30), -20},
    };
    for (const Vector& v : vectors) {
        SCOPED_TRACE(v.name);
        const SMS sms = decoded(QString::fromLatin1(v.pdu));
        EXPECT_EQ(sms.MTI, v.mti);
        EXPECT_EQ(sms.SCNumber, v.sc);
        EXPECT_EQ(sms.Address(), v.address);
        EXPECT_EQ(sms.AddressType(), v.type);
        EXPECT_EQ(sms.UserData(), v.text);
        EXPECT_EQ(sms.Coding(), v.coding);
        EXPECT_EQ(sms.MsgClass, v.cls);
        EXPECT_EQ(sms.SCTS().toDateTime(), v.scts);
        EXPECT_EQ(sms.SCTS().isValid(), v.mti != SUBMIT);
        EXPECT_EQ(sms.TimeZone(), v.zone);
        EXPECT_TRUE(sms.AnyReceived());
        EXPECT_TRUE(sms.AllReceived());
        EXPECT_TRUE(sms.LastPartAccepted());
        EXPECT_EQ(sms.NumberOfParts(), 1);
        EXPECT_EQ(sms.LastPartNumber(), 1);
    }
}

TEST(SmsDecoder, StatusReport)
{
    const SMS sms = decoded(QStringLiteral("07915155000000F006170B915155214365F74230513154030A4230513164500A00"));
    EXPECT_EQ(sms.mr(), 23);
    EXPECT_EQ(sms.DischargeTime(), at(2024, 3, 15, 13, 46, 5));
    EXPECT_EQ(sms.DischargeTimeZone(), -20);
    EXPECT_EQ(sms.Status(), 0);
}

QString statusReport(int status)
{
    return QStringLiteral("0006170B915155214365F74230513154030A4230513164500A") + hex2(status);
}

TEST(SmsDecoder, StatusTexts)
{
    struct Case {
        int status;
        const char* text;
    };
    const Case cases[] = {
        {0, "Delivered"},
        {1, "Delivered without comfirmation"},
        {2, "Replaced by service center"},
        {3, "Unknown result"},
        {31, "Unknown result"},
        {32, "Congestion, trying to transfer"},
        {33, "Busy, trying to transfer"},
        {34, "No response, trying to transfer"},
        {35, "Service rejected, trying to transfer"},
        {36, "Quality of service not available, trying to transfer"},
        {37, "Error, trying to transfer"},
        {38, "Unknown result, trying to transfer"},
        {63, "Unknown result, trying to transfer"},
        {64, "Not delivered, remote procedure error"},
        {65, "Not delivered, incompatible destination"},
        {66, "Not delivered, connection rejected by receiver"},
        {67, "Not delivered, not obtainable"},
        {68, "Not delivered, quality of service not available"},
        {69, "Not delivered, no interworking available"},
        {70, "Not delivered, message validity period expired"},
        {71, "Not delivered, message deleted by sender"},
        {72, "Not delivered, message deleted by service center administration"},
        {73, "Not delivered, message does not exist"},
        {74, "Not delivered, unknown cause"},
        {95, "Not delivered, unknown cause"},
        {96, "Not delivered, congestion"},
        {97, "Not delivered, receiver busy"},
        {98, "Not delivered, no response from receiver"},
        {99, "Not delivered, service rejected"},
        {100, "Not delivered, quality of service not available"},
        {101, "Not delivered, error in receiver"},
        {102, "Not delivered, unknown result"},
        {127, "Not delivered, unknown result"},
        {128, "Unknown result"},
        {255, "Unknown result"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status);
        const SMS sms = decoded(statusReport(c.status));
        EXPECT_EQ(sms.UserData(), QString::fromLatin1(c.text));
        EXPECT_TRUE(sms.AllReceived());
    }
}

// A DELIVER with the coding scheme given and an 8-bit "A" as its text.
QString deliverWithDcs(int dcs)
{
    return QStringLiteral("0004") + kSender + QStringLiteral("00") + hex2(dcs) + QStringLiteral("42305131540300") +
           QStringLiteral("0141");
}

TEST(SmsDecoder, CodingSchemes)
{
    struct Case {
        int dcs;
        DATA_CODING coding;
        MSG_CLASS cls;
    };
    const Case cases[] = {
        {0x00, DEFAULT7BIT, UNSPECIFIED}, {0x02, DEFAULT7BIT, UNSPECIFIED}, {0x04, WIN8BIT, UNSPECIFIED},
        {0x08, UCS2, UNSPECIFIED},        {0x0C, DEFAULT7BIT, UNSPECIFIED}, {0x10, DEFAULT7BIT, IMMDISPLAY},
        {0x11, DEFAULT7BIT, CLASS1ME},    {0x16, WIN8BIT, CLASS2SIM},       {0x1B, UCS2, CLASS3TE},
        {0x7F, DEFAULT7BIT, CLASS3TE},    {0x80, DEFAULT7BIT, UNSPECIFIED}, {0xDF, DEFAULT7BIT, UNSPECIFIED},
        {0xE0, UCS2, UNSPECIFIED},        {0xEF, UCS2, UNSPECIFIED},        {0xF0, DEFAULT7BIT, IMMDISPLAY},
        {0xF5, WIN8BIT, CLASS1ME},        {0xFB, DEFAULT7BIT, CLASS3TE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dcs);
        const SMS sms = decoded(deliverWithDcs(c.dcs));
        EXPECT_EQ(sms.Coding(), c.coding);
        EXPECT_EQ(sms.MsgClass, c.cls);
    }
    EXPECT_EQ(decoded(deliverWithDcs(0x04)).UserData(), QStringLiteral("A"));
    EXPECT_EQ(decoded(deliverWithDcs(0x00)).UserData(), QStringLiteral("A"));
}

TEST(SmsDecoder, FirstOctetBits)
{
    // Reply path, header indicator clear, status report indication, more
    // messages to send clear (bit 2 set).
    const SMS sms = decoded(QStringLiteral("00A4") + kSender + QStringLiteral("3F0442305131540300") + QStringLiteral("0141"));
    EXPECT_EQ(sms.MTI, DELIVER);
    EXPECT_EQ(sms.RP, REPLYPATHISSET);
    EXPECT_EQ(sms.SRIR, STATUSREP);
    EXPECT_EQ(sms.MMS, NOMSG);
    EXPECT_EQ(sms.ProtocolIdentifier(), 0x3F);
    EXPECT_EQ(sms.UserData(), QStringLiteral("A"));
}

TEST(SmsDecoder, AddressesByTypeOfNumber)
{
    struct Case {
        const char* name;
        QString field;  // length, type, digits
        QString address;
    };
    const Case cases[] = {
        {"international", QStringLiteral("0B915155214365F7"), QStringLiteral("+15551234567")},
        {"national 129", QStringLiteral("0A811032547698"), QStringLiteral("0123456789")},
        {"odd national keeps its last digit", QStringLiteral("05812143F5"), QStringLiteral("12345")},
        {"national A1", QStringLiteral("04A11032"), QStringLiteral("0123")},
        {"unknown 80", QStringLiteral("04801032"), QStringLiteral("0123")},
        {"international, other plan", QStringLiteral("04901032"), QStringLiteral("+0123")},
        {"alphanumeric D1", QStringLiteral("07D153F41B0E"), QStringLiteral("Shop")},
        {"empty", QStringLiteral("00D0"), QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SMS sms = decoded(Deliver8(QString(), QStringLiteral("x"), c.field));
        EXPECT_EQ(sms.Address(), c.address);
        EXPECT_EQ(sms.UserData(), QStringLiteral("x"));
    }
    // The service centre keeps "+" for 91 only.
    EXPECT_EQ(decoded(QStringLiteral("0381103204") + kSender + QStringLiteral("000442305131540300") +
                      QStringLiteral("0141"))
                  .SCNumber,
              QStringLiteral("0123"));
}

TEST(SmsDecoder, TimeStamps)
{
    int zone = 0;
    EXPECT_EQ(SMSPdu::TimeStamp(QStringLiteral("4230513154034A"), zone, 2026), at(2024, 3, 15, 13, 45, 30));
    EXPECT_EQ(zone, -24);
    SMSPdu::TimeStamp(QStringLiteral("42305131540342"), zone, 2026);
    EXPECT_EQ(zone, 24);
    // Out-of-range fields roll over as calendar arithmetic does.
    EXPECT_EQ(SMSPdu::TimeStamp(QStringLiteral("42310000000000"), zone, 2026), at(2024, 12, 31, 0, 0, 0));
    EXPECT_EQ(SMSPdu::TimeStamp(QStringLiteral("42200392969900"), zone, 2026), at(2024, 3, 1, 0, 0, 0).addSecs(29 * 3600 + 69 * 60 + 99));

    for (const char* digits : {"4230513154030", ""}) {
        SCOPED_TRACE(digits);
        EXPECT_THROW(SMSPdu::TimeStamp(QString::fromLatin1(digits), zone, 2026), platform::VbError);
    }
    // A digit that is not decimal makes the stamp unknown, never the message.
    struct Odd {
        const char* digits;
        QDateTime when;
        int zone;
    };
    const Odd odd[] = {
        {"423051315403A0", at(2024, 3, 15, 13, 45, 30), 0},
        {"4230513154030G", at(2024, 3, 15, 13, 45, 30), 0},
        {"4A305131540342", QDateTime(), 24},
        {"42305131540 00", QDateTime(), 0},
        {"4230513154F3A0", QDateTime(), 0},
    };
    for (const Odd& o : odd) {
        SCOPED_TRACE(o.digits);
        zone = 99;
        EXPECT_EQ(SMSPdu::TimeStamp(QString::fromLatin1(o.digits), zone, 2026), o.when);
        EXPECT_EQ(zone, o.zone);
    }
}

TEST(SmsDecoder, TwoDigitYearsSlideWithToday)
{
    struct Case {
        int digits;
        int currentYear;
        int year;
    };
    const Case cases[] = {{0, 2026, 2000}, {36, 2026, 2036}, {37, 2026, 1937}, {99, 2026, 1999},
                          {29, 2026, 2029}, {30, 2026, 2030}, {40, 2030, 2040}, {41, 2030, 1941},
                          {99, 2089, 2099}, {0, 2095, 2100}, {6, 2095, 2006}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.digits);
        EXPECT_EQ(SMSPdu::ExpandYear(c.digits, c.currentYear), c.year);
    }
}

TEST(SmsDecoder, TheYearWindowFollowsTheClock)
{
    // A DELIVER stamped "99" 3 29 15:16:59: the year is read in the window
    // around the clock's year.
    const QString pdu = QStringLiteral("07917283010010F5040BC87238880900F10000993092516195800AE8329BFD4697D9EC37");
    const struct {
        int nowYear;
        int year;
    } cases[] = {{2026, 1999}, {2088, 1999}, {2089, 2099}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nowYear);
        platform::FakeClock clock;
        clock.setNow(QDateTime(QDate(c.nowYear, 6, 1), QTime(12, 0)));
        EXPECT_EQ(decoded(pdu).SCTS().toDateTime().date(), QDate(c.year, 3, 29));
    }
}

TEST(SmsDecoder, OddPdusGiveTheTextThatIsThereOrTheCodecsError)
{
    for (const OddPdu& k : OddPdus()) {
        SCOPED_TRACE(k.name);
        SMS sms;
        try {
            sms.PDU(k.pdu);
            EXPECT_TRUE(k.error.isEmpty()) << "accepted";
            EXPECT_TRUE(sms.AllReceived());
            EXPECT_EQ(sms.UserData(), k.text);
            EXPECT_EQ(sms.Address(), QStringLiteral("+15551234567"));
        } catch (const platform::VbError& e) {
            EXPECT_EQ(platform::ErrorText(e), k.error);
            EXPECT_FALSE(sms.AnyReceived());
        }
    }
}

TEST(SmsDecoder, ACutBeforeTheUserDataRaisesTruncatedAndOneInItKeepsWhatIsThere)
{
    SMS relative;
    relative.MTI = SUBMIT;
    relative.VP(167);
    relative.SetUserData(QStringLiteral("relative"), DEFAULT7BIT, true);
    relative.Address(QStringLiteral("+4479000001"));
    SMS absolute = relative;
    absolute.VP(at(2026, 5, 4, 10, 30, 0));
    const QString head = QStringLiteral("00040B915155214365F700");
    const QString stamp = QStringLiteral("42305131540300");
    const struct {
        QString pdu;
        qsizetype textDigits;  // after the length octet and any header
    } pdus[] = {
        {Deliver8(QString(), QStringLiteral("hellohello")), 20},
        {Deliver8(Concat8(7, 2, 1), QStringLiteral("part")), 8},
        {head + QStringLiteral("00") + stamp + QStringLiteral("05E8329BFD06"), 10},
        {head + QStringLiteral("08") + stamp + QStringLiteral("04041F0440"), 8},
        {relative.PDU().at(0), 14},
        {absolute.PDU().at(0), 14},
        {QStringLiteral("0006") + QStringLiteral("2A") + kSender + stamp + stamp + QStringLiteral("00"), 0},
    };
    const QString marker = QStringLiteral("[part 002]");
    for (const auto& [pdu, textDigits] : pdus) {
        SCOPED_TRACE(pdu.toStdString());
        const QString whole = decoded(pdu).UserData().remove(marker);
        for (qsizetype n = 0; n < pdu.size(); n += 2) {
            SMS sms;
            if (n < pdu.size() - textDigits) {
                try {
                    sms.PDU(pdu.left(n));
                    ADD_FAILURE() << "accepted " << n << " digits";
                } catch (const platform::VbError& e) {
                    EXPECT_EQ(platform::ErrorText(e), QStringLiteral("Truncated PDU (5)")) << n;
                }
                EXPECT_FALSE(sms.AnyReceived());
            } else {
                // Never a character that was not sent.
                EXPECT_NO_THROW(sms.PDU(pdu.left(n))) << n;
                EXPECT_TRUE(whole.startsWith(sms.UserData().remove(marker))) << n;
            }
        }
    }
    // A later part cut in its text joins what is there; cut before it, nothing.
    SMS sms;
    sms.PDU(Deliver8(Concat8(7, 2, 1), QStringLiteral("A")));
    const QString second = Deliver8(Concat8(7, 2, 2), QStringLiteral("BBB"));
    EXPECT_THROW(sms.PDU(second.left(30)), platform::VbError);
    EXPECT_EQ(sms.UserData(), QStringLiteral("A[part 002]"));
    sms.PDU(second.chopped(2));
    EXPECT_EQ(sms.UserData(), QStringLiteral("ABB"));
}

TEST(SmsDecoder, SubmitValidityFormats)
{
    // Absolute: 4 May 2011 10:30:00, zone +8 quarter hours.
    SMS abs = decoded(QStringLiteral("001900039121F3000211504001030080") + QStringLiteral("02E834"));
    EXPECT_EQ(abs.VPF(), ABSOLUTE);
    EXPECT_EQ(abs.VP().toDateTime(), at(2011, 5, 4, 10, 30, 0));
    EXPECT_EQ(abs.TimeZone(), 8);
    EXPECT_EQ(abs.UserData(), QStringLiteral("hi"));

    // Enhanced format: its seven octets are passed over.
    SMS enhanced = decoded(QStringLiteral("000900039121F30002") + QStringLiteral("01020304050607") + QStringLiteral("02E834"));
    EXPECT_EQ(enhanced.VPF(), Reserved);
    EXPECT_EQ(enhanced.UserData(), QStringLiteral("hi"));

    // Later parts in the enhanced format are read past their seven octets too.
    auto enhancedPart = [](int seq, const QString& text) {
        const QString ud = QStringLiteral("050003") + QStringLiteral("6102") + hex2(seq) + ansiHex(text);
        return QStringLiteral("004900039121F30004") + QStringLiteral("01020304050607") + hex2(ud.size() / 2) + ud;
    };
    SMS parts = decoded(enhancedPart(2, QStringLiteral("B")));
    parts.PDU(enhancedPart(1, QStringLiteral("A")));
    EXPECT_TRUE(parts.LastPartAccepted());
    EXPECT_EQ(parts.UserData(), QStringLiteral("AB"));

    SMS none = decoded(QStringLiteral("000100039121F3000202E834"));
    EXPECT_EQ(none.VPF(), NOTPRESENT);
    EXPECT_EQ(none.UserData(), QStringLiteral("hi"));
}

// --- Reassembly ------------------------------------------------------------

const QString kPart1 = QStringLiteral("07915155000000F0440B915155214365F700004230513154130A0D0500032A0201906536FB0D02");
const QString kPart2 = QStringLiteral("07915155000000F0440B915155214365F700004230513154230A0C0500032A0202EE6F399B0C");

TEST(SmsReassembly, SevenBitPartsInEitherOrder)
{
    for (bool forward : {true, false}) {
        SCOPED_TRACE(forward);
        SMS sms;
        sms.PDU(forward ? kPart1 : kPart2);
        EXPECT_FALSE(sms.AllReceived());
        EXPECT_EQ(sms.CMR(), 0x2A);
        EXPECT_EQ(sms.NumberOfParts(), 2);
        EXPECT_EQ(sms.UserData(), forward ? QStringLiteral("Hello [part 002]") : QStringLiteral("[part 001]world"));
        sms.PDU(forward ? kPart2 : kPart1);
        EXPECT_TRUE(sms.LastPartAccepted());
        EXPECT_TRUE(sms.AllReceived());
        EXPECT_EQ(sms.LastPartNumber(), forward ? 2 : 1);
        EXPECT_EQ(sms.UserData(), QStringLiteral("Hello world"));
    }
}

TEST(SmsReassembly, HeaderReadingAsEscapeEatsNothing)
{
    const SMS sms = decoded(QStringLiteral("00440B915155214365F70000423051315403000C050003B54101906536FB0D"));
    EXPECT_EQ(sms.CMR(), 0xB5);
    EXPECT_EQ(sms.NumberOfParts(), 0x41);
    EXPECT_TRUE(sms.UserData().startsWith(QStringLiteral("Hello[part 002][part 003]")));
    EXPECT_TRUE(sms.UserData().endsWith(QStringLiteral("[part 065]")));
}

TEST(SmsReassembly, MiddlePartFirst)
{
    SMS sms;
    sms.PDU(Deliver8(Concat8(7, 3, 2), QStringLiteral("B")));
    EXPECT_EQ(sms.UserData(), QStringLiteral("[part 001]B[part 003]"));
    EXPECT_EQ(sms.LastPartNumber(), 2);
    EXPECT_FALSE(sms.AllReceived());
    sms.PDU(Deliver8(Concat8(7, 3, 3), QStringLiteral("C")));
    EXPECT_EQ(sms.UserData(), QStringLiteral("[part 001]BC"));
    sms.PDU(Deliver8(Concat8(7, 3, 1), QStringLiteral("A")));
    EXPECT_TRUE(sms.AllReceived());
    EXPECT_EQ(sms.UserData(), QStringLiteral("ABC"));
}

TEST(SmsReassembly, ForeignPartsArePassedOver)
{
    struct Case {
        const char* name;
        QString pdu;
        int lastPartNumber;  // after the offer
    };
    const Case cases[] = {
        {"other reference", Deliver8(Concat8(8, 2, 2), QStringLiteral("x")), 2},
        // The reference repeats every 256 messages; the count tells them apart.
        {"other part count", Deliver8(Concat8(7, 3, 2), QStringLiteral("x")), 2},
        {"other sender", Deliver8(Concat8(7, 2, 2), QStringLiteral("x"), QStringLiteral("0B915155214365F8")), 1},
        {"no header indicator", Deliver8(QString(), QStringLiteral("x")), 1},
        {"a SUBMIT", QStringLiteral("0041000B915155214365F70004") + QStringLiteral("0705") + Concat8(7, 2, 2) + QStringLiteral("78"),
         1},
        {"no concatenation element", Deliver8(QStringLiteral("0A03010203"), QStringLiteral("x")), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SMS sms;
        sms.PDU(Deliver8(Concat8(7, 2, 1), QStringLiteral("A")));
        sms.PDU(c.pdu);
        EXPECT_FALSE(sms.LastPartAccepted());
        EXPECT_FALSE(sms.AllReceived());
        EXPECT_EQ(sms.UserData(), QStringLiteral("A[part 002]"));
        EXPECT_EQ(sms.LastPartNumber(), c.lastPartNumber);
    }
}

TEST(SmsReassembly, LaterPartsOfAnotherTypeOfNumberJoin)
{
    const QString sender = QStringLiteral("0BC87238880900F1");
    SMS sms;
    sms.PDU(Deliver8(Concat8(1, 2, 1), QStringLiteral("A"), sender));
    EXPECT_EQ(sms.Address(), QStringLiteral("27838890001"));
    sms.PDU(Deliver8(Concat8(1, 2, 2), QStringLiteral("B"), sender));
    EXPECT_TRUE(sms.AllReceived());
    EXPECT_EQ(sms.UserData(), QStringLiteral("AB"));
}

TEST(SmsReassembly, RepeatedAndExtraPartsChangeNothing)
{
    SMS sms;
    sms.PDU(Deliver8(Concat8(7, 3, 1), QStringLiteral("A")));
    sms.PDU(Deliver8(Concat8(7, 3, 1), QStringLiteral("Z")));
    EXPECT_TRUE(sms.LastPartAccepted());
    EXPECT_EQ(sms.UserData(), QStringLiteral("A[part 002][part 003]"));
    // Sequence 4 of 4 belongs to another message with the same reference.
    sms.PDU(Deliver8(Concat8(7, 4, 4), QStringLiteral("D")));
    EXPECT_FALSE(sms.LastPartAccepted());
    EXPECT_EQ(sms.UserData(), QStringLiteral("A[part 002][part 003]"));
    EXPECT_EQ(sms.UserData(), QStringLiteral("A[part 002][part 003]"));
    EXPECT_FALSE(sms.AllReceived());
}

TEST(SmsReassembly, CompleteMessageTakesNoMore)
{
    SMS sms;
    sms.PDU(Deliver8(Concat8(7, 2, 1), QStringLiteral("A")));
    sms.PDU(Deliver8(Concat8(7, 2, 2), QStringLiteral("B")));
    ASSERT_TRUE(sms.AllReceived());
    sms.PDU(Deliver8(Concat8(7, 2, 2), QStringLiteral("B")));
    EXPECT_FALSE(sms.LastPartAccepted());
    EXPECT_EQ(sms.UserData(), QStringLiteral("AB"));

    SMS single = decoded(Deliver8(QString(), QStringLiteral("one")));
    single.PDU(Deliver8(QString(), QStringLiteral("two")));
    EXPECT_FALSE(single.LastPartAccepted());
    EXPECT_EQ(single.UserData(), QStringLiteral("one"));
}

TEST(SmsReassembly, TextThatLooksLikeAMarker)
{
    SMS sms;
    sms.PDU(Deliver8(Concat8(9, 2, 1), QStringLiteral("see [part 002] below ")));
    sms.PDU(Deliver8(Concat8(9, 2, 2), QStringLiteral("end")));
    EXPECT_TRUE(sms.AllReceived());
    EXPECT_EQ(sms.UserData(), QStringLiteral("see [part 002] below end"));

    SMS other;
    other.PDU(Deliver8(Concat8(9, 2, 2), QStringLiteral("[part 001]")));
    EXPECT_EQ(other.UserData(), QStringLiteral("[part 001][part 001]"));
    other.PDU(Deliver8(Concat8(9, 2, 1), QStringLiteral("x")));
    EXPECT_TRUE(other.AllReceived());
    EXPECT_EQ(other.UserData(), QStringLiteral("x[part 001]"));
}

TEST(SmsReassembly, InvalidConcatenationElementsAreIgnored)
{
    struct Case {
        const char* name;
        QString header;
        int parts;
        int last;
        int cmr;
    };
    const Case cases[] = {
        {"count 0", Concat8(5, 0, 1), 1, 1, 0},
        {"sequence 0", Concat8(5, 2, 0), 1, 1, 0},
        {"sequence above count", Concat8(5, 2, 3), 1, 1, 0},
        {"wrong length", QStringLiteral("0004050201FF"), 1, 1, 0},
        {"cut short", QStringLiteral("00030502"), 1, 1, 0},
        {"invalid, then valid", Concat8(5, 0, 1) + Concat8(6, 2, 2), 2, 2, 6},
        {"other element first", QStringLiteral("0504158A0000") + Concat8(6, 2, 1), 2, 1, 6},
        {"16-bit reference", QStringLiteral("0804FFFF0201"), 2, 1, -1},
        {"16-bit reference 1234", QStringLiteral("080412340302"), 3, 2, 0x1234},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SMS sms = decoded(Deliver8(c.header, QStringLiteral("t")));
        EXPECT_EQ(sms.NumberOfParts(), c.parts);
        EXPECT_EQ(sms.LastPartNumber(), c.last);
        EXPECT_EQ(sms.CMR(), c.cmr);
        EXPECT_EQ(sms.AllReceived(), c.parts == 1);
        QString expected;
        for (int i = 1; i <= c.parts; ++i)
            expected += i == c.last ? QStringLiteral("t") : QStringLiteral("[part %1]").arg(i, 3, 10, QLatin1Char('0'));
        EXPECT_EQ(sms.UserData(), expected);
    }

    // A later part with an invalid element is not joined.
    SMS sms;
    sms.PDU(Deliver8(Concat8(5, 2, 1), QStringLiteral("A")));
    sms.PDU(Deliver8(Concat8(5, 2, 0), QStringLiteral("B")));
    EXPECT_FALSE(sms.LastPartAccepted());
    EXPECT_EQ(sms.UserData(), QStringLiteral("A[part 002]"));
}

TEST(SmsReassembly, WideReferenceJoins)
{
    SMS sms;
    sms.PDU(Deliver8(QStringLiteral("0804ABCD0202"), QStringLiteral("B")));
    sms.PDU(Deliver8(QStringLiteral("0804ABCD0201"), QStringLiteral("A")));
    EXPECT_TRUE(sms.AllReceived());
    EXPECT_EQ(sms.CMR(), static_cast<qint16>(0xABCD));
    EXPECT_EQ(sms.UserData(), QStringLiteral("AB"));
}

TEST(SmsReassembly, UnicodePartsJoin)
{
    auto ucs2Part = [](int seq, const QString& units) {
        const QString ud = QStringLiteral("050003") + QStringLiteral("3302") + hex2(seq) + units;
        return QStringLiteral("0044") + kSender + QStringLiteral("000842305131540300") + hex2(ud.size() / 2) + ud;
    };
    SMS sms;
    sms.PDU(ucs2Part(2, QStringLiteral("0442")));
    EXPECT_EQ(sms.UserData(), QStringLiteral("[part 001]") + QChar(0x0442));
    sms.PDU(ucs2Part(1, QStringLiteral("041F")));
    EXPECT_TRUE(sms.AllReceived());
    EXPECT_EQ(sms.UserData(), QString(QChar(0x041F)) + QChar(0x0442));
}

TEST(SmsReassembly, TimeOut)
{
    platform::FakeClock clock(100000);
    SMS sms;
    sms.PDU(Deliver8(Concat8(7, 2, 1), QStringLiteral("A")));
    clock.advance(30000);
    EXPECT_FALSE(sms.TimeOut());
    clock.advance(1);
    EXPECT_TRUE(sms.TimeOut());
    // A foreign PDU is an offer too.
    sms.PDU(Deliver8(Concat8(8, 2, 2), QStringLiteral("x")));
    EXPECT_FALSE(sms.TimeOut());
    clock.advance(30001);
    EXPECT_TRUE(sms.TimeOut());
    EXPECT_EQ(sms.UserData(), QStringLiteral("A[part 002]"));
}

}  // namespace
