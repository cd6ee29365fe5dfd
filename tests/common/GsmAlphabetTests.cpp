#include "common/GsmAlphabet.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

QString septets(std::initializer_list<int> codes)
{
    QString s;
    for (int c : codes)
        s.append(QChar(char16_t(c)));
    return s;
}

std::vector<int> codesOf(const QString& s)
{
    std::vector<int> out;
    for (QChar c : s)
        out.push_back(c.unicode());
    return out;
}

struct ExtCase {
    char16_t unicode;
    int gsm;
};

TEST(GsmAlphabet, ExtensionTableBothWays)
{
    const ExtCase cases[] = {{0x005E, 148}, {0x007B, 168}, {0x007D, 169}, {0x005C, 175}, {0x005B, 188},
                             {0x007E, 189}, {0x005D, 190}, {0x007C, 192}, {0x20AC, 229}};
    for (const ExtCase& c : cases) {
        SCOPED_TRACE(int(c.unicode));
        EXPECT_EQ(common::UnicodeToGSM(c.unicode), c.gsm);
        EXPECT_EQ(common::GSMExtToUnicode(c.gsm - 128), c.unicode);
    }
    EXPECT_EQ(common::GSMExtToUnicode(10), 10);  // form feed reads as LF
    EXPECT_EQ(common::GSMExtToUnicode(65), -1);
}

TEST(GsmAlphabet, DefaultAlphabetIsItsOwnInverse)
{
    for (int code = 0; code < 128; ++code) {
        SCOPED_TRACE(code);
        const int u = common::GSMCharToUnicode(code);
        ASSERT_GE(u, 0);
        if (code == 27)
            EXPECT_EQ(common::UnicodeToGSM(u), -1);  // a raw escape in text has no code
        else
            EXPECT_EQ(common::UnicodeToGSM(u), code);
    }
    EXPECT_EQ(common::GSMCharToUnicode(128), -1);
    EXPECT_EQ(common::GSMCharToUnicode(-1), -1);
}

TEST(GsmAlphabet, EveryCodeUnitHasOnlyItsOwnCode)
{
    int mapped = 0;
    for (int u = 0; u < 65536; ++u) {
        const int g = common::UnicodeToGSM(u);
        ASSERT_EQ(common::UnicodeToGSM(u >= 32768 ? u - 65536 : u), g) << u;
        if (g < 0)
            continue;
        ++mapped;
        if (g < 128)
            ASSERT_EQ(common::GSMCharToUnicode(g), u) << u;
        else
            ASSERT_EQ(common::GSMExtToUnicode(g - 128), u) << u;
    }
    // The default alphabet less the escape, and the nine extension characters.
    EXPECT_EQ(mapped, 127 + 9);
}

TEST(GsmAlphabet, SelectedCharacters)
{
    struct Case {
        int unicode;
        int gsm;
    };
    const Case cases[] = {{'@', 0},    {'$', 2},     {0x00C7, 9},  {'\n', 10},  {'\r', 13},  {'_', 17},
                          {0x0394, 16}, {0x00A4, 36}, {0x00A1, 64}, {0x00BF, 96}, {0x00E0, 127}, {'A', 65},
                          {0x0060, -1}, {0x00E7, -1}, {0x000C, -1}, {0x0391, -1}, {0x0009, -1}, {0x001B, -1},
                          {-1, -1},     {0x00E9, 5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.unicode));
        EXPECT_EQ(common::UnicodeToGSM(c.unicode), c.gsm);
    }
}

TEST(GsmAlphabet, TextToSeptets)
{
    EXPECT_EQ(codesOf(common::ToGSMSeptets(QString::fromUtf8("a€b"))), (std::vector<int>{97, 27, 101, 98}));
    EXPECT_EQ(codesOf(common::ToGSMSeptets(QString::fromUtf8("`ç"))), (std::vector<int>{32, 32}));
    // Each half of a surrogate pair has no code.
    EXPECT_EQ(codesOf(common::ToGSMSeptets(QString::fromUtf8("😀"))), (std::vector<int>{32, 32}));
}

TEST(GsmAlphabet, SeptetsToText)
{
    struct Case {
        QString septets;
        QString text;
    };
    const Case cases[] = {
        {septets({27, 20}), QStringLiteral("^")},
        {septets({27, 65}), QString(QChar(0x00A0)) + u'A'},
        {septets({65, 27}), QStringLiteral("A")},
        {septets({9}), QString(QChar(0x00C7))},
        {septets({27, 10}), QStringLiteral("\n")},
        {septets({27, 27, 20}), QString(QChar(0x00A0)) + u'^'},
        {septets({200}), QStringLiteral(" ")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(common::GSMToUnicode(c.septets), c.text);
}

TEST(GsmAlphabet, EveryCharacterSurvivesARoundTrip)
{
    QString all;
    for (int code = 0; code < 128; ++code)
        if (code != 27)
            all.append(QChar(char16_t(common::GSMCharToUnicode(code))));
    for (int ext : {20, 40, 41, 47, 60, 61, 62, 64, 101})
        all.append(QChar(char16_t(common::GSMExtToUnicode(ext))));
    EXPECT_TRUE(common::IsGSMText(all));
    EXPECT_EQ(common::ToGSMSeptets(all).size(), all.size() + 9);
    EXPECT_EQ(common::GSMToUnicode(common::ToGSMSeptets(all)), all);
}

TEST(GsmAlphabet, GsmTextTest)
{
    EXPECT_TRUE(common::IsGSMText(QString()));
    EXPECT_TRUE(common::IsGSMText(QString::fromUtf8("Price: 5€ [ok] {x}")));
    EXPECT_FALSE(common::IsGSMText(QString::fromUtf8("Привет")));
    EXPECT_FALSE(common::IsGSMText(QStringLiteral("tab\there")));
    EXPECT_EQ(common::GSMSeptetCount(QChar(0x20AC)), 2);
    EXPECT_EQ(common::GSMSeptetCount(QChar(u'a')), 1);
    EXPECT_EQ(common::GSMSeptetCount(QChar(0x0416)), 1);  // sent as a space
}

}  // namespace
