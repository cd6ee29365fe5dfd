// The answer matcher and the line watcher on their own.
#include "terminal/WaitAnswer.h"
#include "terminal/Waiter.h"

#include "platform/Clock.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

using dorrak::WaitAnswer;
using dorrak::Waiter;

TEST(WaitString, SplitsAtTheFirstSemicolonAndJoinsBack)
{
    struct Case {
        const char* given;
        const char* begin;
        const char* end;
        const char* read;
    };
    const Case cases[] = {
        {"OK\r", "OK\r", "OK\r", "OK\r"},
        {"+CMGS:;\r", "+CMGS:", "\r", "+CMGS:;\r"},
        {";\r", "", "\r", ";\r"},
        {"+CMEE:;", "+CMEE:", "", "+CMEE:;"},
        {"a;b;c", "a", "b;c", "a;b;c"},
        {"x;x", "x", "x", "x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.given);
        QString begin, end;
        dorrak::SplitWaitString(c.given, begin, end);
        EXPECT_EQ(begin, QString(c.begin));
        EXPECT_EQ(end, QString(c.end));
        WaitAnswer w;
        w.setWaitString(c.given);
        EXPECT_EQ(w.WaitString(), QString(c.read));
    }
}

TEST(WaitAnswer, CollectsFromTheBeginStringThroughTheEndString)
{
    struct Case {
        const char* waitString;
        QStringList texts;
        int receivedAt;  // index of the text that completes it, -1 for never
        const char* collected;
    };
    const Case cases[] = {
        {"OK\r", {"O", "K\r"}, 1, "OK\r"},
        {"OK\r", {"AT\r\r\nok\r\n"}, 0, "ok\r"},
        {"+CMGS:;\r", {"AT+CMGS=20\r\r\n+CM", "GS: 12", "\r\n\r\nOK\r\n"}, 2, "+CMGS: 12\r"},
        {"+CMEE:;", {"\r\n+CMEE: 1\r\n"}, 0, ""},
        {";\r", {"anything\rmore"}, 0, "anything\r"},
        {"OK\r", {"\r\nERROR\r\n"}, -1, ""},
        // A message arriving meanwhile is no answer, in its own read or not.
        {"+CM;\r", {"\r\n+CMTI: \"SM\",3\r\n", "\r\n+CMS ERROR: 500\r\n"}, 1, "+CMS ERROR: 500\r"},
        {"+CM;\r", {"\r\n+CMTI: \"SM\",3\r\n+cdsi: 4\r\n+CME ERROR: 3\r\n"}, 0, "+CME ERROR: 3\r"},
        {"+CM;\r", {"\r\n+CMT", "I: \"ME\",7\r\n"}, -1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.waitString);
        WaitAnswer w;
        w.setWaitString(c.waitString);
        int at = -1;
        for (int i = 0; i < c.texts.size(); ++i)
            if (w.CommInput(c.texts[i]) && at < 0)
                at = i;
        EXPECT_EQ(at, c.receivedAt);
        EXPECT_EQ(w.Received(), c.receivedAt >= 0);
        if (c.receivedAt >= 0) {
            EXPECT_EQ(w.InputString(), QString(c.collected));
        }
    }
}

TEST(WaitAnswer, OnceReceivedItTakesEveryTextAndKeepsNone)
{
    WaitAnswer w;
    w.setWaitString("OK\r");
    ASSERT_TRUE(w.CommInput("\r\nOK\r\n"));
    EXPECT_TRUE(w.CommInput("+CMTI: \"SM\",1\r\n"));
    EXPECT_EQ(w.InputString(), QString("OK\r"));
    // A new wait string starts over.
    w.setWaitString("OK\r");
    EXPECT_FALSE(w.Received());
    EXPECT_EQ(w.InputString(), QString());
}

TEST(WaitAnswer, ABeginStringFoundAfterMuchTextAndAcrossTwoTexts)
{
    WaitAnswer w;
    w.setWaitString("+CPBR:;OK\r");
    for (int i = 0; i < 1000; ++i)
        EXPECT_FALSE(w.CommInput(QString(1000, QLatin1Char('z'))));
    EXPECT_FALSE(w.CommInput("zz+CP"));
    EXPECT_TRUE(w.CommInput("BR: 1,\"5\"\r\nOK\r\n"));
    EXPECT_EQ(w.InputString(), QString("+CPBR: 1,\"5\"\r\nOK\r"));
}

TEST(WaitAnswer, TimesOutOnlyPastTheDeadlineAndAtMostAfterAnHour)
{
    struct Case {
        qint64 asked;
        qint64 waited;
    };
    const Case cases[] = {{0, 0}, {1000, 1000}, {3600000, 3600000}, {5000000, 3600000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.asked);
        platform::FakeClock clock(5000);
        WaitAnswer w;
        w.setWaitString("OK\r");
        w.setWaitTime(c.asked);
        clock.advance(c.waited);
        EXPECT_FALSE(w.TimeOut());
        clock.advance(1);
        EXPECT_TRUE(w.TimeOut());
        w.CommInput("OK\r");
        EXPECT_FALSE(w.TimeOut());  // received is never timed out
    }
}

struct WatcherTest : ::testing::Test {
    Waiter w;
    QStringList lines;
    WatcherTest()
    {
        w.setWaitString("+CMTI:;\r");
        w.GetDispatch = [this](const QString& n) { lines.append(n); };
    }
};

TEST_F(WatcherTest, AnnouncesEveryCompleteLineAndNeverTakesTheText)
{
    EXPECT_FALSE(w.CommInput("\r\n+CMTI: \"SM\",1\r\n\r\n+cmti: \"ME\",2\r\n\r\nOK\r\n"));
    EXPECT_EQ(lines, QStringList({"+CMTI: \"SM\",1\r", "+cmti: \"ME\",2\r"}));
    lines.clear();
    EXPECT_FALSE(w.CommInput("\r\n+CM"));
    EXPECT_FALSE(w.CommInput("TI: \"SM\","));
    EXPECT_TRUE(lines.isEmpty());
    EXPECT_FALSE(w.CommInput("3\r\n"));
    EXPECT_EQ(lines, QStringList({"+CMTI: \"SM\",3\r"}));
}

TEST_F(WatcherTest, ALineWithoutItsEndIsGivenUpAndTheNextOneStillFound)
{
    // A begin string whose line never ends (noise, a broken phone).
    w.CommInput("+CMTI: " + QString(600, QLatin1Char('9')));
    w.CommInput("+CMTI: \"SM\",4\r\n");
    EXPECT_EQ(lines, QStringList({"+CMTI: \"SM\",4\r"}));
    lines.clear();
    // Long text before the begin string is dropped, not kept.
    for (int i = 0; i < 100; ++i)
        w.CommInput(QString(10000, QLatin1Char('x')));
    w.CommInput("x+CMTI: \"SM\",5\r");
    EXPECT_EQ(lines, QStringList({"+CMTI: \"SM\",5\r"}));
}

}  // namespace
