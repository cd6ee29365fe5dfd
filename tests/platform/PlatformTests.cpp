#include "platform/Ansi.h"
#include "platform/Clock.h"
#include "platform/Collection.h"
#include "platform/UserSettings.h"
#include "platform/Val.h"
#include "platform/VbError.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace platform;

TEST(Collection, KeysIgnoreCaseAndKeepInsertionOrder)
{
    Collection<int> c;
    c.Add(1, "One");
    c.Add(2, "two");
    c.Add(0, "zero", 1);  // before the first
    c.Add(15, "", 0, 2);  // after the second
    ASSERT_EQ(c.Count(), 4);
    EXPECT_EQ(c.Item(1), 0);
    EXPECT_EQ(c.Item(2), 1);
    EXPECT_EQ(c.Item(3), 15);
    EXPECT_EQ(c.Item("ONE"), 1);
    EXPECT_TRUE(c.Exists("TWO"));
    EXPECT_EQ(c.IndexOf("two"), 4);
    c.Remove("one");
    EXPECT_FALSE(c.Exists("one"));
    EXPECT_EQ(c.Item(2), 15);
}

TEST(Collection, ErrorsCarryTheRuntimeNumbers)
{
    Collection<QString> c;
    c.Add("a", "k");
    try {
        c.Add("b", "K");
        FAIL();
    } catch (const VbError& e) {
        EXPECT_EQ(e.number(), 457);
    }
    try {
        c.Item("missing");
        FAIL();
    } catch (const VbError& e) {
        EXPECT_EQ(e.number(), 5);
    }
    try {
        c.Item(2);
        FAIL();
    } catch (const VbError& e) {
        EXPECT_EQ(e.number(), 9);
        EXPECT_EQ(ErrorText(e), "Subscript out of range (9)");
    }
    EXPECT_THROW(c.Add("x", "", 3), VbError);
}

TEST(Ansi, EveryByteRoundTrips)
{
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(char(i));
    const QString text = AnsiToText(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(text[0x80], QChar(0x20AC));
    EXPECT_EQ(text[0x81], QChar(0x81));
    EXPECT_EQ(text[0x9F], QChar(0x178));
    EXPECT_EQ(TextToAnsi(text), all);
    EXPECT_EQ(TextToAnsi(QString::fromUtf8("Ж")), QByteArray("?"));
}

TEST(Val, ReadsTheLeadingNumber)
{
    EXPECT_EQ(Val("  12abc"), 12);
    EXPECT_EQ(Val("1 2 3"), 123);
    EXPECT_EQ(Val("-3.5e2x"), -350);
    EXPECT_EQ(Val("&H1F"), 31);
    EXPECT_EQ(Val("&HFFFF"), 65535);
    EXPECT_EQ(Val("&HFFFFFFFF"), -1);
    EXPECT_EQ(Val("&O17"), 15);
    EXPECT_EQ(Val("abc"), 0);
    EXPECT_EQ(Val(""), 0);
    EXPECT_EQ(Val("+5,7"), 5);
}

TEST(FakeClock, ReplacesTheClockWhileItLives)
{
    {
        FakeClock clock(500);
        EXPECT_EQ(TickCount(), 500);
        clock.advance(250);
        EXPECT_EQ(TickCount(), 750);
    }
    EXPECT_NE(TickCount(), 750);
}

TEST(UserSettings, StoresTextInAPrivateFile)
{
    QTemporaryDir dir;
    const QString before = SettingsFilePath();
    SetSettingsFolder(dir.path() + "/Parlova");
    SaveSetting("Parlova", "Options", "Port", "3");
    SaveSetting("Parlova", "Main window", "Width", "640");
    SaveSetting("Parlova", "Options", "Greeting", "a, b");
    EXPECT_EQ(GetSetting("Parlova", "options", "PORT"), "3");
    EXPECT_EQ(GetSetting("Parlova", "Main window", "Width"), "640");
    EXPECT_EQ(GetSetting("Parlova", "Options", "Greeting"), "a, b");
    EXPECT_EQ(GetSetting("Parlova", "Options", "Missing", "dflt"), "dflt");
    EXPECT_EQ(GetAllSettings("Parlova", "Options").size(), 2);
    DeleteSetting("Parlova", "Options", "port");
    EXPECT_EQ(GetSetting("Parlova", "Options", "Port", "gone"), "gone");
    const QFileInfo file(SettingsFilePath());
    EXPECT_EQ(file.permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther), 0);
    SetSettingsFolder(QFileInfo(before).absolutePath());
}
