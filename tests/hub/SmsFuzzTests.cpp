// The decoder takes whatever the phone sends: random, cut and garbled hex
// must never crash it, and may only fail with the codec's own error.
#include "hub/messages/SMS.h"
#include "SmsTestPdus.h"

#include "platform/VbError.h"

#include <gtest/gtest.h>

#include <random>

using namespace corvane;

namespace {

const char* const kVectors[] = {
    "001100039121F30002AA02E834",
    "07917283010010F5040BC87238880900F10000993092516195800AE8329BFD4697D9EC37",
    "07915155000000F0040B915155214365F700084230513154030A0C041F04400438043204350442",
    "07915155000000F0440B915155214365F700004230513154130A0D0500032A0201906536FB0D02",
    "07915155000000F0440B915155214365F700004230513154230A0C0500032A0202EE6F399B0C",
    "07915155000000F006170B915155214365F74230513154030A4230513164500A00",
    "00040DD049B7F93D6D4E010011423051315403401150797A5CD6816A9B3268C37BAF373E",
    "00440B915155214365F70000423051315403000C050003B54101906536FB0D",
    "001900039121F3000211504001030080" "02E834",
    "000900039121F3000201020304050607" "02E834",
};

class Fuzzer {
public:
    explicit Fuzzer(unsigned seed) : rng_(seed) {}

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

    QChar digit()
    {
        static const char kHex[] = "0123456789ABCDEF";
        // Now and then something a phone should never send.
        static const char kOdd[] = "abcdefGZ \r-";
        if (below(40) == 0)
            return QChar(char16_t(kOdd[below(sizeof kOdd - 1)]));
        return QChar(char16_t(kHex[below(16)]));
    }

    QString randomHex(int most)
    {
        QString s;
        const int n = below(most + 1);
        for (int i = 0; i < n; ++i)
            s.append(digit());
        return s;
    }

    QString mutate(QString s)
    {
        const int edits = 1 + below(4);
        for (int e = 0; e < edits && !s.isEmpty(); ++e) {
            const int at = below(int(s.size()));
            switch (below(3)) {
            case 0: s[at] = digit(); break;
            case 1: s.insert(at, digit()); break;
            default: s.remove(at, 1 + below(4)); break;
            }
        }
        return s;
    }

    // A well-formed DELIVER around a random user-data header and length.
    QString randomHeaderDeliver()
    {
        QString header;
        const int elements = below(4);
        for (int i = 0; i < elements; ++i) {
            const int id = below(3) == 0 ? below(256) : (below(2) ? 0 : 8);
            const int length = below(3) == 0 ? below(8) : (id == 8 ? 4 : 3);
            header += smstest::hex2(id) + smstest::hex2(length);
            for (int k = 0; k < length; ++k)
                header += smstest::hex2(below(4) == 0 ? below(256) : below(4));
        }
        QString pdu = smstest::Deliver8(header, QStringLiteral("text"));
        if (below(2)) {
            // Lie about the coding or the lengths.
            const QString dcs = smstest::hex2(below(256));
            pdu.replace(2 + 2 + 16 + 2, 2, dcs);
        }
        if (below(2)) {
            const qsizetype udl = 2 + 2 + 16 + 4 + 14;
            pdu.replace(udl, 2, smstest::hex2(below(256)));
        }
        return pdu;
    }

private:
    std::mt19937 rng_;
};

// Offers the PDUs to one object and checks that it stays coherent.
void offer(const QStringList& pdus)
{
    SMS sms;
    for (const QString& pdu : pdus) {
        try {
            sms.PDU(pdu);
        } catch (const platform::VbError& e) {
            EXPECT_EQ(e.source(), QStringLiteral("SMS"));
        }
        // A first PDU cut before its user data, or no hex, is refused whole.
        if (!sms.AnyReceived())
            continue;
        ASSERT_GE(sms.NumberOfParts(), 1);
        ASSERT_LE(sms.NumberOfParts(), 255);
        ASSERT_GE(sms.LastPartNumber(), 1);
        ASSERT_LE(sms.LastPartNumber(), 255);
        ASSERT_LT(sms.UserData().size(), 20000);
        (void)sms.SCTS();
        (void)sms.TimeOut();
    }
}

TEST(SmsFuzz, TruncatedVectors)
{
    for (const char* v : kVectors) {
        const QString pdu = QString::fromLatin1(v);
        for (qsizetype n = 0; n <= pdu.size(); ++n) {
            SCOPED_TRACE(pdu.left(n).toStdString());
            offer({pdu.left(n)});
            offer({pdu, pdu.left(n)});
        }
    }
}

TEST(SmsFuzz, RandomAndGarbledHex)
{
    Fuzzer f(20261209);
    for (int round = 0; round < 3000; ++round) {
        QStringList pdus;
        const int count = 1 + f.below(4);
        for (int i = 0; i < count; ++i) {
            switch (f.below(3)) {
            case 0: pdus << f.randomHex(360); break;
            case 1: pdus << f.mutate(QString::fromLatin1(kVectors[f.below(std::size(kVectors))])); break;
            default: pdus << f.randomHeaderDeliver(); break;
            }
        }
        SCOPED_TRACE(pdus.join(QLatin1Char('|')).toStdString());
        offer(pdus);
        if (testing::Test::HasFatalFailure())
            return;
    }
}

}  // namespace
