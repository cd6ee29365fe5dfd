#include "common/LogFunction.h"
#include "platform/Clock.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using common::EnsureTrailingSlash;
using common::LogFunction;

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

TEST(EnsureTrailingSlash, AppendsOneSlashUnlessEitherIsThere)
{
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"/tmp/logs  ", "/tmp/logs/"}, {"/tmp/logs/", "/tmp/logs/"}, {"C:\\logs\\", "C:\\logs\\"},
        {"/tmp/logs", "/tmp/logs/"},   {"", "/"},                    {"   ", "/"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EnsureTrailingSlash(c.in), QString(c.out)) << c.in;
}

TEST(LogFormat, SecondsAsPlusZeroPointZero)
{
    EXPECT_EQ(LogFunction::FormatSeconds(1.26f), "+1.3");
    EXPECT_EQ(LogFunction::FormatSeconds(0.0f), "+0.0");
    EXPECT_EQ(LogFunction::FormatSeconds(0.04f), "+0.0");
    EXPECT_EQ(LogFunction::FormatSeconds(12345.67f), "+12345.7");
}

struct LogTest : ::testing::Test {
    QTemporaryDir dir;
    platform::FakeClock clock{1000, 36000.0};
    LogFunction log;
    QString path() const { return dir.filePath("ParlovaPhoneLog.txt"); }
};

TEST_F(LogTest, LinesCarryTheTimeSinceThePreviousLine)
{
    log.WriteLogLine("before the log");  // not written, but the clock moves on
    clock.advance(2000);
    log.OpenLogFile(path());
    ASSERT_TRUE(log.IsOpen());
    log.WriteLogLine("first");
    clock.setSecondsSinceMidnight(clock.seconds() + 1.26);
    log.WriteLogLine("second\r");
    EXPECT_EQ(readAll(path()), QByteArray("+2.0\tfirst\r\n+1.3\tsecond\r\r\n"));
}

TEST_F(LogTest, TextGoesOutInTheAnsiCodePage)
{
    log.OpenLogFile(path());
    log.WriteLogLine(QString::fromUtf8("caf\u00e9 \u20ac"));
    EXPECT_EQ(readAll(path()), QByteArray("+36000.0\tcaf\xe9 \x80\r\n"));
}

TEST_F(LogTest, EachOpeningTruncatesAndClosesTheEarlierFile)
{
    log.OpenLogFile(path());
    log.WriteLogLine("one");
    const QString other = dir.filePath("other.txt");
    log.OpenLogFile(other);
    log.WriteLogLine("two");
    EXPECT_TRUE(readAll(path()).endsWith("\tone\r\n"));
    log.OpenLogFile(path());
    EXPECT_EQ(readAll(path()), QByteArray());
    log.WriteLogLine("three");
    log.CloseLogFile();
    EXPECT_FALSE(log.IsOpen());
    log.WriteLogLine("dropped");
    EXPECT_TRUE(readAll(path()).endsWith("\tthree\r\n"));
    EXPECT_TRUE(readAll(other).endsWith("\ttwo\r\n"));
}

TEST_F(LogTest, AMissingFolderLeavesLoggingOffSilently)
{
    log.OpenLogFile(dir.filePath("no/such/folder/log.txt"));
    EXPECT_FALSE(log.IsOpen());
    log.WriteLogLine("nothing");
    EXPECT_FALSE(QDir(dir.filePath("no")).exists());
}

TEST_F(LogTest, AFailedWriteClosesTheLogAndIsSwallowed)
{
    if (!QFile::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    log.OpenLogFile("/dev/full");
    ASSERT_TRUE(log.IsOpen());
    EXPECT_NO_THROW(log.WriteLogLine("disk full"));
    EXPECT_FALSE(log.IsOpen());
}

}  // namespace
