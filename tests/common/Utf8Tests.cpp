#include "common/Utf8.h"

#include "platform/Ansi.h"

#include <gtest/gtest.h>

namespace {

QString bytesOf(const char* hex) { return platform::AnsiToText(QByteArray::fromHex(hex)); }
QByteArray hexOf(const QString& bytes) { return platform::TextToAnsi(bytes).toHex().toUpper(); }

TEST(Utf8, Decode)
{
    struct Case {
        const char* bytes;
        QString text;
        int bad;
        bool malformed;
    };
    const Case cases[] = {
        {"C3A9", QString(QChar(0x00E9)), 0, false},
        {"C341", QString(), 1, true},                  // the breaking octet goes too
        {"E282", QString(), 0, false},                 // unfinished at the end: dropped, not counted
        {"E282AC", QString(QChar(0x20AC)), 0, false},
        {"41E282AC42", QStringLiteral("A") + QChar(0x20AC) + u'B', 0, false},
        {"80", QString(), 1, true},                    // stray continuation
        {"F09F9880", QString::fromUtf8("😀"), 0, false},  // four octets: a surrogate pair
        {"F09F41", QString(), 1, true},                // a four-octet form broken off
        {"F4908080", QString(), 1, true},              // beyond U+10FFFF
        {"F8888080", QString(), 4, true},              // five-octet leads are not read
        {"C0AF", QString(QChar(0x002F)), 0, false},    // overlong forms pass
        {"EDA0BDEDB880", QString::fromUtf8("😀"), 0, false},  // halves encoded one by one
        {"", QString(), 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        QString text = QStringLiteral("old");
        int bad = -1;
        const QString result = common::UTF8Decode(text, bad, bytesOf(c.bytes));
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(bad, c.bad);
        EXPECT_EQ(result, c.malformed ? QStringLiteral("Malformed UTF-8 string") : QString());
    }
}

TEST(Utf8, CharacterOutsideTheCodePageIsMalformed)
{
    QString text;
    int bad = 0;
    common::UTF8Decode(text, bad, QStringLiteral("a") + QChar(0x0100) + u'b');
    EXPECT_EQ(text, QStringLiteral("ab"));
    EXPECT_EQ(bad, 1);
}

TEST(Utf8, Encode)
{
    struct Case {
        QString text;
        const char* hex;
    };
    const Case cases[] = {
        {QString(QChar(0x00E9)), "C3A9"},
        {QString(QChar(0x20AC)), "E282AC"},
        {QStringLiteral("A"), "41"},
        {QString(QChar(0x07FF)), "DFBF"},
        {QString(QChar(0x0800)), "E0A080"},
        {QString(QChar(0xFFFF)), "EFBFBF"},
        {QString::fromUtf8("😀"), "EDA0BDEDB880"},
        {QString(), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hex);
        QString bytes = QStringLiteral("old");
        EXPECT_EQ(common::UTF8Encode(bytes, c.text), QString());
        EXPECT_EQ(hexOf(bytes), QByteArray(c.hex));
        EXPECT_EQ(common::UTF8Encode(c.text), bytes);
    }
}

TEST(Utf8, EveryCodeUnitSurvivesARoundTrip)
{
    QString all;
    for (int u = 0; u < 65536; ++u)
        all.append(QChar(char16_t(u)));
    QString text;
    int bad = -1;
    EXPECT_EQ(common::UTF8Decode(text, bad, common::UTF8Encode(all)), QString());
    EXPECT_EQ(bad, 0);
    EXPECT_EQ(text, all);
}

TEST(Utf8, UnsignedCharCode)
{
    EXPECT_EQ(common::UnsignedCharCode(-1), 65535);
    EXPECT_EQ(common::UnsignedCharCode(-32768), 32768);
    EXPECT_EQ(common::UnsignedCharCode(0), 0);
    EXPECT_EQ(common::UnsignedCharCode(32767), 32767);
}

}  // namespace
