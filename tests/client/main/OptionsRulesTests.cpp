#include "client/main/OptionsRules.h"

#include "client/core/Module1.h"

#include <gtest/gtest.h>

#include <limits>

using parlova::NumberCheck;
using parlova::OptionsRules;

namespace {

const NumberCheck& Check(const char* box)
{
    for (const NumberCheck& c : OptionsRules::NumberChecks())
        if (qstrcmp(c.box, box) == 0)
            return c;
    ADD_FAILURE() << "no check for " << box;
    return OptionsRules::NumberChecks()[0];
}

TEST(OptionsRules, TabsShowTheirPagesByEmailType)
{
    const auto& tabs = OptionsRules::Tabs();
    EXPECT_EQ(tabs[0].toolTip, QStringLiteral("Set general application`s options"));
    EXPECT_EQ(tabs[1].key, QStringLiteral("Connection"));
    struct Case {
        int tab;
        qint32 emailType;
        int page;
    };
    for (const Case& c : {Case{0, 0, 0}, Case{1, 1, 1}, Case{2, 0, OptionsRules::kNoPage}, Case{2, 1, 2}, Case{2, 2, 6},
                          Case{2, 7, OptionsRules::kNoPage}, Case{3, 2, 3}, Case{4, 0, 4}})
        EXPECT_EQ(OptionsRules::PageOfTab(c.tab, c.emailType), c.page) << c.tab << "/" << c.emailType;
    for (int tab = 0; tab < OptionsRules::kTabCount; ++tab)
        EXPECT_EQ(tabs[size_t(tab)].helpContext, 35100 + 100 * tab);
    EXPECT_EQ(OptionsRules::NextTab(4), 0);
    EXPECT_EQ(OptionsRules::NextTab(1), 2);
}

TEST(OptionsRules, ScanBoxesAreHeldToTheirBounds)
{
    struct Case {
        const char* text;
        qint32 value;
        bool rewrite;
    };
    for (const Case& c : {Case{"300", 256, true}, Case{"256", 256, false}, Case{"12", 12, false},
                          Case{"0", 1, true}, Case{"", 1, true}, Case{"abc", 1, true}, Case{"-5", 1, true},
                          Case{"7 ports", 7, false}, Case{"99999999999", 256, true}}) {
        const OptionsRules::BoxValue v = OptionsRules::ScanBoxValue(QString::fromLatin1(c.text), 1, 256);
        EXPECT_EQ(v.value, c.value) << c.text;
        EXPECT_EQ(v.rewrite, c.rewrite) << c.text;
    }
}

TEST(OptionsRules, NumberChecksAcceptTheirRangesOnly)
{
    struct Case {
        const char* box;
        const char* text;
        bool accepted;
    };
    const Case cases[] = {
        {"Text14", "10", true},  {"Text14", "600", true},  {"Text14", "9", false},   {"Text14", "601", false},
        {"Text16", "0", true},   {"Text16", "-1", false},  {"Text16", "x", false},   {"Text17", "0", false},
        {"Text17", "1", true},   {"Text17", "600", true},  {"Text19", "0", true},    {"Text19", "", false},
        {"Text20", "0", true},   {"Text20", "-3", false},  {"Text22", "255", true},  {"Text22", "256", false},
        {"Text23", "0", false},  {"Text23", "30", true},
        // Too big for 32 bits: out of range, not an overflow.
        {"Text16", "99999999999", false}, {"Text20", "99999999999", false},
    };
    for (const Case& c : cases) {
        const NumberCheck& check = Check(c.box);
        const QString message = OptionsRules::CheckNumber(check, QString::fromLatin1(c.text));
        EXPECT_EQ(message, c.accepted ? QString() : QString::fromLatin1(check.message)) << c.box << " " << c.text;
    }
    EXPECT_STREQ(Check("Text14").message, "Enter number from 10 to 600");
    EXPECT_STREQ(Check("Text16").message, "Enter positive whole number");
    EXPECT_STREQ(Check("Text20").message, "Enter whole positive number");
    EXPECT_STREQ(Check("Text22").message, "Enter number from 1 to 255");
}

TEST(OptionsRules, CaptionsAndOptionFallbacks)
{
    EXPECT_EQ(OptionsRules::LastPortCaption(0), QStringLiteral("The last connected port (not yet)"));
    EXPECT_EQ(OptionsRules::LastPortCaption(3), QStringLiteral("The last connected port (COM3)"));
    platform::FontSpec f;
    f.name = QStringLiteral("Sans");
    f.size = 10;
    f.charset = 0;
    EXPECT_EQ(OptionsRules::FontDescription(f), QStringLiteral("Sans; 10; ") + parlova::CharsetName(0));
    f.size = 8.25;
    EXPECT_TRUE(OptionsRules::FontDescription(f).startsWith(QStringLiteral("Sans; 8.25; ")));
    EXPECT_EQ(OptionsRules::CodingShown(1), 1);
    EXPECT_EQ(OptionsRules::CodingShown(7), 10);
    EXPECT_EQ(OptionsRules::ClassShown(4), 4);
    EXPECT_EQ(OptionsRules::ClassShown(5), std::nullopt);
    EXPECT_EQ(OptionsRules::ClassShown(-1), std::nullopt);
    EXPECT_EQ(OptionsRules::ValidityShown(3), 3);
    EXPECT_EQ(OptionsRules::ValidityShown(1), 0);
}

}  // namespace
