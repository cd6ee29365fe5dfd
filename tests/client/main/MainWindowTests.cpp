// The main window offscreen: start-up, the phone on COM7, the port dialog,
// menus, toolbars, panes, recent files and shut-down.
#include "client/support/MainWindowRig.h"

#include "client/main/MainWindowTables.h"
#include "client/main/RecentFiles.h"
#include "client/orders/SendSMS.h"
#include "client/main/ui/frmPort.h"
#include "platform/ui/Twips.h"
#include "platform/UserSettings.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>
#include <QToolBar>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using mainwintest::MainWindowTest;
using parlova::tlbBook;
using parlova::tlbMDI;
using parlova::tlbStore;
using parlova::tlbTalk;

namespace {

QStringList ToolTips(QToolBar* bar)
{
    QStringList tips;
    for (QAction* a : bar->actions())
        if (!a->isSeparator())
            tips << QString::number(a->data().toInt()) + QLatin1Char(':') + a->toolTip();
    return tips;
}

void Click(QWidget* widget)
{
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

// A child that holds the text boxes the edit commands use.
struct TalkLike : QWidget {
    QPlainTextEdit* text4 = new QPlainTextEdit(this);
    QPlainTextEdit* text5 = new QPlainTextEdit(this);
    TalkLike()
    {
        text4->setObjectName(QStringLiteral("Text4"));
        text5->setObjectName(QStringLiteral("Text5"));
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(text4);
        layout->addWidget(text5);
    }
};

// A child whose unload the user cancels.
struct Refusing : QWidget {
    void closeEvent(QCloseEvent* e) override { e->ignore(); }
};

}  // namespace

TEST_F(MainWindowTest, StartsEmptyCentredWithTheMainToolbar)
{
    qputenv(quenby::kServiceEnvVar, "local");
    start();
    qunsetenv(quenby::kServiceEnvVar);
    EXPECT_EQ(settings().EmailType(), 2);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Parlova"));
    panes().UpdateCaption(3);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Parlova (3)"));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_NEAR(window->geometry().center().x(), screen.center().x(), 1);
    EXPECT_NEAR(window->geometry().center().y(), screen.center().y(), 1);

    EXPECT_EQ(ToolTips(window->Toolbar(tlbMDI)),
              (QStringList{"1:New", "2:Open", "11:Connect", "12:Disconnect", "13:Phonebooks", "28:Message Store"}));
    EXPECT_FALSE(window->Toolbar(tlbMDI)->isHidden());
    for (auto t : {tlbTalk, tlbBook, tlbStore})
        EXPECT_TRUE(window->Toolbar(t)->isHidden());
    for (auto t : {tlbMDI, tlbTalk, tlbBook, tlbStore}) {
        EXPECT_FALSE(window->ButtonAction(t, "Connect")->isChecked());
        EXPECT_TRUE(window->ButtonAction(t, "Disconnect")->isChecked());
        EXPECT_EQ(ToolTips(window->Toolbar(t)).size(), qsizetype(parlova::ToolbarButtons(t).size()));
    }

    EXPECT_EQ(window->PaneLabel(3)->text(), QStringLiteral("Phone"));
    EXPECT_FALSE(window->PaneLabel(3)->isEnabled());
    EXPECT_EQ(window->PaneLabel(3)->toolTip(), QStringLiteral("No connection"));
    EXPECT_FALSE(window->PaneLabel(4)->isEnabled());
    EXPECT_EQ(window->PaneLabel(4)->toolTip(), QStringLiteral("Email unavailable"));
    EXPECT_EQ(window->PaneLabel(1)->toolTip(), QStringLiteral("Background operation and alerting"));
    // Service type 2: the account is not connected by hand.
    EXPECT_FALSE(window->MenuAction("mnuToolsConnectEmail")->isEnabled());
    EXPECT_FALSE(window->MenuAction("mnuToolsDisconnectEmail")->isEnabled());
    EXPECT_TRUE(window->MenuAction("mnuToolsToolbar")->isChecked());
    EXPECT_EQ(globals().FindDirection, 1);

    panes().alertUser(QStringLiteral("one\r\ntwo"));
    EXPECT_EQ(window->PaneLabel(1)->text(), QStringLiteral("one  two"));
}

TEST_F(MainWindowTest, ConnectsAtStartUpToTheRememberedPort)
{
    startApp();
    settings().ConnectAtStartUp(true);
    showWindow();
    ASSERT_TRUE(runUntil([&] { return pane(3) == QStringLiteral("SMS"); }, 60000));
    EXPECT_EQ(tip(3), QStringLiteral("SMS available, COM7, 115200 bit/sec, Model 6230"));
    EXPECT_TRUE(window->PaneLabel(3)->isEnabled());
    for (auto t : {tlbMDI, tlbTalk, tlbBook, tlbStore}) {
        EXPECT_TRUE(window->ButtonAction(t, "Connect")->isChecked());
        EXPECT_FALSE(window->ButtonAction(t, "Disconnect")->isChecked());
    }
    // A click on a pressed button leaves it pressed; Disconnect releases it.
    window->ButtonAction(tlbMDI, "Connect")->trigger();
    EXPECT_TRUE(window->ButtonAction(tlbMDI, "Connect")->isChecked());
}

TEST_F(MainWindowTest, ScanListsThePhonesAndOkConnectsTheChosenPort)
{
    gatetest::UnmappedPort com6(6), com8(8);
    phone.sim().state().get<phonesim::ConnectProfile>().maker = QStringLiteral("Parvik Mobile");
    startApp();
    settings().LastChoice(false);
    settings().ScanPorts(true);
    settings().StartPort(6);
    settings().EndPort(8);
    showWindow();
    parlova::frmPort& port = window->PortWindow();
    for (bool remember : {false, true}) {
        SCOPED_TRACE(remember);
        window->MenuAction("mnuToolsConnect")->trigger();
        ASSERT_TRUE(runUntil([&] { return port.isVisible(); }, 120000));
        ASSERT_EQ(port.List1->count(), 1);
        EXPECT_EQ(port.List1->item(0)->text(), QStringLiteral("COM7: Model 6230 ( made by Parvik Mobile )"));
        EXPECT_FALSE(port.cmdOK->isEnabled());
        port.List1->setCurrentRow(0);
        EXPECT_TRUE(port.cmdOK->isEnabled());
        port.Check1->setChecked(remember);
        port.cmdOK->click();
        EXPECT_FALSE(port.isVisible());
        EXPECT_TRUE(pane(1).startsWith(QStringLiteral("Connecting to COM7...")));
        EXPECT_EQ(value("Options", "LastPort"), remember ? QStringLiteral("7") : QStringLiteral("<none>"));
        EXPECT_EQ(value("Options", "LastChoice"), remember ? QStringLiteral("True") : QStringLiteral("<none>"));
        ASSERT_TRUE(runUntilIdle());
        ASSERT_TRUE(runUntil([&] { return pane(3) == QStringLiteral("SMS"); }));
        settings().LastChoice(false);
        settings().ScanPorts(true);
    }
}

TEST_F(MainWindowTest, PortQuestionScansOrDoesNothing)
{
    start();
    parlova::frmPort& port = window->PortWindow();
    // Cancel connects nothing; a title-bar close forgets the entries.
    port.AddPort(3, "A", "B");
    port.AskToScan("COM3");
    port.Show();
    EXPECT_FALSE(port.List1->isVisible());
    EXPECT_TRUE(port.Label1->isVisible());
    EXPECT_EQ(port.Label1->text(), QStringLiteral("Cannot open COM3 port.\r\n\r\nDo you want to scan other ports?"));
    EXPECT_TRUE(port.cmdOK->isEnabled());
    port.cmdCancel->click();
    EXPECT_FALSE(port.isVisible());
    EXPECT_EQ(phoneOrders().Count(), 0);
    EXPECT_FALSE(phoneOrders().ActiveOrder());

    port.AddPort(3, "A", "B");
    port.Show();
    port.close();
    port.AddPort(5, "C", "D");
    EXPECT_EQ(port.List1->count(), 1);
    EXPECT_EQ(port.Model().Entries(), QStringList{QStringLiteral("COM5: C ( made by D )")});
    port.Unload();

    gatetest::UnmappedPort com3(3);
    port.AskToScan("COM3");
    port.Show();
    port.cmdOK->click();
    EXPECT_EQ(value("Options", "LastChoice"), QStringLiteral("False"));
    EXPECT_EQ(value("Options", "ScanPorts"), QStringLiteral("False"));
    EXPECT_EQ(value("Options", "ScanAllPorts"), QStringLiteral("True"));
    EXPECT_TRUE(pane(1).startsWith(QStringLiteral("Scan COM Ports from 1 to 256")));
}

TEST_F(MainWindowTest, MenusCarryTheirCaptionsShortcutsAndActions)
{
    start();
    QStringList menus;
    for (QAction* a : window->menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus, (QStringList{"&File", "Too&ls", "&Help"}));
    for (const parlova::MenuItemSpec& spec : parlova::MainMenuItems()) {
        SCOPED_TRACE(spec.name.toStdString());
        QAction* a = window->MenuAction(spec.name);
        ASSERT_NE(a, nullptr);
        if (spec.caption != QLatin1String("-")) {
            EXPECT_EQ(a->text(), spec.caption);
        }
        EXPECT_EQ(a->shortcut(), QKeySequence(spec.shortcut));
    }

    QStringList calls;
    parlova::Procedures& p = parlova::Procs();
    p.OpenTalkFile = [&](std::optional<QString> path) { calls << (path ? "Open(" + *path + ")" : "Open()"); };
    p.ShowPhonebook = [&] { calls << "Phonebook"; };
    p.ShowOptions = [&](QWidget* owner) { calls << QStringLiteral("Options(%1)").arg(owner == window.get()); };
    p.ShowAbout = [&](QWidget* owner) { calls << QStringLiteral("About(%1)").arg(owner == window.get()); };
    for (const char* name : {"mnuFileNew", "mnuFileOpen", "mnuToolsPhonebook", "mnuToolsOptions", "mnuHelpAbout"})
        window->MenuAction(name)->trigger();
    EXPECT_EQ(calls, (QStringList{"Open()", "Open()", "Phonebook", "Options(1)", "About(1)"}));

    window->MenuAction("mnuHelpHelp")->trigger();
    window->MenuAction("mnuHelpHelpContent")->trigger();
    window->MenuAction("mnuHelpWeb")->trigger();
    ASSERT_EQ(desktop.calls.size(), 3u);
    EXPECT_EQ(desktop.calls[0].context, 21000);
    EXPECT_EQ(desktop.calls[1].context, 0);
    EXPECT_EQ(desktop.calls[2].target, parlova::WebSiteAddress());

    // Disconnect while disconnected asks nothing and leaves the buttons.
    window->MenuAction("mnuToolsDisconnect")->trigger();
    window->ButtonAction(tlbMDI, "Disconnect")->trigger();
    EXPECT_TRUE(window->ButtonAction(tlbMDI, "Disconnect")->isChecked());
    EXPECT_FALSE(window->ButtonAction(tlbMDI, "Connect")->isChecked());

    // Connect queues a connect order at the head.
    window->MenuAction("mnuToolsConnect")->trigger();
    EXPECT_TRUE(pane(1).startsWith(QStringLiteral("Connecting to COM7...")));
}

TEST_F(MainWindowTest, ToolbarFollowsTheCurrentChild)
{
    start();
    QMdiSubWindow* talk = addChild("frmTalk");
    EXPECT_FALSE(window->Toolbar(tlbTalk)->isHidden());
    EXPECT_TRUE(window->Toolbar(tlbMDI)->isHidden());
    // The row hidden stays hidden across children.
    window->MenuAction("mnuToolsToolbar")->trigger();
    EXPECT_TRUE(window->Toolbar(tlbTalk)->isHidden());
    EXPECT_FALSE(panes().ActiveToolbarVisible());
    QMdiSubWindow* store = addChild("frmMessageStore");
    EXPECT_EQ(panes().ActiveToolbar(), tlbStore);
    for (auto t : {tlbMDI, tlbTalk, tlbBook, tlbStore})
        EXPECT_TRUE(window->Toolbar(t)->isHidden());
    window->MenuAction("mnuToolsToolbar")->trigger();
    EXPECT_FALSE(window->Toolbar(tlbStore)->isHidden());

    // A child that goes while another stays current leaves its toolbar.
    QMdiSubWindow* book = addChild("frmPhonebook");
    window->MdiArea()->setActiveSubWindow(talk);
    EXPECT_EQ(panes().ActiveToolbar(), tlbTalk);
    book->close();
    EXPECT_EQ(panes().ActiveToolbar(), tlbTalk);
    // No child current while children remain (the program inactive): no switch.
    Q_EMIT window->MdiArea()->subWindowActivated(nullptr);
    EXPECT_EQ(panes().ActiveToolbar(), tlbTalk);

    // Tiled: full width, equal heights.
    QMdiSubWindow* third = addChild("frmTalk");
    window->ArrangeChildren(1);
    const QRect area = window->MdiArea()->viewport()->rect();
    const QList<QMdiSubWindow*> children = window->MdiArea()->subWindowList();
    ASSERT_EQ(children.size(), 3);
    for (QMdiSubWindow* child : children) {
        EXPECT_EQ(child->width(), area.width());
        EXPECT_NEAR(child->height(), area.height() / 3, 1);
    }
    (void)third;
    (void)store;

    for (QMdiSubWindow* child : window->MdiArea()->subWindowList())
        child->close();
    EXPECT_EQ(panes().ActiveToolbar(), tlbMDI);
    EXPECT_FALSE(window->Toolbar(tlbMDI)->isHidden());
}

TEST_F(MainWindowTest, PanesAndEditCommands)
{
    start();
    for (int n : {1, 2, 4})
        Click(window->PaneLabel(n));
    EXPECT_EQ(phoneOrders().Count(), 0);
    EXPECT_FALSE(phoneOrders().ActiveOrder());
    Click(window->PaneLabel(3));
    EXPECT_TRUE(pane(1).startsWith(QStringLiteral("Connecting to COM7...")));

    auto* talk = new TalkLike;
    addChild("frmTalk", talk);
    talk->text4->setPlainText(QStringLiteral("new text"));
    talk->text5->setPlainText(QStringLiteral("log text"));
    talk->text5->selectAll();
    talk->text5->setFocus();
    QApplication::clipboard()->setText(QStringLiteral("clip"));
    parlova::ToolbarDispatcher& d = window->Dispatcher();
    d.ToolbarButtonClick(5, 0);  // Cut: nothing on the log
    d.ToolbarButtonClick(7, 0);  // Paste: nothing on the log
    EXPECT_EQ(talk->text5->toPlainText(), QStringLiteral("log text"));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("clip"));
    d.ToolbarButtonClick(6, 0);  // Copy works there
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("log text"));
    d.ToolbarButtonClick(4, 0);  // Clear
    EXPECT_TRUE(talk->text4->toPlainText().isEmpty());
    EXPECT_EQ(talk->focusWidget(), talk->text4);
    d.ToolbarButtonClick(7, 0);
    EXPECT_EQ(talk->text4->toPlainText(), QStringLiteral("log text"));
    talk->text4->selectAll();
    d.ToolbarButtonClick(5, 0);
    EXPECT_TRUE(talk->text4->toPlainText().isEmpty());
    EXPECT_EQ(boxes.count(), 0u);

    // Drop-down entries carry their index; the plain part does nothing.
    QStringList fonts;
    parlova::Procs().ChooseFont = [&](QWidget* c) { fonts << c->objectName(); };
    QAction* font = window->ButtonAction(tlbTalk, "15");
    font->trigger();
    font->menu()->actions().at(1)->trigger();
    EXPECT_EQ(fonts, QStringList{QStringLiteral("Text4")});
}

TEST_F(MainWindowTest, RecentFilesShowPathsAsTheyAre)
{
    startApp();
    settings().RememberRecentFiles(true);
    settings().RecentFilesNumber(4);
    showWindow();
    EXPECT_FALSE(window->MenuAction("mnuRecentFile0")->isVisible());
    const QString path = QStringLiteral("/tmp/R&D/Q&A.plv");
    panes().UpdateRecentFilesList(path);
    EXPECT_TRUE(window->MenuAction("mnuRecentFile0")->isVisible());
    QAction* first = window->MenuAction("mnuRecentFile1");
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->text(), QStringLiteral("/tmp/R&&D/Q&&A.plv"));
    EXPECT_FALSE(window->MenuAction("mnuRecentFile2")->isVisible());
    QStringList opened;
    parlova::Procs().OpenTalkFile = [&](std::optional<QString> p) { opened << p.value_or("<dialog>"); };
    first->trigger();
    EXPECT_EQ(opened, QStringList{path});
}

TEST_F(MainWindowTest, CommandLineFilesOpenAtStartUp)
{
    startApp();
    QStringList opened;
    parlova::Procs().OpenTalkFile = [&](std::optional<QString> p) { opened << p.value_or("<dialog>"); };
    showWindow({QStringLiteral("/x/a; /x/b.plv;")});
    EXPECT_EQ(opened, (QStringList{"/x/a.PLV", "/x/b.plv"}));
}

TEST_F(MainWindowTest, PlacementIsSavedNormalAndRestored)
{
    start();
    window->setGeometry(100, 80, 700, 500);
    window->showMaximized();
    window->close();
    EXPECT_EQ(value("Main window", "Left"), QString::number(platform::PixelsToTwipsX(100)));
    EXPECT_EQ(value("Main window", "Width"), QString::number(platform::PixelsToTwipsX(700)));
    window.reset();
    showWindow();
    EXPECT_EQ(window->geometry(), QRect(100, 80, 700, 500));
}

TEST_F(MainWindowTest, ShutDownClosesChildrenFirstThenReleasesInOrder)
{
    platform::SaveSetting("Parlova", "Options", "LogToFile", "True");
    platform::SaveSetting("Parlova", "Options", "WorkingFolder", scratch());
    startApp();
    QStringList trace;
    app->Trace = [&](const QString& step) { trace << step; };
    showWindow();
    window->MenuAction("mnuToolsConnect")->trigger();
    ASSERT_TRUE(runUntilIdle());
    ASSERT_TRUE(globals().PhoneGate->connected());
    auto sms = std::make_shared<parlova::SendSMS>();
    sms->SetUp(QString(200, QLatin1Char('x')), 0, {QStringLiteral("+15551234567")}, 4, QVariant(), 0, QString(),
               QStringLiteral("Team"));
    phoneOrders().Add(sms, 0);
    ASSERT_TRUE(runUntil([&] { return sms->Finished(); }));

    // A child that refuses to go keeps everything.
    QMdiSubWindow* refusing = addChild("frmTalk", new Refusing);
    addChild("frmTalk");
    window->MenuAction("mnuFileExit")->trigger();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(globals().PhoneGate);
    EXPECT_EQ(parlova::Windows().frmMDI(), &panes());
    EXPECT_EQ(value("Main window", "Width"), QStringLiteral("<none>"));
    EXPECT_TRUE(trace.isEmpty());

    refusing->widget()->setAttribute(Qt::WA_DeleteOnClose, false);
    delete refusing;
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(trace, (QStringList{"release PhoneMessages", "release PhoneOrders", "release MailOrders",
                                  "release PhoneBooks", "release PhoneGate", "release MailGate"}));
    EXPECT_NE(value("SMSClassSequencer", "LastNumber"), QStringLiteral("<none>"));
    EXPECT_NE(value("Main window", "Width"), QStringLiteral("<none>"));
    EXPECT_EQ(parlova::Windows().frmMDI(), nullptr);
    QFile log(scratch() + QStringLiteral("/ParlovaHubLog.txt"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().contains("AT+CMGS="));
    window->Loop().Tick();
    EXPECT_EQ(boxes.count(), 0u);
}
