// The text functions of the step chains and the phone's error tables.
#include "hub/engine/ConnectChain.h"
#include "hub/engine/ConnectErrSteps.h"
#include "hub/engine/PubFunctions.h"

#include <gtest/gtest.h>

using namespace corvane;

namespace {

struct ErrorCase {
    const char* answer;
    bool cms;
    const char* expected;
};

}  // namespace

TEST(PhoneErrorText, NumericAndTextForms)
{
    const ErrorCase cases[] = {
        {"+CME ERROR: 10\r", false, "SIM not inserted"},
        {"+CMS ERROR: 500\r", true, "Unknown error"},
        {"+CMS ERROR: 999", true, "Unknown error (999)"},
        {"+CMS ERROR: 999", false, "Unknown error (999)"},
        {"+CME ERROR: 3", true, "Unknown error (3)"},
        {"+CME ERROR: 3", false, "Operation not allowed"},
        {"+CMS ERROR: 10\r\n", true, "Call bared"},
        {"+CMS ERROR: 28", true, "Unindentified subscriber"},
        {"+CMS ERROR:\t 47 \r", true, "Recources unavailable"},
        {"+CMS ERROR: 127", true, "Internetworking , unspecified"},
        {"+CMS ERROR: 518", true, "Invalid parameter"},
        {"+CMS ERROR: 538", true, "Invalid parameter"},
        {"+CME ERROR: 772", false, "SIM powered down"},
        {"+CME ERROR: 100", false, "Unknown error"},
        {"+CME ERROR: 32", false, "Network not allowed, emergency calls only"},
        {"+CME ERROR: -5", false, "Unknown error (-5)"},
        {"+CME ERROR: 10.6", false, "SIM PIN required"},  // the nearest whole number, 11
        {"+CME ERROR: SIM busy\r", false, "SIM busy"},
        {"+CMS ERROR: 12abc\r", true, "12abc"},
        {"ERROR\r", false, "ERROR"},
        {"  ERROR \r\n", true, "ERROR"},
        {"", false, ""},
    };
    for (const ErrorCase& c : cases) {
        EXPECT_EQ(PhoneErrorText(QString::fromLatin1(c.answer), c.cms), QString::fromLatin1(c.expected)) << c.answer;
    }
}

TEST(PhoneErrorText, CodeOutsideThirtyTwoBitsComesBackUnchanged)
{
    const QString answer = QStringLiteral("+CME ERROR: 99999999999\r");
    EXPECT_EQ(PhoneErrorText(answer, false), answer);
}

TEST(PhoneErrorText, TablesAnswerEveryCode)
{
    EXPECT_EQ(CMEErrorText(0), QStringLiteral("Phone failure"));
    EXPECT_EQ(CMEErrorText(5), QStringLiteral("PH_SIM PIN required"));
    EXPECT_EQ(CMEErrorText(257), QStringLiteral("Call barred"));
    EXPECT_EQ(CMEErrorText(8), QStringLiteral("Unknown error (8)"));
    EXPECT_EQ(CMSErrorText(208), QStringLiteral("D0 SIM SMS Storage full"));
    EXPECT_EQ(CMSErrorText(340), QStringLiteral("No +CNMA expected"));
    EXPECT_EQ(CMSErrorText(0), QStringLiteral("Unknown error (0)"));
    EXPECT_EQ(CMSErrorText(-2147483647 - 1), QStringLiteral("Unknown error (-2147483648)"));
}

TEST(TrimSet, DefaultAndOwnSets)
{
    EXPECT_EQ(TrimSet(QStringLiteral("  abc\r\n")), QStringLiteral("abc"));
    EXPECT_EQ(TrimSet(QStringLiteral("\r\n \b\t")), QString());
    EXPECT_EQ(TrimSet(QStringLiteral("a b")), QStringLiteral("a b"));
    EXPECT_EQ(TrimSet(QStringLiteral("xxaxx"), QStringLiteral("x")), QStringLiteral("a"));
    EXPECT_EQ(TrimSet(QStringLiteral("\tline1\r\nline2\r\n")), QStringLiteral("line1\r\nline2"));
    EXPECT_EQ(TrimSet(QString()), QString());
}

TEST(UCS2HexToText, DecodesOnlyHex)
{
    EXPECT_EQ(UCS2HexToText(QStringLiteral("004100420043")), QStringLiteral("ABC"));
    EXPECT_EQ(UCS2HexToText(QStringLiteral("041")), QStringLiteral("041"));
    EXPECT_EQ(UCS2HexToText(QStringLiteral("0041004")), QStringLiteral("0041004"));
    EXPECT_EQ(UCS2HexToText(QString()), QString());
    EXPECT_EQ(UCS2HexToText(QStringLiteral("00e9")), QString(QChar(0x00E9)));
    EXPECT_EQ(UCS2HexToText(QStringLiteral("FFFD")), QString(QChar(0xFFFD)));
    // A name of four letters is no hex: it must not turn into control characters.
    EXPECT_EQ(UCS2HexToText(QStringLiteral("Mike")), QStringLiteral("Mike"));
    EXPECT_EQ(UCS2HexToText(QStringLiteral("0041 042")), QStringLiteral("0041 042"));
}

TEST(ParseModelName, NamesAndShortAnswers)
{
    EXPECT_EQ(ParseModelName(QStringLiteral("\r\nModel 6230\r\n\r\nOK\r\n")), QStringLiteral("Model 6230"));
    EXPECT_EQ(ParseModelName(QStringLiteral("\r\n+CGMM: X1\r\n\r\nOK\r\n")), QStringLiteral("X1"));
    EXPECT_EQ(ParseModelName(QStringLiteral("\r\n   \r\n\r\nOK\r\n")), QString());
    // Echo before the answer does no harm.
    EXPECT_EQ(ParseModelName(QStringLiteral("\r\r\nParvik\r\n\r\nOK\r\n")), QStringLiteral("Parvik"));
    // Shorter than the six characters it cuts, or a colon among them: no failure.
    EXPECT_EQ(ParseModelName(QStringLiteral("OK")), QString());
    EXPECT_EQ(ParseModelName(QString()), QString());
    EXPECT_EQ(ParseModelName(QStringLiteral("a:b")), QString());
    EXPECT_EQ(ParseModelName(QStringLiteral("X1\r\nOK:\r\n")), QString());
}

TEST(ExpandRanges, WritesOutDigitRanges)
{
    const std::pair<const char*, const char*> cases[] = {
        {"0-2", "012"},         {"+CNMI: 0-2", "+CNMI: 012"},
        {"2-2", "22"},          {"0-3", "0123"},
        {"1-2", "12"},          {"0-1,3-4", "01,34"},
        {"0,2", "0,2"},         {"", ""},
        // A dash at either end has no bound there and reads as 0.
        {"-", ""},              {"3-", "3"},
        {"-2", "12"},           {"--", ""},
        {"5-3", "53"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(ExpandRanges(QString::fromLatin1(in)), QString::fromLatin1(out)) << in;
}

TEST(ConnectParsers, NewMessageIndicationSettings)
{
    struct Case {
        const char* answer;
        const char* parameters;
        bool reports;
    };
    const Case cases[] = {
        {"+CNMI: (0-2),(0-3),(0,2),(0-2),(0,1)\r\n\r\nOK\r", "2,1,,2,", true},
        {"+CNMI: (1,3),(0,1),(0),(0,1),(0)\r\n\r\nOK\r", "1,1,,,", false},
        {"+CNMI: (0,3),(0,2,3),(0),(0),(0)\r\n\r\nOK\r", "", false},
        {"+CNMI: (3),(1),(0),(2),(0)\r\n\r\nOK\r", "3,1,,2,", true},
        {"+CNMI: (0),(1),(0),(0),(0)\r\n\r\nOK\r", "", false},
        {"+CNMI: (0-2),(0-3)\r\n\r\nOK\r", "", false},
        {"", "", false},
    };
    for (const Case& c : cases) {
        bool reports = !c.reports;
        EXPECT_EQ(BuildNMISetting(QString::fromLatin1(c.answer), reports), QString::fromLatin1(c.parameters))
            << c.answer;
        EXPECT_EQ(reports, c.reports) << c.answer;
    }
}

TEST(ConnectParsers, ImeiAndErrorModes)
{
    EXPECT_EQ(IMEIDigits(QStringLiteral("\r\n35-209900-176148-1\r\n\r\nOK\r\n")), QStringLiteral("352099001761481"));
    EXPECT_EQ(IMEIDigits(QStringLiteral("\r\n35209900176148123\r\n\r\nOK\r\n")), QStringLiteral("352099001761481"));
    EXPECT_EQ(IMEIDigits(QStringLiteral("\r\nunknown\r\n\r\nOK\r\n")), QString());
    EXPECT_EQ(IMEIDigits(QStringLiteral("1234")), QStringLiteral("1234"));

    EXPECT_EQ(ChooseCmeeMode(QStringLiteral("+CMEE: (0-2)\r\n\r\nOK\r")), 2);
    EXPECT_EQ(ChooseCmeeMode(QStringLiteral("+CMEE: (0,1)\r\n\r\nOK\r")), 1);
    EXPECT_EQ(ChooseCmeeMode(QStringLiteral("+CMEE: (0)\r\n\r\nOK\r")), 0);
    EXPECT_EQ(ChooseCmeeMode(QStringLiteral("+CMEE: 0-2\r\n\r\nOK\r")), 0);
    EXPECT_EQ(ChooseCmeeMode(QStringLiteral("+CMEE: (0-2\r\n\r\nOK\r")), 0);
}
