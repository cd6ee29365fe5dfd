// The main window's widget-free parts: the recent-file list, the command
// line, the toolbar dispatcher, the placement, the port dialog's choice and
// the shared procedures.
#include "client/support/SettingsStoreFixture.h"

#include "client/core/Application.h"
#include "client/core/Orders.h"
#include "client/core/ui/SettingsWidgets.h"
#include "client/main/CommandLine.h"
#include "client/main/MainProcedures.h"
#include "client/main/MainWindowPanes.h"
#include "client/main/PortDialogModel.h"
#include "client/main/RecentFiles.h"
#include "client/main/ToolbarDispatcher.h"
#include "client/main/WindowPlacement.h"
#include "client/orders/ReadStore.h"
#include "hub/messages/BookRecords.h"
#include "hub/messages/MessageStore.h"
#include "support/ui/MessageBoxRecorder.h"
#include "support/ui/RecordingDesktopService.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using parlova::RecentFiles;

namespace {

// Each test its own settings store and application object.
class AppTest : public SettingsStoreTest {
protected:
    void SetUp() override
    {
        SettingsStoreTest::SetUp();
        app = std::make_unique<parlova::Application>();
        parlova::ConnectQuestionsToMessageBoxes();
    }
    void TearDown() override
    {
        app.reset();
        SettingsStoreTest::TearDown();
    }
    parlova::Settings& settings() { return app->settings(); }
    std::unique_ptr<parlova::Application> app;
};

class RecentFilesTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        settings().RememberRecentFiles(true);
        settings().RecentFilesNumber(4);
    }
    static void store(const QStringList& paths)
    {
        for (int k = 0; k < paths.size(); ++k)
            platform::SaveSetting(QStringLiteral("Parlova"), QStringLiteral("Recent Files"),
                                  QStringLiteral("RecentFile") + QString::number(k + 1), paths.at(k));
    }
};

// The real desktop service, installed for its lifetime; Await returns once
// the launcher its help started, if any, has gone and been let go.
class LauncherAwaited : public platform::DesktopService {
public:
    LauncherAwaited() : previous_(platform::SetDesktopService(this)) {}
    ~LauncherAwaited() override { platform::SetDesktopService(previous_); }
    LauncherAwaited(const LauncherAwaited&) = delete;
    LauncherAwaited& operator=(const LauncherAwaited&) = delete;

    bool ShowHelp(int context, const std::function<void(bool shown)>& ended = {}) override
    {
        running_ = DesktopService::ShowHelp(context, [this, ended](bool shown) {
            running_ = false;
            if (ended)
                ended(shown);
            loop_.quit();
        });
        return running_;
    }
    void Await()
    {
        if (running_)
            loop_.exec();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

private:
    platform::DesktopService* previous_;
    QEventLoop loop_;
    bool running_ = false;
};

}  // namespace

TEST_F(RecentFilesTest, UpdateKeepsEachPathOnceNewestFirst)
{
    struct Case {
        const char* name;
        QStringList stored;
        int number;
        QString opened;
        QStringList after;  // RecentFile1, 2, ... as stored afterwards
        QStringList shown;
    } cases[] = {
        {"the very first file", {}, 4, "/a.plv", {"/a.plv"}, {"/a.plv"}},
        {"third moves to the top",
         {"/1", "/2", "/3", "/4", "/5"},
         9,
         "/3",
         {"/3", "/1", "/2", "/4", "/5"},
         {"/3", "/1", "/2", "/4", "/5"}},
        {"a fifth pushes the fourth out", {"/1", "/2", "/3", "/4"}, 4, "/n", {"/n", "/1", "/2", "/3"},
         {"/n", "/1", "/2", "/3"}},
        {"the top stays", {"/1", "/2"}, 4, "/1", {"/1", "/2"}, {"/1", "/2"}},
        {"exact comparison", {"/A.plv"}, 4, "/a.plv", {"/a.plv", "/A.plv"}, {"/a.plv", "/A.plv"}},
        // Reopened after the number was lowered: found beyond the shown
        // length, moved up, not stored a second time.
        {"listed beyond the number", {"/1", "/2", "/3", "/4"}, 2, "/4", {"/4", "/1", "/2", "/3"}, {"/4", "/1"}},
        {"then the number raised", {"/4", "/1", "/2", "/3"}, 9, "/n", {"/n", "/4", "/1", "/2", "/3"},
         {"/n", "/4", "/1", "/2", "/3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::DeleteSetting(QStringLiteral("Parlova"), QStringLiteral("Recent Files"));
        store(c.stored);
        settings().RecentFilesNumber(c.number);
        EXPECT_TRUE(RecentFiles::Update(c.opened));
        EXPECT_EQ(RecentFiles::Stored(), c.after);
        const auto menu = RecentFiles::Load(false);
        ASSERT_TRUE(menu.has_value());
        EXPECT_TRUE(menu->separator);
        EXPECT_EQ(menu->paths, c.shown);
    }
}

TEST_F(RecentFilesTest, NoListIsKeptOutsideOneToNineOrWhenNotRemembered)
{
    for (int number : {0, -1, 10}) {
        SCOPED_TRACE(number);
        settings().RecentFilesNumber(number);
        EXPECT_FALSE(RecentFiles::Update(QStringLiteral("/x.plv")));
        EXPECT_TRUE(section(QStringLiteral("Recent Files")).isEmpty());
    }
    settings().RecentFilesNumber(4);
    store({QStringLiteral("/1")});
    settings().RememberRecentFiles(false);
    EXPECT_FALSE(RecentFiles::Update(QStringLiteral("/x.plv")));
    EXPECT_EQ(RecentFiles::Stored(), QStringList{QStringLiteral("/1")});
    // A shown list is cleared at the next rebuild; a hidden one stays so.
    const auto shown = RecentFiles::Load(true);
    ASSERT_TRUE(shown.has_value());
    EXPECT_FALSE(shown->separator);
    EXPECT_TRUE(shown->paths.isEmpty());
    EXPECT_FALSE(RecentFiles::Load(false).has_value());
}

TEST_F(RecentFilesTest, OnlyNineNumberedEntriesCount)
{
    QStringList twelve;
    for (int k = 1; k <= 12; ++k)
        twelve << QStringLiteral("/f%1.plv").arg(k);
    store(twelve);
    for (int number : {9, 12}) {
        settings().RecentFilesNumber(number);
        const auto menu = RecentFiles::Load(false);
        ASSERT_TRUE(menu.has_value());
        EXPECT_EQ(menu->paths, twelve.mid(0, 9));
    }
    // With nothing in RecentFile1 the menu keeps its state.
    platform::DeleteSetting(QStringLiteral("Parlova"), QStringLiteral("Recent Files"), QStringLiteral("RecentFile1"));
    EXPECT_FALSE(RecentFiles::Load(true).has_value());
    EXPECT_EQ(RecentFiles::Caption(QStringLiteral("/R&D/Q&&A.plv")), QStringLiteral("/R&&D/Q&&&&A.plv"));
}

TEST(CommandLine, NamesAreSplitTrimmedAndCompleted)
{
    parlova::Application app;
    QTemporaryDir dir;
    const QString cwd = dir.path();
    QFile(cwd + QStringLiteral("/lower.plv")).open(QIODevice::WriteOnly);
    QFile(cwd + QStringLiteral("/both.plv")).open(QIODevice::WriteOnly);
    QFile(cwd + QStringLiteral("/both.PLV")).open(QIODevice::WriteOnly);
    struct Case {
        QStringList arguments;
        QStringList paths;
    } cases[] = {
        {{"a; b.plv"}, {cwd + "/a.PLV", cwd + "/b.plv"}},
        {{"a", "b.plv"}, {cwd + "/a.PLV", cwd + "/b.plv"}},
        {{"\"/tmp/x y/Team.plv\""}, {"/tmp/x y/Team.plv"}},
        {{"a;;b;", ";"}, {cwd + "/a.PLV", cwd + "/b.PLV"}},
        {{" \t\r\n"}, {}},
        {{"lower", "both"}, {cwd + "/lower.plv", cwd + "/both.PLV"}},
        {{"sub/Team"}, {cwd + "/sub/Team.PLV"}},
        {{}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char('|')).toStdString());
        EXPECT_EQ(parlova::CommandLinePaths(c.arguments, cwd), c.paths);
    }

    // Each goes to OpenTalkFile in order; a failure ends the procedure.
    QStringList opened;
    parlova::Procs().OpenTalkFile = [&](std::optional<QString> path) {
        opened << path.value_or(QStringLiteral("<dialog>"));
        if (path && path->endsWith(QStringLiteral("bad.PLV")))
            throw std::runtime_error("bad");
    };
    parlova::OpenCommandLineFiles({QStringLiteral("a;bad;c")}, cwd);
    EXPECT_EQ(opened, (QStringList{cwd + "/a.PLV", cwd + "/bad.PLV"}));
}

namespace {

// The active child as the dispatcher sees it, and every slot it reaches.
class DispatchRig : public parlova::ActiveChild {
public:
    parlova::Application app;
    QString form;
    QStringList calls;
    QWidget* window = reinterpret_cast<QWidget*>(0x10);
    QWidget* list1 = reinterpret_cast<QWidget*>(0x11);
    QWidget* text4 = reinterpret_cast<QWidget*>(0x12);
    QWidget* text5 = reinterpret_cast<QWidget*>(0x13);

    QWidget* ActiveWindow() const override { return form.isEmpty() ? nullptr : window; }
    QString ActiveFormName() const override { return form; }
    QString ActiveTheme() const override { return form == "frmTalk" ? QStringLiteral("Team") : QString(); }
    QString ActiveCaption() const override { return QStringLiteral("Message Store "); }
    QWidget* ActiveControl(const QString& name) const override
    {
        if (form != "frmTalk")
            return nullptr;
        return name == "List1" ? list1 : name == "Text4" ? text4 : name == "Text5" ? text5 : nullptr;
    }
    void EditText(parlova::TextCommand c) override { calls << QStringLiteral("EditText(%1)").arg(int(c)); }

    QString name(QWidget* w) const
    {
        return w == window ? "window" : w == list1 ? "List1" : w == text4 ? "Text4" : w == text5 ? "Text5" : "?";
    }

    DispatchRig()
    {
        parlova::Procedures& p = parlova::Procs();
        p.OpenTalkFile = [this](std::optional<QString> path) {
            calls << (path ? "OpenTalkFile(" + *path + ")" : QStringLiteral("OpenTalkFile()"));
        };
        p.SaveTalkFile = [this](QWidget* w, bool saveAs) {
            calls << QStringLiteral("SaveTalkFile(%1,%2)").arg(name(w)).arg(saveAs);
            return QString();
        };
        p.ToggleTalkOptions = [this](QWidget* w) {
            calls << "ToggleTalkOptions(" + name(w) + ")";
            return QString();
        };
        p.SendTalkMessage = [this](const QString& theme, bool selected, const QString& one, const QString& text) {
            calls << QStringLiteral("SendTalkMessage(%1,%2,%3,%4)").arg(theme).arg(selected).arg(one, text);
            return true;
        };
        p.StartFind = [this] { calls << "StartFind"; };
        p.ShowPhonebook = [this] { calls << "ShowPhonebook"; };
        p.AskAddContact = [this](qint32 book, const QString& number, const QString& nm) {
            calls << QStringLiteral("AskAddContact(%1,%2,%3)").arg(book).arg(number, nm);
        };
        p.AskEditContact = [this] { calls << "AskEditContact"; };
        p.AskDeleteContact = [this] { calls << "AskDeleteContact"; };
        p.AskCopyMoveContact = [this](bool move) { calls << QStringLiteral("AskCopyMoveContact(%1)").arg(move); };
        p.StartTalkWithContacts = [this] { calls << "StartTalkWithContacts"; };
        p.StoreNewMessage = [this](const QString& owner) { calls << "StoreNewMessage(" + owner + ")"; };
        p.ToggleMessageOptions = [this] { calls << "ToggleMessageOptions"; };
        p.DeleteStoreMessage = [this](const QString& owner) { calls << "DeleteStoreMessage(" + owner + ")"; };
        p.StartTalkFromStore = [this](const QString& owner) { calls << "StartTalkFromStore(" + owner + ")"; };
        p.ChooseFont = [this](QWidget* c) { calls << "ChooseFont(" + name(c) + ")"; };
        p.ChooseColor = [this](QWidget* c) { calls << "ChooseColor(" + name(c) + ")"; };
        p.MarkTalkRead = [this](const QString& theme) { calls << "MarkTalkRead(" + theme + ")"; };
        p.ShowMessageStore = [this] { calls << "ShowMessageStore"; };
    }
};

}  // namespace

TEST(ToolbarDispatcher, EveryCommandReachesItsProcedure)
{
    struct Case {
        const char* form;
        qint32 command;
        qint32 index;
        const char* call;  // nullptr: nothing
    } cases[] = {
        {"", 1, 0, "OpenTalkFile()"},  // an empty path
        {"", 2, 0, "OpenTalkFile()"},
        {"frmTalk", 3, 0, "SaveTalkFile(window,0)"},
        {"frmPhonebook", 3, 0, nullptr},
        {"frmTalk", 4, 0, "EditText(0)"},
        {"frmTalk", 5, 0, "EditText(1)"},
        {"frmTalk", 6, 0, "EditText(2)"},
        {"frmTalk", 7, 0, "EditText(3)"},
        {"frmTalk", 8, 0, "SendTalkMessage(Team,0,,)"},
        {"", 10, 0, "StartFind"},
        {"", 13, 0, "ShowPhonebook"},
        {"frmTalk", 14, 0, "ToggleTalkOptions(window)"},
        {"frmTalk", 15, 0, nullptr},
        {"frmTalk", 15, 1, "ChooseFont(List1)"},
        {"frmTalk", 15, 2, "ChooseFont(Text4)"},
        {"frmTalk", 15, 3, "ChooseFont(Text5)"},
        {"frmMessageStore", 15, 2, nullptr},
        {"frmPhonebook", 19, 0, "AskAddContact(SIM,,)"},
        {"frmPhonebook", 20, 0, "AskAddContact(Phone,,)"},
        {"frmPhonebook", 21, 0, "AskEditContact"},
        {"frmPhonebook", 22, 0, "AskDeleteContact"},
        {"frmPhonebook", 23, 0, "AskCopyMoveContact(1)"},
        {"frmPhonebook", 24, 0, "AskCopyMoveContact(0)"},
        {"frmTalk", 25, 0, "MarkTalkRead(Team)"},
        {"frmTalk", 26, 0, nullptr},
        {"frmTalk", 26, 1, "ChooseColor(List1)"},
        {"frmTalk", 26, 3, "ChooseColor(Text5)"},
        {"frmPhonebook", 27, 0, "StartTalkWithContacts"},
        {"", 28, 0, "ShowMessageStore"},
        {"frmMessageStore", 29, 0, "StoreNewMessage(Message Store )"},
        {"frmMessageStore", 114, 0, "ToggleMessageOptions"},
        {"frmMessageStore", 122, 0, "DeleteStoreMessage(Message Store )"},
        {"frmMessageStore", 127, 0, "StartTalkFromStore(Message Store )"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 %2.%3").arg(QString::fromLatin1(c.form)).arg(c.command).arg(c.index).toStdString());
        DispatchRig rig;
        rig.app.globals().PhoneBooks = std::make_shared<corvane::BookRecords>();
        platform::MessageBoxRecorder boxes;
        rig.form = QString::fromLatin1(c.form);
        parlova::ToolbarDispatcher(rig).ToolbarButtonClick(c.command, c.index);
        QString call = QString::fromLatin1(c.call ? c.call : "");
        call.replace("SIM", QString::number(rig.app.globals().PhoneBooks->GetSIMBook()))
            .replace("Phone,", QString::number(rig.app.globals().PhoneBooks->GetPhoneBook()) + ",");
        EXPECT_EQ(rig.calls, c.call ? QStringList{call} : QStringList{});
        EXPECT_EQ(boxes.count(), 0u);
    }
}

TEST(ToolbarDispatcher, NumbersWithoutAFunctionSaySo)
{
    for (qint32 command : {0, -1, 9, 16, 17, 18, 30, 113, 128, 1000}) {
        SCOPED_TRACE(command);
        DispatchRig rig;
        parlova::ConnectQuestionsToMessageBoxes();
        platform::MessageBoxRecorder boxes;
        parlova::ToolbarDispatcher(rig).ToolbarButtonClick(command, 0);
        EXPECT_TRUE(rig.calls.isEmpty());
        ASSERT_EQ(boxes.count(), 1u);
        EXPECT_EQ(boxes.last().prompt, QStringLiteral("Button %1 has no function").arg(command));
        EXPECT_EQ(boxes.last().style, 48);
        EXPECT_EQ(boxes.last().title, QStringLiteral("Parlova"));
    }
}

class PlacementTest : public AppTest {};

TEST_F(PlacementTest, StoredValuesRoundTripAndBadOnesTakeTheirDefault)
{
    const QList<QRectF> screen{QRectF(0, 0, 19200, 14400)};
    // Nothing stored: the designed size, centred.
    EXPECT_EQ(parlova::WindowPlacement::Load(9000, 6000, screen), QRectF(5100, 4200, 9000, 6000));

    parlova::WindowPlacement::Save(QRectF(1500, 750.5, 8000, 5000));
    EXPECT_EQ(value("Main window", "Left"), QStringLiteral("1500"));
    EXPECT_EQ(value("Main window", "Top"), QStringLiteral("750.5"));
    EXPECT_EQ(parlova::WindowPlacement::Load(9000, 6000, screen), QRectF(1500, 750.5, 8000, 5000));

    struct Case {
        const char* key;
        const char* text;
        QRectF expected;
    } cases[] = {
        {"Width", "abc", QRectF(1500, 750.5, 9000, 5000)},
        {"Height", "-5", QRectF(1500, 750.5, 8000, 6000)},
        {"Width", "1e30", QRectF(1500, 750.5, 19200, 5000)},
        {"Left", "-90000", QRectF(5600, 4700, 8000, 5000)},   // off every screen: centred
        {"Top", "99999", QRectF(5600, 4700, 8000, 5000)},
        {"Left", "", QRectF(5600, 750.5, 8000, 5000)},
        {"Width", "15", QRectF(1500, 750.5, 9000, 5000)},  // too small to show the menus
        {"Height", "1999", QRectF(1500, 750.5, 8000, 6000)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        parlova::WindowPlacement::Save(QRectF(1500, 750.5, 8000, 5000));
        platform::SaveSetting("Parlova", "Main window", QString::fromLatin1(c.key), QString::fromLatin1(c.text));
        EXPECT_EQ(parlova::WindowPlacement::Load(9000, 6000, screen), c.expected);
    }
    // A second screen to the right keeps a window placed there.
    parlova::WindowPlacement::Save(QRectF(20000, 1000, 8000, 5000));
    EXPECT_EQ(parlova::WindowPlacement::Load(9000, 6000, {screen.front(), QRectF(19200, 0, 19200, 14400)}),
              QRectF(20000, 1000, 8000, 5000));
}

TEST(MainWindowPanes, CaptionAndToolbarFollowTheirCallers)
{
    parlova::Application app;
    parlova::MainWindowPanes panes;
    QString child;
    int shown = 0;
    panes.activeChildName = [&] { return child; };
    panes.toolbarChanged = [&] { ++shown; };
    panes.UpdateCaption(3);
    EXPECT_EQ(panes.Caption(), QStringLiteral("Parlova (3)"));
    panes.UpdateCaption(0);
    EXPECT_EQ(panes.Caption(), QStringLiteral("Parlova"));

    struct Step {
        const char* child;
        bool mainWindow;
        parlova::ToolbarId expected;
    } steps[] = {
        {"frmTalk", false, parlova::tlbTalk},       {"frmPhonebook", false, parlova::tlbBook},
        {"frmMessageStore", false, parlova::tlbStore}, {"frmOther", false, parlova::tlbStore},
        {"frmMDI", false, parlova::tlbMDI},           {"frmTalk", true, parlova::tlbMDI},
    };
    panes.SetActiveToolbarVisible(false);
    for (const Step& s : steps) {
        child = QString::fromLatin1(s.child);
        panes.ChangeToolbar(s.mainWindow);
        EXPECT_EQ(panes.ActiveToolbar(), s.expected) << s.child;
        EXPECT_FALSE(panes.ActiveToolbarVisible());
    }
    EXPECT_EQ(shown, 7);
}

TEST(PortDialogModel, TextsAndModes)
{
    EXPECT_EQ(parlova::PortDialogModel::EntryText(7, "M35", "Acme"), QStringLiteral("COM7: M35 ( made by Acme )"));
    EXPECT_EQ(parlova::PortDialogModel::QuestionText("COM3"),
              QStringLiteral("Cannot open COM3 port.\r\n\r\nDo you want to scan other ports?"));
    parlova::PortDialogModel model;
    model.AddPort(3, "A", "B");
    model.AskToScan("COM7");
    EXPECT_TRUE(model.Asking());
    model.Clear();
    EXPECT_FALSE(model.Asking());
    EXPECT_TRUE(model.Entries().isEmpty());
}

TEST(MainProcedures, MessageStoreAndWebSite)
{
    parlova::Application app;
    parlova::ConnectQuestionsToMessageBoxes();
    parlova::Globals& g = app.globals();
    g.PhoneOrders = std::make_shared<parlova::Orders>();
    g.PhoneMessages = std::make_shared<corvane::MessageStore>();
    platform::MessageBoxRecorder boxes;
    boxes.answer(platform::vbNo);
    parlova::ShowMessageStore();
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().prompt, parlova::ReadStoreQuestion());
    EXPECT_EQ(boxes.last().style, 36);
    EXPECT_EQ(g.PhoneOrders->Count(), 0);
    boxes.answer(platform::vbYes);
    parlova::ShowMessageStore();
    ASSERT_EQ(g.PhoneOrders->Count(), 1);
    EXPECT_NE(std::dynamic_pointer_cast<parlova::ReadStore>(g.PhoneOrders->Item(1)), nullptr);

    platform::RecordingDesktopService desktop;
    desktop.result = false;
    parlova::OpenWebSite(nullptr);
    ASSERT_EQ(desktop.calls.size(), 1u);
    EXPECT_EQ(desktop.calls[0].target, parlova::WebSiteAddress());
    EXPECT_EQ(boxes.last().prompt, QStringLiteral("Unable to start Web browser !"));

    // Help that is not shown says so and names the page it tried: the
    // contents standing in for a missing page, or the page itself when
    // there is no contents either. The recording service answers `shown`;
    // a row with a launcher has the real service start that script as the
    // only xdg-open on the PATH: one that ends with an error, or cannot
    // start, has shown nothing either.
    QTemporaryDir help, bin;
    const QString before = platform::HelpFolder();
    platform::SetHelpFolder(help.path());
    const QString contents = help.filePath(QStringLiteral("index.html"));
    const QString page = help.filePath(QStringLiteral("main-window.html"));
    const QString given = bin.filePath(QStringLiteral("given"));
    constexpr int kRecording = -2, kCannotStart = -1;  // else the launcher's exit code
    struct HelpCase { int launcher; bool shown; bool contentsThere; QString box; };
    const HelpCase cases[] = {
        {kRecording, true, true, QString()},
        {kRecording, false, true, parlova::HelpNotShownText(contents, true)},
        {kRecording, false, false, parlova::HelpNotShownText(page, false)},
        {0, true, true, QString()},
        {3, false, true, parlova::HelpNotShownText(contents, true)},
        {kCannotStart, false, true, parlova::HelpNotShownText(contents, true)},
        {0, false, false, parlova::HelpNotShownText(page, false)},
    };
    const QByteArray path = qgetenv("PATH");
    for (const HelpCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.launcher << ' ' << c.box.toStdString());
        if (c.contentsThere) {
            QFile file(contents);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        } else {
            QFile::remove(contents);
        }
        desktop.result = c.shown;
        const size_t shownBefore = boxes.count();
        if (c.launcher == kRecording) {
            parlova::ShowHelp(21000);
            EXPECT_EQ(desktop.calls.back().context, 21000);
        } else {
            QFile::remove(given);
            QFile script(bin.filePath(QStringLiteral("xdg-open")));
            ASSERT_TRUE(script.open(QIODevice::WriteOnly | QIODevice::Truncate));
            // The page it was handed goes beside it.
            script.write(c.launcher == kCannotStart ? QByteArray("#!/nonexistent/sh\n")
                                                    : "#!/bin/sh\nprintf %s \"$1\" >\"${0%/*}/given\"\nexit " +
                                                          QByteArray::number(c.launcher) + '\n');
            script.close();
            ASSERT_TRUE(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
            qputenv("PATH", QFile::encodeName(bin.path()));
            LauncherAwaited real;
            parlova::ShowHelp(21000);
            real.Await();
            qputenv("PATH", path);
            QFile handed(given);
            const bool ran = c.launcher >= 0 && c.contentsThere;
            EXPECT_EQ(handed.open(QIODevice::ReadOnly) ? QFile::decodeName(handed.readAll()) : QString(),
                      ran ? contents : QString());
        }
        EXPECT_EQ(boxes.count(), shownBefore + (c.shown ? 0 : 1));
        if (!c.shown) {
            EXPECT_EQ(boxes.last().prompt, c.box);
            EXPECT_EQ(boxes.last().style, platform::vbExclamation);
        }
    }
    for (bool exists : {true, false})
        EXPECT_TRUE(parlova::HelpNotShownText(page, exists).contains(QStringLiteral("\r") + page)) << exists;
    platform::SetHelpFolder(before);
}
