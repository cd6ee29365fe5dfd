#include "common/SmsParts.h"

#include "common/GsmAlphabet.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const QString kEuro = QString(QChar(0x20AC));
const QString kEmoji = QString::fromUtf8("😀");  // two UTF-16 units

QString repeat(const QString& s, int n) { return s.repeated(n); }

int septets(const QString& s) { return static_cast<int>(common::ToGSMSeptets(s).size()); }

std::vector<int> lengths(const common::SmsParts& p)
{
    std::vector<int> out;
    for (const QString& s : p.parts)
        out.push_back(static_cast<int>(s.size()));
    return out;
}

struct Case {
    const char* name;
    QString text;
    int coding;
    bool joined;
    std::vector<int> partLengths;  // characters of each part
    bool header;
};

TEST(SmsParts, SplitsAsTheEncoderSends)
{
    const QString a = QStringLiteral("a");
    const Case cases[] = {
        {"empty", QString(), 0, true, {0}, false},
        {"7-bit 160", repeat(a, 160), 0, true, {160}, false},
        {"7-bit 161 joined", repeat(a, 161), 0, true, {153, 8}, true},
        {"7-bit 161 separate", repeat(a, 161), 0, false, {155, 6}, false},
        {"7-bit 306 joined", repeat(a, 306), 0, true, {153, 153}, true},
        {"7-bit 307 joined", repeat(a, 307), 0, true, {153, 153, 1}, true},
        {"7-bit 311 separate", repeat(a, 311), 0, false, {155, 155, 1}, false},
        {"7-bit 159 + euro is 161 septets", repeat(a, 159) + kEuro, 0, true, {153, 7}, true},
        {"7-bit 158 + euro fits", repeat(a, 158) + kEuro, 0, true, {159}, false},
        {"euro at the boundary moves to part 2", repeat(a, 152) + kEuro + repeat(a, 10), 0, true, {152, 11}, true},
        {"euro at the separate boundary", repeat(a, 154) + kEuro + repeat(a, 10), 0, false, {154, 11}, false},
        {"UCS2 70", repeat(a, 70), 1, true, {70}, false},
        {"UCS2 71 joined", repeat(a, 71), 1, true, {67, 4}, true},
        {"UCS2 71 separate", repeat(a, 71), 1, false, {65, 6}, false},
        {"UCS2 pair at unit 67/68", repeat(a, 66) + kEmoji + repeat(a, 10), 1, true, {66, 12}, true},
        {"UCS2 pair at unit 66/67", repeat(a, 65) + kEmoji + repeat(a, 10), 1, true, {67, 10}, true},
        {"UCS2 pair at separate boundary", repeat(a, 64) + kEmoji + repeat(a, 10), 1, false, {64, 12}, false},
        {"8-bit 140", repeat(a, 140), 2, true, {140}, false},
        {"8-bit 141 joined", repeat(a, 141), 2, true, {134, 7}, true},
        {"8-bit 141 separate", repeat(a, 141), 2, false, {135, 6}, false},
        {"CR LF is one character", repeat(QStringLiteral("\r\n"), 160), 0, true, {160}, false},
        {"unknown coding", QStringLiteral("hello"), 7, true, {0}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const common::SmsParts p = common::SplitSms(c.text, c.coding, c.joined);
        EXPECT_EQ(lengths(p), c.partLengths);
        EXPECT_EQ(p.header, c.header);
        EXPECT_EQ(p.count(), static_cast<int>(c.partLengths.size()));
        EXPECT_EQ(p.parts.join(QString()), p.text);
    }
}

TEST(SmsParts, NoPartExceedsItsSize)
{
    // A mix of extension characters and pairs at every offset.
    for (int offset = 0; offset < 12; ++offset) {
        const QString text = repeat(QStringLiteral("x"), offset) + repeat(QStringLiteral("ab") + kEuro + u'[', 120);
        for (bool joined : {true, false}) {
            const common::SmsParts p = common::SplitSms(text, 0, joined);
            for (const QString& part : p.parts)
                EXPECT_LE(septets(part), joined ? 153 : 155);
            EXPECT_EQ(p.parts.join(QString()), text);
        }
        const QString wide = repeat(QStringLiteral("x"), offset) + repeat(QStringLiteral("ab") + kEmoji, 60);
        const common::SmsParts p = common::SplitSms(wide, 1, true);
        for (const QString& part : p.parts) {
            EXPECT_LE(part.size(), 67);
            EXPECT_FALSE(part.back().isHighSurrogate());
            EXPECT_FALSE(part.front().isLowSurrogate());
        }
        EXPECT_EQ(p.parts.join(QString()), wide);
    }
}

TEST(SmsParts, OverlongTextsAreCutToTheMostParts)
{
    const QString many = repeat(QStringLiteral("a"), 40000);
    common::SmsParts p = common::SplitSms(many, 0, true);
    EXPECT_EQ(p.text.size(), 39015);
    EXPECT_EQ(p.count(), 255);
    p = common::SplitSms(many, 0, false);
    EXPECT_EQ(p.text.size(), 1395);
    EXPECT_EQ(p.count(), 9);
    EXPECT_EQ(common::SplitSms(many, 1, true).count(), 255);
    EXPECT_EQ(common::SplitSms(many, 2, false).text.size(), 1215);

    // Two septets a character: the part limit, not the character limit, cuts.
    p = common::SplitSms(repeat(kEuro, 1395), 0, false);
    EXPECT_EQ(p.count(), 9);
    EXPECT_EQ(p.text.size(), 9 * 77);
    EXPECT_EQ(p.units, 9 * 154);

    // A cut never keeps half a pair.
    p = common::SplitSms(repeat(QStringLiteral("a"), 584) + kEmoji, 1, false);
    EXPECT_EQ(p.text.size(), 584);
}

TEST(SmsParts, KeptText)
{
    EXPECT_EQ(common::SmsText(QStringLiteral("a\r\nb\rc\nd"), 0, true), QStringLiteral("a\nb\rc\nd"));
    EXPECT_EQ(common::SmsText(QStringLiteral("abc"), 3, true), QString());
    EXPECT_EQ(common::SplitSms(repeat(QStringLiteral("a"), 150) + kEuro, 0, true).units, 152);
}

}  // namespace
