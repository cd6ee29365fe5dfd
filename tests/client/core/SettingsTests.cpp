#include "client/core/Application.h"
#include "client/core/ui/SettingsWidgets.h"
#include "client/core/Module1.h"
#include "client/core/Settings.h"

#include "hub/engine/Gate.h"
#include "platform/ui/Dialogs.h"

#include "client/support/SettingsStoreFixture.h"
#include "support/FileSizeLimit.h"

#include <QApplication>
#include <QListWidget>
#include <QSettings>
#include <QTextEdit>

#include <optional>

#include <sys/stat.h>
#include <unistd.h>

using parlova::HistoryList;
using parlova::OptionsSnapshot;
using parlova::PortChoice;
using parlova::Settings;
using platform::FontSpec;

namespace {

constexpr qint32 kWindowText = qint32(0x80000008u);
constexpr qint32 kWindowBack = qint32(0x80000005u);

QString Text(bool b) { return b ? QStringLiteral("True") : QStringLiteral("False"); }

QString Text(const FontSpec& f)
{
    return QStringLiteral("%1/%2/%3/%4%5%6%7")
        .arg(f.name)
        .arg(f.charset)
        .arg(f.size)
        .arg(f.bold ? "B" : "-", f.italic ? "I" : "-", f.strikethrough ? "S" : "-", f.underline ? "U" : "-");
}

// Every control of a snapshot as "name=value", so a failing comparison names
// the setting that did not come back.
QStringList Dump(const OptionsSnapshot& c)
{
    QStringList out;
    auto add = [&](const char* name, const QString& v) { out << QLatin1String(name) + QLatin1Char('=') + v; };
    add("ShowCost", Text(c.ShowCost));
    add("Price", c.Price);
    add("CurrencySign", c.CurrencySign);
    add("RememberRecentFiles", Text(c.RememberRecentFiles));
    add("RecentFilesNumber", QString::number(c.RecentFilesNumber));
    add("WorkingFolder", c.WorkingFolder);
    add("SimplifiedLog", Text(c.SimplifiedLog));
    add("DateTimeFormat", c.DateTimeFormat);
    add("ConnectAtStartUp", Text(c.ConnectAtStartUp));
    add("JoinParts", Text(c.JoinParts));
    add("Port", QString::number(int(c.Port)));
    add("StartPort", QString::number(c.StartPort));
    add("EndPort", QString::number(c.EndPort));
    add("PortSpeedIndex", QString::number(c.PortSpeedIndex));
    add("SCNumberFromPhone", Text(c.SCNumberFromPhone));
    add("SCNumber", c.SCNumber);
    add("Coding", QString::number(c.Coding));
    add("Class", QString::number(c.Class));
    add("ValidityType", QString::number(c.ValidityType));
    add("RelativeValidity", QString::number(c.RelativeValidity));
    add("RequestReport", Text(c.RequestReport));
    for (size_t i = 0; i < c.Samples.size(); ++i) {
        const QByteArray n = "Sample" + QByteArray::number(qulonglong(i));
        add(n.constData(), Text(c.Samples[i].font) + QStringLiteral(" %1 %2").arg(c.Samples[i].foreColor).arg(c.Samples[i].backColor));
    }
    add("ConnectAtStartUpEmail", Text(c.ConnectAtStartUpEmail));
    add("UserName", c.UserName);
    add("EmailAddress", c.EmailAddress);
    add("Login", c.Login);
    add("Password", c.Password);
    add("POP3Address", c.POP3Address);
    add("POP3Port", c.POP3Port);
    add("POP3SSLRequired", Text(c.POP3SSLRequired));
    add("POP3PollInterval", c.POP3PollInterval);
    add("SMTPAddress", c.SMTPAddress);
    add("SMTPPort", c.SMTPPort);
    add("SMTPSSLRequired", Text(c.SMTPSSLRequired));
    add("ServerTimeout", c.ServerTimeout);
    add("SPARequired", Text(c.SPARequired));
    add("MaxSize", c.MaxSize);
    add("UseExtender", Text(c.UseExtender));
    add("Extender", c.Extender);
    add("LimitMsgToExt", Text(c.LimitMsgToExt));
    add("MaxPartsToExt", c.MaxPartsToExt);
    for (size_t i = 0; i < 5; ++i)
        add("TO", QString::number(i) + QLatin1Char(':') + c.Timeouts[i]);
    add("LogToFile", Text(c.LogToFile));
    return out;
}

// A dialog in which the user changed every control from its default.
OptionsSnapshot EveryControlChanged(Settings& s)
{
    OptionsSnapshot c = s.Snapshot();
    c.ShowCost = false;
    c.Price = QStringLiteral("0.25");
    c.CurrencySign = QStringLiteral("€");
    c.RememberRecentFiles = false;
    c.RecentFilesNumber = 9;
    c.WorkingFolder = QStringLiteral("/srv/talks with blanks/and, a comma");
    c.SimplifiedLog = true;
    c.DateTimeFormat = QStringLiteral("dd.MM.yy HH:mm");
    c.ConnectAtStartUp = true;
    c.JoinParts = false;
    c.Port = PortChoice::ScanPorts;
    c.StartPort = 3;
    c.EndPort = 17;
    c.PortSpeedIndex = 2;
    c.SCNumberFromPhone = false;
    c.SCNumber = QStringLiteral("+491710760000");
    c.Coding = 1;
    c.Class = 0;
    c.ValidityType = 3;
    c.RelativeValidity = 255;
    c.RequestReport = true;
    const FontSpec fonts[5] = {
        {QStringLiteral("DejaVu Sans"), 0, 12, true, false, false, false},
        {QStringLiteral("DejaVu Serif"), 204, 9.5, false, true, false, false},
        {QStringLiteral("Liberation Mono"), 238, 11, false, false, true, false},
        {},  // the Book style is never taken from the dialog
        {QStringLiteral("Noto Sans"), 161, 14, true, true, true, true},
    };
    for (int style : {0, 1, 2, 4}) {
        s.SetStyleFontChanged(style);
        c.Samples[size_t(style)] = {fonts[style], 0x00112233 + style, 0x00445566 + style};
    }
    c.ConnectAtStartUpEmail = true;
    c.UserName = QStringLiteral("Ann Smith");
    c.EmailAddress = QStringLiteral("ann@example.org");
    c.Login = QStringLiteral("ann");
    c.Password = QStringLiteral("s3cret=;#\"quoted\"");
    c.POP3Address = QStringLiteral("pop.example.org");
    c.POP3Port = QStringLiteral("995");
    c.POP3SSLRequired = true;
    c.POP3PollInterval = QStringLiteral("15");
    c.SMTPAddress = QStringLiteral("smtp.example.org");
    c.SMTPPort = QStringLiteral("465");
    c.SMTPSSLRequired = true;
    c.ServerTimeout = QStringLiteral("120");
    c.SPARequired = true;
    c.MaxSize = QStringLiteral("1048576");
    c.UseExtender = true;
    c.Extender = QStringLiteral("+4915112345678");
    c.LimitMsgToExt = true;
    c.MaxPartsToExt = QStringLiteral("3");
    c.Timeouts = {QStringLiteral("10"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")};
    c.LogToFile = false;  // a change would open the gate's log
    return c;
}

mode_t Mode(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return 0;
    return st.st_mode & 07777;
}

}  // namespace

TEST_F(SettingsStoreTest, AnEmptyStoreGivesEveryDefault)
{
    Settings s;
    s.GetOptions();
    EXPECT_TRUE(s.ShowCost());
    EXPECT_EQ(s.Price(), 0.06f);
    EXPECT_EQ(s.CurrencySign(), "$");
    EXPECT_TRUE(s.RememberRecentFiles());
    EXPECT_EQ(s.RecentFilesNumber(), 4);
    QString documents;
    EXPECT_EQ(parlova::GetSpecialFolderPath(documents, parlova::kCsidlPersonal, false), QString());
    EXPECT_EQ(s.WorkingFolder(), documents);
    EXPECT_FALSE(s.SimplifiedLog());
    EXPECT_EQ(s.DateTimeFormat(), "yyyy/MM/dd  HH:mm");
    EXPECT_FALSE(s.ConnectAtStartUp());
    EXPECT_TRUE(s.JoinParts());
    EXPECT_FALSE(s.LastChoice());
    EXPECT_FALSE(s.ScanPorts());
    EXPECT_TRUE(s.ScanAllPorts());
    s.StartPort(5);
    s.EndPort(9);
    EXPECT_EQ(s.StartPort(), 1) << "all ports are scanned";
    EXPECT_EQ(s.EndPort(), 256);
    EXPECT_EQ(s.LastPort(), 0);
    EXPECT_EQ(s.PortSpeedIndex(), 6);
    EXPECT_EQ(s.PortSpeed(), 115200);
    EXPECT_EQ(s.Coding(), 10);
    EXPECT_EQ(s.Class(), 4);
    EXPECT_EQ(s.ValidityType(), 2);
    EXPECT_EQ(s.RelativeValidity(), 170);
    EXPECT_FALSE(s.RequestReport());
    EXPECT_TRUE(s.SCNumberFromPhone());
    EXPECT_EQ(s.SCNumber(), "");
    for (int style = 0; style < 5; ++style) {
        EXPECT_EQ(s.StyleForeColor(style), kWindowText) << style;
        EXPECT_EQ(s.StyleBackColor(style), kWindowBack) << style;
        EXPECT_EQ(s.StyleFont(style), (FontSpec{QString(), 1, 10, false, false, false, false})) << style;
        EXPECT_FALSE(s.StyleFontChanged(style));
    }
    EXPECT_EQ(s.ConfereesForeColor(), kWindowText);
    EXPECT_EQ(s.OtherBackColor(), kWindowBack);
    EXPECT_EQ(s.Timeouts(), (std::array<qint32, 5>{-1, 0, 0, 0, 0}));
    EXPECT_FALSE(s.LogToFile());
    EXPECT_FALSE(s.UseExtender());
    EXPECT_EQ(s.Extender(), "");
    EXPECT_FALSE(s.LimitMsgToExt());
    EXPECT_EQ(s.MaxPartsToExt(), 1);
    EXPECT_FALSE(s.ConnectAtStartUpEmail());
    EXPECT_EQ(s.UserName(), "");
    EXPECT_EQ(s.EmailAddress(), "");
    EXPECT_EQ(s.Login(), "");
    EXPECT_EQ(s.Password(), "");
    EXPECT_EQ(s.POP3Address(), "");
    EXPECT_EQ(s.POP3Port(), 110);
    EXPECT_FALSE(s.POP3SSLRequired());
    EXPECT_EQ(s.POP3PollInterval(), 1);
    EXPECT_EQ(s.SMTPAddress(), "");
    EXPECT_EQ(s.SMTPPort(), 25);
    EXPECT_FALSE(s.SMTPSSLRequired());
    EXPECT_EQ(s.ServerTimeout(), 60);
    EXPECT_FALSE(s.SPARequired());
    EXPECT_EQ(s.MaxSize(), 0);
    EXPECT_EQ(s.EmailType(), 0);
    for (HistoryList list : {HistoryList::Price, HistoryList::Currency, HistoryList::DateTimeFormat, HistoryList::SCNumber})
        EXPECT_EQ(s.History(list), QStringList{QString()});
    EXPECT_EQ(s.ComboItems(HistoryList::DateTimeFormat),
              (QStringList{QStringLiteral("yyyy/MM/dd  HH:mm"), QStringLiteral("dd.MM.yy HH:mm")}));
    EXPECT_FALSE(QFile::exists(file())) << "loading writes nothing";
}

TEST_F(SettingsStoreTest, EveryPropertyComesBackAfterARestart)
{
    OptionsSnapshot saved;
    {
        Settings s;
        s.GetOptions();
        s.EmailType(1);
        saved = EveryControlChanged(s);
        OptionsSnapshot c = saved;
        s.SaveOptions(c);
        s.SaveLastPort(7);
        s.SaveBookOptions(true, FontSpec{QStringLiteral("Courier"), 2, 8, false, false, true, true}, 0x000000FF,
                          0x00FFFFFF);
    }
    // The values are text of the documented form.
    EXPECT_EQ(value("Options", "ShowCost"), "False");
    EXPECT_EQ(value("Options", "RequestReport"), "True");
    EXPECT_EQ(value("Options", "Price"), "0.25");
    EXPECT_EQ(value("Options", "TO0"), "10");
    EXPECT_EQ(value("Options", "BookForeColor"), "255");
    EXPECT_EQ(value("Options_LogFont", "Strikethru"), "True");
    EXPECT_EQ(value("Options", "EmailType"), "<none>");
    EXPECT_EQ(value("Options", "PortSpeed"), "<none>");
    EXPECT_EQ(value("Options", "Timeouts"), "<none>");

    platform::SetSettingsFolder(QFileInfo(file()).absolutePath());  // a new process reads the file afresh
    Settings t;
    t.GetOptions();
    t.EmailType(1);
    OptionsSnapshot loaded = t.Snapshot();
    // The Book style is not a sample of the dialog; it is checked below.
    saved.Samples[3] = loaded.Samples[3];
    EXPECT_EQ(Dump(loaded), Dump(saved));
    EXPECT_EQ(t.Price(), 0.25f);
    EXPECT_EQ(t.StartPort(), 3);
    EXPECT_EQ(t.EndPort(), 17);
    EXPECT_EQ(t.PortSpeed(), 19200);
    EXPECT_EQ(t.Timeouts(), (std::array<qint32, 5>{10, 1, 2, 3, 4}));
    EXPECT_EQ(t.LastPort(), 7);
    EXPECT_EQ(t.StyleFont(3), (FontSpec{QStringLiteral("Courier"), 2, 8, false, false, true, true}));
    EXPECT_EQ(t.BookForeColor(), 0x000000FF);
    EXPECT_EQ(t.BookBackColor(), 0x00FFFFFF);
    EXPECT_EQ(t.History(HistoryList::Price), QStringList{"0.25"});
    EXPECT_EQ(t.History(HistoryList::Currency), QStringList{"€"});
    EXPECT_EQ(t.History(HistoryList::SCNumber), QStringList{"+491710760000"});
    EXPECT_EQ(t.History(HistoryList::DateTimeFormat),
              (QStringList{QStringLiteral("yyyy/MM/dd  HH:mm"), QStringLiteral("dd.MM.yy HH:mm")}));
}

TEST_F(SettingsStoreTest, SavingWhatWasLoadedLeavesTheFileAsItWas)
{
    {
        Settings s;
        s.EmailType(2);
        OptionsSnapshot c = EveryControlChanged(s);
        s.SaveOptions(c);
        s.SetLastChoice();
    }
    const QByteArray before = fileBytes();
    ASSERT_FALSE(before.isEmpty());
    const QDateTime modified = QFileInfo(file()).lastModified();

    platform::SetSettingsFolder(QFileInfo(file()).absolutePath());
    Settings t;
    t.GetOptions();
    t.EmailType(2);
    OptionsSnapshot c = t.Snapshot();
    t.SaveOptions(c);
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(QFileInfo(file()).lastModified(), modified);
}

TEST_F(SettingsStoreTest, AnUntouchedDialogWritesNothingToAnEmptyStore)
{
    Settings s;
    s.GetOptions();
    OptionsSnapshot c = s.Snapshot();
    s.SaveOptions(c);
    EXPECT_FALSE(QFile::exists(file()));
}

TEST_F(SettingsStoreTest, AFailedSaveIsReportedAndLeavesTheFileWhole)
{
    {
        Settings s;
        s.GetOptions();
        OptionsSnapshot c = s.Snapshot();
        c.Password = QStringLiteral("old secret");
        ASSERT_EQ(s.SaveOptions(c), QString());
    }
    const QByteArray before = fileBytes();
    const QString folder = QFileInfo(file()).absolutePath();

    struct Case {
        const char* name;
        bool readOnlyFolder;  // root writes there anyway: only the full disk then
    };
    for (const Case k : {Case{"disk full", false}, Case{"read-only folder", true}}) {
        if (k.readOnlyFolder && ::geteuid() == 0)
            continue;
        SCOPED_TRACE(k.name);
        platform::SetSettingsFolder(folder);
        Settings s;
        s.GetOptions();
        OptionsSnapshot c = s.Snapshot();
        c.Password = QStringLiteral("new secret");
        c.SMTPPort = QStringLiteral("2525");
        QString error;
        {
            std::optional<testsupport::FileSizeLimit> full;
            if (k.readOnlyFolder)
                ::chmod(QFile::encodeName(folder).constData(), 0500);
            else
                full.emplace(before.size() / 2);
            error = s.SaveOptions(c);
            ::chmod(QFile::encodeName(folder).constData(), 0700);
        }
        EXPECT_TRUE(error.startsWith(QStringLiteral("The settings could not be saved: "))) << error.toStdString();
        EXPECT_GT(error.size(), 33);
        EXPECT_EQ(fileBytes(), before);
        // What the store reads back is what a restart would find.
        EXPECT_EQ(value("Options", "Password"), QStringLiteral("old secret"));
    }
}

TEST_F(SettingsStoreTest, OnlyChangedValuesAreWritten)
{
    Settings s;
    s.GetOptions();
    OptionsSnapshot c = s.Snapshot();
    c.ShowCost = false;
    c.SMTPPort = QStringLiteral("2525");
    c.Samples[parlova::kLogStyle].backColor = 0x00C0FFEE;
    s.SaveOptions(c);
    EXPECT_EQ(section("Options"), (QList<QPair<QString, QString>>{
                                      {"LogBackColor", "12648430"}, {"SMTPPort", "2525"}, {"ShowCost", "False"}}));
    QSettings raw(file(), QSettings::IniFormat);
    EXPECT_EQ(raw.childGroups(), QStringList{"Options"}) << "no font, history or other section";
}

TEST_F(SettingsStoreTest, ThePortChoiceSurvivesARestart)
{
    auto restart = [this] {
        platform::SetSettingsFolder(QFileInfo(file()).absolutePath());
        auto s = std::make_unique<Settings>();
        s->GetOptions();
        return s;
    };
    auto choice = [](const Settings& s) {
        return QStringLiteral("%1%2%3").arg(Text(s.LastChoice()), Text(s.ScanPorts()), Text(s.ScanAllPorts()));
    };
    {
        Settings s;
        OptionsSnapshot c = s.Snapshot();
        c.Port = PortChoice::ScanPorts;
        s.SaveOptions(c);
    }
    // Whenever one of the three is written, all three are.
    EXPECT_EQ(section("Options"), (QList<QPair<QString, QString>>{
                                      {"LastChoice", "False"}, {"ScanAllPorts", "False"}, {"ScanPorts", "True"}}));
    EXPECT_EQ(choice(*restart()), "FalseTrueFalse");

    restart()->SetLastChoice();
    EXPECT_EQ(choice(*restart()), "TrueFalseFalse");

    {
        auto s = restart();
        OptionsSnapshot c = s->Snapshot();
        c.Port = PortChoice::ScanAllPorts;
        s->SaveOptions(c);
    }
    EXPECT_EQ(choice(*restart()), "FalseFalseTrue");

    {
        auto s = restart();
        OptionsSnapshot c = s->Snapshot();
        c.Port = PortChoice::LastChoice;
        s->SaveOptions(c);
    }
    EXPECT_EQ(choice(*restart()), "TrueFalseFalse");
    restart()->SetScanAllPorts();
    EXPECT_EQ(value("Options", "LastChoice"), "False");
    EXPECT_EQ(value("Options", "ScanPorts"), "False");
    EXPECT_EQ(choice(*restart()), "FalseFalseTrue");
}

TEST_F(SettingsStoreTest, AFileWithSeveralPortChoicesTrueIsReadInAFixedOrder)
{
    // The store lists keys sorted (ScanAllPorts before ScanPorts); the choice
    // must not depend on that.
    writeFile("[Options]\nLastChoice=False\nScanAllPorts=True\nScanPorts=True\n");
    Settings s;
    s.GetOptions();
    EXPECT_TRUE(s.ScanAllPorts());
    EXPECT_FALSE(s.ScanPorts());
    EXPECT_FALSE(s.LastChoice());
}

TEST(SettingsPortChoice, SettingOneTrueClearsTheOthersAndFalseChangesNothing)
{
    Settings s;
    s.ScanPorts(true);
    EXPECT_TRUE(s.ScanPorts());
    EXPECT_FALSE(s.LastChoice());
    EXPECT_FALSE(s.ScanAllPorts());
    s.ScanPorts(false);
    EXPECT_TRUE(s.ScanPorts());
    s.LastChoice(true);
    EXPECT_TRUE(s.LastChoice());
    EXPECT_FALSE(s.ScanPorts());
    s.ScanAllPorts(false);
    EXPECT_TRUE(s.LastChoice());
    s.StartPort(4);
    s.EndPort(8);
    EXPECT_EQ(s.StartPort(), 4);
    EXPECT_EQ(s.EndPort(), 8);
}

TEST(SettingsPortSpeed, FollowsTheSpeedList)
{
    const std::pair<int, int> table[] = {{0, 9600},   {1, 14400},  {2, 19200},  {3, 38400},  {4, 56000},
                                         {5, 57600},  {6, 115200}, {7, 115200}, {8, 115200}, {-1, 115200}};
    Settings s;
    for (auto [index, speed] : table) {
        s.PortSpeedIndex(index);
        EXPECT_EQ(s.PortSpeed(), speed) << index;
    }
}

TEST_F(SettingsStoreTest, NewHistoryEntriesNeverOverwriteStoredOnes)
{
    auto saveFormat = [](Settings& s, const QString& format) {
        OptionsSnapshot c = s.Snapshot();
        c.DateTimeFormat = format;
        s.SaveOptions(c);
    };
    {
        Settings s;
        s.GetOptions();
        saveFormat(s, QStringLiteral("HH:mm"));
        // The box's own items first, the empty marker gone.
        EXPECT_EQ(s.History(HistoryList::DateTimeFormat),
                  (QStringList{"yyyy/MM/dd  HH:mm", "dd.MM.yy HH:mm", "HH:mm"}));
        saveFormat(s, QStringLiteral("dd.MM.yy HH:mm"));  // one of the items: nothing added
        OptionsSnapshot c = s.Snapshot();
        c.Price = QStringLiteral("0.1");
        s.SaveOptions(c);
    }
    EXPECT_EQ(section("Options_Combo1"), (QList<QPair<QString, QString>>{
                                             {"Item0", "yyyy/MM/dd  HH:mm"}, {"Item1", "dd.MM.yy HH:mm"}, {"Item2", "HH:mm"}}));
    EXPECT_EQ(section("Options_Combo2"), (QList<QPair<QString, QString>>{{"Item0", "0.1"}}))
        << "the first price is item 0, not after an empty one";

    platform::SetSettingsFolder(QFileInfo(file()).absolutePath());
    Settings t;
    t.GetOptions();
    saveFormat(t, QStringLiteral("yy-MM-dd"));
    EXPECT_EQ(value("Options_Combo1", "Item2"), "HH:mm");
    EXPECT_EQ(value("Options_Combo1", "Item3"), "yy-MM-dd");
}

TEST_F(SettingsStoreTest, HistoriesAreReadByNumberAndExtendedPastTheHighest)
{
    // Hand-edited: a gap, and numbers that sort differently as text.
    writeFile("[Options_Combo3]\nItem0=$\nItem10=kr\nItem2=EUR\nItem1=\xC2\xA3\nNotAnItem=x\n");
    Settings s;
    s.GetOptions();
    EXPECT_EQ(s.History(HistoryList::Currency), (QStringList{"$", "£", "EUR", "kr"}));
    OptionsSnapshot c = s.Snapshot();
    c.CurrencySign = QStringLiteral("CHF");
    s.SaveOptions(c);
    EXPECT_EQ(value("Options_Combo3", "Item11"), "CHF");
    EXPECT_EQ(value("Options_Combo3", "Item10"), "kr");
    EXPECT_EQ(value("Options_Combo3", "Item4"), "<none>");
    EXPECT_EQ(s.History(HistoryList::Currency).last(), "CHF");
}

TEST_F(SettingsStoreTest, TheFileAndItsFolderArePrivate)
{
    platform::SetSettingsFolder(scratch() + QStringLiteral("/fresh/Parlova"));
    Settings s;
    OptionsSnapshot c = s.Snapshot();
    c.Password = QStringLiteral("hunter2");
    s.SaveOptions(c);
    ASSERT_TRUE(QFile::exists(file()));
    EXPECT_EQ(Mode(file()), mode_t(0600));
    EXPECT_EQ(Mode(QFileInfo(file()).absolutePath()), mode_t(0700));
    s.SaveLastPort(2);  // rewritten, still private
    EXPECT_EQ(Mode(file()), mode_t(0600));
    EXPECT_EQ(value("Options", "Password"), "hunter2");
}

TEST_F(SettingsStoreTest, AValueThatDoesNotConvertKeepsItsDefaultAlone)
{
    writeFile("[Options]\n"
              "ShowCost=perhaps\n"
              "Price=cheap\n"
              "RecentFilesNumber=7\n"
              "POP3Port=99999999999\n"
              "SMTPPort=2525\n"
              "TO0=never\n"
              "TO1=5\n"
              "JoinParts=0\n"
              "RequestReport=true\n"
              "Coding=1.5\n"
              "ConfereesForeColor=-2147483643\n"
              "LogBackColor=blue\n"
              "CurrencySign=kr\n"
              "[Options_MessageFont]\n"
              "Name=DejaVu Sans\n"
              "Size=huge\n"
              "Bold=True\n"
              "Italic=maybe\n"
              "CharSet=x\n");
    Settings s;
    s.GetOptions();
    EXPECT_TRUE(s.ShowCost());
    EXPECT_EQ(s.Price(), 0.06f);
    EXPECT_EQ(s.RecentFilesNumber(), 7);
    EXPECT_EQ(s.POP3Port(), 110);
    EXPECT_EQ(s.SMTPPort(), 2525);
    EXPECT_EQ(s.Timeouts(), (std::array<qint32, 5>{-1, 5, 0, 0, 0}));
    EXPECT_FALSE(s.JoinParts());
    EXPECT_TRUE(s.RequestReport());
    EXPECT_EQ(s.Coding(), 2) << "rounded to even, as the runtime converts";
    EXPECT_EQ(s.ConfereesForeColor(), kWindowBack);
    EXPECT_EQ(s.LogBackColor(), kWindowBack);
    EXPECT_EQ(s.CurrencySign(), "kr");
    EXPECT_EQ(s.StyleFont(parlova::kMessageStyle), (FontSpec{"DejaVu Sans", 1, 10, true, false, false, false}));
}

TEST_F(SettingsStoreTest, AStyleFontSizeNoWindowCanShowTakesTheDefault)
{
    const struct {
        const char* stored;
        double size;
    } cases[] = {{"1e9", 10}, {"401", 10}, {"0.5", 10}, {"0", 10}, {"-12", 10}, {"1", 1}, {"400", 400}, {"8.5", 8.5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        platform::SaveSetting("Parlova", "Options_ConfereesFont", "Size", QString::fromLatin1(c.stored));
        Settings s;
        s.GetOptions();
        EXPECT_EQ(s.StyleFont(parlova::kConfereesStyle).size, c.size);
    }
}

TEST_F(SettingsStoreTest, NamesMatchWithoutCaseAndOthersAreIgnored)
{
    writeFile("[options]\n"
              "showcost=False\n"
              "SMTPADDRESS=mail.example.org\n"
              "PortSpeed=9600\n"
              "Timeouts=1\n"
              "EmailType=2\n"
              "NoSuchSetting=1\n");
    Settings s;
    s.GetOptions();
    EXPECT_FALSE(s.ShowCost());
    EXPECT_EQ(s.SMTPAddress(), "mail.example.org");
    EXPECT_EQ(s.PortSpeed(), 115200);
    EXPECT_EQ(s.Timeouts()[0], -1);
    EXPECT_EQ(s.EmailType(), 0);
}

TEST_F(SettingsStoreTest, BoxesThatHoldNoNumberSaveZeroAndAreEmptied)
{
    Settings s;
    s.GetOptions();
    OptionsSnapshot c = s.Snapshot();
    c.Price = QStringLiteral("a lot");
    c.Timeouts = {QStringLiteral("100"), QStringLiteral("x"), QStringLiteral("7"), QString(), QStringLiteral("9")};
    s.SaveOptions(c);
    EXPECT_EQ(s.Price(), 0.0f);
    EXPECT_EQ(c.Price, "");
    EXPECT_EQ(s.Timeouts(), (std::array<qint32, 5>{100, 0, 7, 0, 9}));
    EXPECT_EQ(c.Timeouts[1], "");
    EXPECT_EQ(c.Timeouts[2], "7");
    EXPECT_EQ(value("Options", "Price"), "0");
    EXPECT_EQ(value("Options", "TO0"), "100");
    EXPECT_EQ(value("Options", "TO1"), "<none>") << "0 was already stored";
    EXPECT_EQ(value("Options", "TO2"), "7");
}

TEST_F(SettingsStoreTest, TheEmailPageOfNoServiceSavesNoAccountName)
{
    Settings s;
    s.GetOptions();
    OptionsSnapshot c = s.Snapshot();
    c.UserName = QStringLiteral("Ann");
    c.ConnectAtStartUpEmail = true;
    c.POP3PollInterval = QStringLiteral("30");
    c.Login = QStringLiteral("ann");
    s.SaveOptions(c);
    EXPECT_EQ(s.UserName(), "");
    EXPECT_FALSE(s.ConnectAtStartUpEmail());
    EXPECT_EQ(s.POP3PollInterval(), 1);
    EXPECT_EQ(s.Login(), "ann");
    s.EmailType(2);
    s.SaveOptions(c);
    EXPECT_EQ(s.UserName(), "Ann");
    EXPECT_EQ(value("Options", "POP3PollInterval"), "30");
}

TEST_F(SettingsStoreTest, AStyleFontComesBackWithStrikeThroughAndIsRewrittenEverySave)
{
    const FontSpec font{QStringLiteral("DejaVu Sans Mono"), 238, 10.5, false, true, true, false};
    {
        Settings s;
        s.GetOptions();
        OptionsSnapshot c = s.Snapshot();
        c.Samples[parlova::kOtherStyle].font = font;
        s.SaveOptions(c);
        EXPECT_EQ(value("Options_OtherFont", "Name"), "<none>") << "the Font... button was not used";
        s.SetStyleFontChanged(parlova::kOtherStyle);
        s.SaveOptions(c);
        EXPECT_EQ(section("Options_OtherFont"),
                  (QList<QPair<QString, QString>>{{"Bold", "False"},
                                                  {"CharSet", "238"},
                                                  {"Italic", "True"},
                                                  {"Name", "DejaVu Sans Mono"},
                                                  {"Size", "10.5"},
                                                  {"Strikethru", "True"},
                                                  {"Underline", "False"}}));
        platform::DeleteSetting("Parlova", "Options_OtherFont");
        s.SaveOptions(c);  // nothing changed, yet the font is written again
        EXPECT_EQ(value("Options_OtherFont", "Strikethru"), "True");
    }
    platform::SetSettingsFolder(QFileInfo(file()).absolutePath());
    Settings t;
    t.GetOptions();
    EXPECT_EQ(t.StyleFont(parlova::kOtherStyle), font);
    EXPECT_FALSE(t.StyleFontChanged(parlova::kOtherStyle));
}

TEST_F(SettingsStoreTest, GetFormatAppliesAStyleToAWidget)
{
    parlova::Application app;
    Settings& s = app.settings();
    s.LogForeColor(0x000000FF);  // red, as 0x00BBGGRR
    OptionsSnapshot c = s.Snapshot();
    c.Samples[parlova::kLogStyle].font = {QStringLiteral("DejaVu Serif"), 204, 13, true, false, true, true};
    s.SetStyleFontChanged(parlova::kLogStyle);
    s.SaveOptions(c);

    QTextEdit log;
    EXPECT_EQ(parlova::GetFormat(&log, parlova::kLogStyle), QString());
    EXPECT_EQ(log.palette().color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_EQ(log.palette().color(QPalette::Base), QApplication::palette().color(QPalette::Active, QPalette::Base));
    EXPECT_EQ(platform::WidgetForeColor(&log), 0x000000FF);
    EXPECT_EQ(platform::WidgetBackColor(&log), kWindowBack) << "a system colour stays a system colour";
    const FontSpec applied = platform::WidgetFont(&log);
    EXPECT_EQ(applied.charset, 204);
    EXPECT_EQ(applied.size, 13);
    EXPECT_TRUE(applied.bold);
    EXPECT_TRUE(applied.strikethrough);
    EXPECT_TRUE(applied.underline);
    EXPECT_FALSE(applied.italic);
    EXPECT_EQ(log.font().families().value(0), "DejaVu Serif");

    // Styles outside 0 to 4 change nothing.
    QListWidget list;
    const QPalette palette = list.palette();
    const QFont font = list.font();
    for (int style : {5, -1}) {
        EXPECT_EQ(parlova::GetFormat(&list, style), QString());
        EXPECT_EQ(list.palette(), palette);
        EXPECT_EQ(list.font(), font);
    }
    EXPECT_EQ(parlova::GetFormat(nullptr, parlova::kOtherStyle), "Object variable or With block variable not set (91)");
}

TEST_F(SettingsStoreTest, TheBookStyleIsTakenFromTheGridOnlyWhereItDiffers)
{
    parlova::Application app;
    Settings& s = app.settings();
    s.GetOptions();
    QListWidget grid;
    ASSERT_EQ(parlova::GetFormat(&grid, parlova::kBookStyle), QString());
    parlova::SaveBookOptions(false, &grid);
    EXPECT_FALSE(QFile::exists(file())) << "the system colours the grid was given are not rewritten";

    platform::SetWidgetForeColor(&grid, 0x00008000);
    parlova::SaveBookOptions(false, &grid);
    EXPECT_EQ(section("Options"), (QList<QPair<QString, QString>>{{"BookForeColor", "32768"}}));

    platform::SetWidgetFont(&grid, {QStringLiteral("DejaVu Sans"), 0, 9, false, false, true, false});
    parlova::SaveBookOptions(true, &grid);
    EXPECT_EQ(value("Options_BookFont", "Name"), "DejaVu Sans");
    EXPECT_EQ(value("Options_BookFont", "Strikethru"), "True");
    EXPECT_EQ(s.StyleFont(parlova::kBookStyle).size, 9);
}

TEST_F(SettingsStoreTest, PortAndChoiceOperationsWriteAtOnce)
{
    Settings s;
    s.SaveLastPort(12);
    EXPECT_EQ(s.LastPort(), 12);
    s.SetLastChoice();
    EXPECT_TRUE(s.LastChoice());
    EXPECT_EQ(section("Options"), (QList<QPair<QString, QString>>{{"LastChoice", "True"},
                                                                  {"LastPort", "12"},
                                                                  {"ScanAllPorts", "False"},
                                                                  {"ScanPorts", "False"}}));
    s.LastPort(3);  // a property write stays in memory
    EXPECT_EQ(value("Options", "LastPort"), "12");
}

TEST_F(SettingsStoreTest, SavingTheLogSwitchTellsThePhoneGate)
{
    QTemporaryDir logs;
    parlova::Application app;
    auto& g = app.globals();
    g.PhoneGate = std::make_shared<corvane::Gate>();
    Settings& s = app.settings();
    parlova::ConnectSettingsToDialogs(s);
    OptionsSnapshot c = s.Snapshot();
    c.WorkingFolder = logs.path();
    c.LogToFile = true;
    s.SaveOptions(c);
    EXPECT_TRUE(QFile::exists(logs.path() + "/ParlovaHubLog.txt"));
    EXPECT_EQ(platform::InitialFolder(), logs.path()) << "the common dialog starts in the new folder";
    c.LogToFile = false;
    s.SaveOptions(c);
    EXPECT_EQ(value("Options", "LogToFile"), "False");
    g.PhoneGate.reset();
    platform::SetInitialFolder(QString());
}
