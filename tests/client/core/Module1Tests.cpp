#include "client/core/Application.h"
#include "client/core/ui/SettingsWidgets.h"
#include "client/core/Module1.h"
#include "client/core/Settings.h"

#include "common/SmsParts.h"
#include "support/ui/DialogRecorder.h"

#include <QDir>
#include <QLocale>

#include <gtest/gtest.h>

using parlova::CountSMSParts;
using parlova::Settings;

namespace {

const QString kA = QStringLiteral("a");
const QString kEuro = QString(QChar(0x20AC));        // two septets: escape and code
const QString kEmoji = QString::fromUtf8("\xF0\x9F\x98\x80");  // two UTF-16 units

// The two settings the counter reads, in an application object of its own.
class CounterSettings {
public:
    CounterSettings(bool joined, float price)
    {
        app_.settings().JoinParts(joined);
        app_.settings().Price(price);
    }

private:
    parlova::Application app_;
};

struct Count {
    qint32 length = -1;
    qint32 parts = -1;
    float cost = -1;
};

Count Counted(const QString& text, int coding)
{
    Count c;
    CountSMSParts(c.length, c.parts, c.cost, text, coding);
    return c;
}

struct CountCase {
    const char* name;
    QString text;
    int coding;
    bool joined;
    qint32 length;
    qint32 parts;
};

}  // namespace

TEST(CountSMSParts, CountsAsTheEncoderSplits)
{
    const CountCase cases[] = {
        {"7-bit 160", kA.repeated(160), 0, true, 160, 1},
        {"7-bit 161", kA.repeated(161), 0, true, 161, 2},
        {"7-bit 306", kA.repeated(306), 0, true, 306, 2},
        {"7-bit 307", kA.repeated(307), 0, true, 307, 3},
        {"7-bit 161 separate", kA.repeated(161), 0, false, 161, 2},
        {"7-bit 310 separate", kA.repeated(310), 0, false, 310, 2},
        {"7-bit 311 separate", kA.repeated(311), 0, false, 311, 3},
        {"UCS2 70", kA.repeated(70), 1, true, 70, 1},
        {"UCS2 71", kA.repeated(71), 1, true, 71, 2},
        {"UCS2 134", kA.repeated(134), 1, true, 134, 2},
        {"UCS2 135", kA.repeated(135), 1, true, 135, 3},
        {"UCS2 131 separate", kA.repeated(131), 1, false, 131, 3},
        {"8-bit 140", kA.repeated(140), 2, true, 140, 1},
        {"8-bit 141", kA.repeated(141), 2, true, 141, 2},
        {"8-bit 141 separate", kA.repeated(141), 2, false, 141, 2},
        // The euro sign takes two septets but is one character.
        {"80 euros fill one part", kEuro.repeated(80), 0, true, 80, 1},
        {"81 euros", kEuro.repeated(81), 0, true, 81, 2},
        {"euro in UCS2 is one unit", kEuro.repeated(70), 1, true, 70, 1},
        // An escape pair is never split, so the last part spills over.
        {"escape pair at the boundary", kA.repeated(152) + kEuro.repeated(77), 0, true, 229, 3},
        {"escape pair at the separate boundary", kA.repeated(154) + kEuro.repeated(78), 0, false, 232, 3},
        // Nor is a surrogate pair.
        {"35 emoji fill one UCS2 part", kEmoji.repeated(35), 1, true, 70, 1},
        {"36 emoji", kEmoji.repeated(36), 1, true, 72, 2},
        {"surrogate pair at the boundary", kA.repeated(66) + kEmoji.repeated(34), 1, true, 134, 3},
        {"surrogate pair at the separate boundary", kA.repeated(64) + kEmoji.repeated(33), 1, false, 130, 3},
        // Line breaks.
        {"CR LF counts one", QStringLiteral("\r\n").repeated(160), 0, true, 160, 1},
        {"lone CR and LF count one each",
         QStringLiteral("\r").repeated(80) + QStringLiteral("x") + QStringLiteral("\n").repeated(80), 0, true, 161, 2},
        // The most a message may hold.
        {"40000 joined", kA.repeated(40000), 0, true, 39015, 255},
        {"40000 separate", kA.repeated(40000), 0, false, 1395, 9},
        {"20000 UCS2 joined", kA.repeated(20000), 1, true, 17085, 255},
        {"2000 8-bit separate", kA.repeated(2000), 2, false, 1215, 9},
        {"empty", QString(), 0, true, 0, 0},
        {"unknown coding", QStringLiteral("hello"), 10, true, 0, 0},
        {"negative coding", QStringLiteral("hello"), -1, true, 0, 0},
    };
    for (const CountCase& k : cases) {
        SCOPED_TRACE(k.name);
        const CounterSettings settings(k.joined, 0.5f);
        const Count c = Counted(k.text, k.coding);
        EXPECT_EQ(c.length, k.length);
        EXPECT_EQ(c.parts, k.parts);
        EXPECT_FLOAT_EQ(c.cost, 0.5f * float(k.parts));
        if (k.coding >= 0 && k.coding <= 2 && !k.text.isEmpty()) {
            const common::SmsParts split = common::SplitSms(k.text, k.coding, k.joined);
            EXPECT_EQ(c.parts, split.count()) << "the counter and the parts sent disagree";
            EXPECT_EQ(c.length, split.text.size());
        }
    }
}

TEST(CountSMSParts, CostIsThePriceOfEveryPart)
{
    const CounterSettings settings(true, 0.06f);
    const Count c = Counted(kA.repeated(307), 0);
    EXPECT_EQ(c.parts, 3);
    EXPECT_FLOAT_EQ(c.cost, 0.18f);
}

TEST(Module1, NameAndAddressBuildsAndSplitsAConfereeLine)
{
    QString name = QStringLiteral("Ann Smith");
    QString address = QStringLiteral("+491701234567");
    QString combined;
    EXPECT_EQ(parlova::NameAndAddress(name, address, combined), QString());
    EXPECT_EQ(combined, "Ann Smith <+491701234567>");

    QString n, a;
    EXPECT_EQ(parlova::NameAndAddress(n, a, combined), QString());
    EXPECT_EQ(n, name);
    EXPECT_EQ(a, address);

    struct Split {
        const char* line;
        const char* name;
        const char* address;
    };
    const Split splits[] = {
        {"a<b <c@example.org>", "a<b", "c@example.org"},  // the last "<" counts
        {" <+4930123>", "", "+4930123"},                   // built with an empty name
        {"Bob <>", "Bob", ""},
        {"Bob <x> tail", "Bob", "x"},
        {"<+4930>", "", "+4930"},  // as read back from a file
    };
    for (const Split& s : splits) {
        QString sn = QStringLiteral("kept"), sa = QStringLiteral("kept"), line = QString::fromUtf8(s.line);
        EXPECT_EQ(parlova::NameAndAddress(sn, sa, line), QString()) << s.line;
        EXPECT_EQ(sn, QString::fromUtf8(s.name)) << s.line;
        EXPECT_EQ(sa, QString::fromUtf8(s.address)) << s.line;
        QString rebuilt;
        parlova::NameAndAddress(sn, sa, rebuilt);
        QString n2, a2;
        parlova::NameAndAddress(n2, a2, rebuilt);
        EXPECT_EQ(n2, sn);
        EXPECT_EQ(a2, sa);
    }

    // Lines that cannot be split report the runtime's error and keep both outputs.
    for (const char* bad : {"no brackets", "Bob +4930", "Bob <+4930", "Bob +4930>", "x> <y"}) {
        QString bn = QStringLiteral("name"), ba = QStringLiteral("addr"), line = QString::fromUtf8(bad);
        EXPECT_EQ(parlova::NameAndAddress(bn, ba, line), "Invalid procedure call or argument (5)") << bad;
        EXPECT_EQ(bn, "name") << bad;
        EXPECT_EQ(ba, "addr") << bad;
    }
}

TEST(Module1, FileTitleDropsFolderAndExtension)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/home/ann/talks/Team.plv", "Team"},
        {"C:\\Talks\\Team.plv", "Team"},
        {"/home/ann/my.talks/Team", "Team"},  // a "." in the folder only
        {"C:\\my.talks\\Team", "Team"},
        {"Team.backup.plv", "Team.backup"},
        {"Team", "Team"},
        {".plv", ""},
        {"/home/ann/", ""},
        {"", ""},
    };
    for (auto [path, title] : cases)
        EXPECT_EQ(parlova::FileTitle(QString::fromUtf8(path)), QString::fromUtf8(title)) << path;
    // Long paths are never cut.
    const QString deep = QStringLiteral("/d").repeated(400) + QStringLiteral("/Long name.plv");
    EXPECT_EQ(parlova::FileTitle(deep), "Long name");
}

TEST(Module1, TrimSetTrimsBothEndsAndHandsBackTheDefaultSet)
{
    QString set;
    EXPECT_EQ(parlova::TrimSet(QStringLiteral("\r\n \b\t a b \t\b \n\r"), set), "a b");
    EXPECT_EQ(set, QStringLiteral("\r\n \b\t"));
    QString quotes = QStringLiteral("\" ");
    EXPECT_EQ(parlova::TrimSet(QStringLiteral(" \"C:\\a b.plv\" "), quotes), "C:\\a b.plv");
    EXPECT_EQ(quotes, "\" ");
    QString x = QStringLiteral("x");
    EXPECT_EQ(parlova::TrimSet(QStringLiteral("xxxx"), x), "");
    EXPECT_EQ(parlova::TrimSet(QStringLiteral("XaX"), x), "XaX") << "case counts";
    EXPECT_EQ(parlova::TrimSet(QString(), x), "");
}

TEST(Module1, SmallTextHelpers)
{
    EXPECT_EQ(parlova::TrimAtNull(QStringLiteral("abc") + QChar(0) + QStringLiteral("def")), "abc");
    EXPECT_EQ(parlova::TrimAtNull(QStringLiteral("abc")), "abc");
    EXPECT_TRUE(parlova::IsEmailAddress(QStringLiteral("ann@example.org")));
    EXPECT_FALSE(parlova::IsEmailAddress(QStringLiteral("+491701234567")));

    EXPECT_TRUE(parlova::IsGsmText(QString()));
    EXPECT_TRUE(parlova::IsGsmText(QStringLiteral("Hello, Äöü ß é @£$¥")));
    EXPECT_TRUE(parlova::IsGsmText(QStringLiteral("{[~]}|\\^") + kEuro)) << "extension table only";
    EXPECT_FALSE(parlova::IsGsmText(QStringLiteral("Zażółć")));
    EXPECT_FALSE(parlova::IsGsmText(QStringLiteral("ok ") + kEmoji));

    const std::pair<int, const char*> charsets[] = {
        {0, "Western Europe (0)"},     {1, "Default (1)"},       {2, "Symbol (2)"},
        {128, "Japanese (128)"},       {129, "Korean (129)"},    {134, "Simplified Chinese (134)"},
        {136, "Traditional Chinese (136)"}, {161, "Greek (161)"}, {162, "Turkish (162)"},
        {177, "Hebrew (177)"},         {178, "Arabic (178)"},    {186, "Baltic (186)"},
        {204, "Russian (204)"},        {238, "Eastern Europe (238)"}, {255, "OEM (255)"},
        {3, "Unknown (3)"},            {-7, "Unknown (-7)"},
    };
    for (auto [n, text] : charsets)
        EXPECT_EQ(parlova::CharsetName(n), QString::fromUtf8(text));
}

TEST(Module1, DefaultFontFollowsTheLocale)
{
    struct Case {
        QLocale locale;
        int charset;
        QString face;
    };
    const Case cases[] = {
        {QLocale(QLocale::Korean, QLocale::SouthKorea), 129, QStringLiteral("\uAD74\uB9BC")},
        {QLocale(QLocale::Chinese, QLocale::Taiwan), 136, QStringLiteral("\u65B0\u7D30\u660E\u9AD4")},
        {QLocale(QLocale::Japanese, QLocale::Japan), 128,
         QStringLiteral("\uFF2D\uFF33\u0020\uFF30\u30B4\u30B7\u30C3\u30AF")},
        {QLocale(QLocale::Chinese, QLocale::China), 134, QStringLiteral("\u5B8B\u4F53")},
        {QLocale(QLocale::German, QLocale::Germany), 1, QString()},
    };
    parlova::Application app;
    auto& g = parlova::G();
    for (const Case& c : cases) {
        parlova::InitDefaultFont(c.locale);
        EXPECT_EQ(g.DefaultFontCharset, c.charset) << c.locale.name().toStdString();
        EXPECT_EQ(g.DefaultFontName, c.face);
        EXPECT_EQ(g.DefaultFontSize, 10);
    }
}

TEST(Module1, BrowseForFolderAsksTheFolderDialog)
{
    platform::DialogRecorder dialogs;
    QString path = QStringLiteral("/old");
    dialogs.answerFolder(QStringLiteral("/home/ann/") + QStringLiteral("deep/").repeated(100) + QStringLiteral("talks"));
    EXPECT_EQ(parlova::BrowseForFolder(path, nullptr), QString());
    ASSERT_EQ(dialogs.folders.size(), 1u);
    EXPECT_EQ(dialogs.folders[0].title, "Choose working folder");
    EXPECT_TRUE(path.endsWith(QStringLiteral("deep/talks"))) << "a long path is never cut";
    EXPECT_GT(path.size(), 500);

    const QString chosen = path;
    EXPECT_EQ(parlova::BrowseForFolder(path, nullptr), QString()) << "cancel";
    EXPECT_EQ(path, chosen);
}

TEST(Module1, GetSpecialFolderPathReportsWhatItCannotFind)
{
    QString path = QStringLiteral("unchanged");
    EXPECT_EQ(parlova::GetSpecialFolderPath(path, 9999, false), "Folder is invalid");
    EXPECT_EQ(path, "unchanged");
    EXPECT_EQ(parlova::GetSpecialFolderPath(path, parlova::kCsidlProfile, false), QString());
    EXPECT_EQ(path, QDir::homePath());
}
