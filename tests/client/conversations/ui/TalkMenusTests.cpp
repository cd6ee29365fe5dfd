// The conversation window's menus in the real main window, offscreen: the
// menus in place of the main window's, the dynamic submenus, what every
// item hands to its procedure, the editing commands, the query to the
// simulated phone, the conferee list's popup and dragging the message box.
#include "client/support/MainWindowRig.h"

#include "client/conversations/Conference.h"
#include "client/conversations/ui/TalkMenus.h"
#include "client/conversations/ui/TalkWindows.h"
#include "client/conversations/ui/frmFind.h"
#include "client/conversations/ui/frmTalk.h"
#include "client/core/ui/frmAllItems.h"
#include "client/orders/PhoneConnectProcedures.h"
#include "hub/messages/BookRecords.h"
#include "platform/ui/Twips.h"
#include "support/ui/ModalFormRecorder.h"

#include <QApplication>
#include <QClipboard>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolBar>

#include <gtest/gtest.h>

using parlova::frmTalk;
using parlova::TalkChoice;

namespace {

class TalkMenusTest : public mainwintest::MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        startApp(true);
        parlova::frmFind::Install(parlova::Procs());
        showWindow();
    }

    // A new conversation, named when a name is given (saved under it).
    frmTalk& open(const QString& name = QString())
    {
        QString theme, warnings;
        EXPECT_EQ(parlova::Conferences().AddTalk(theme, warnings, QString()), QString());
        if (!name.isEmpty()) {
            EXPECT_EQ(parlova::Conferences().SaveFile(theme, dir.filePath(name + QStringLiteral(".plv"))), QString());
            theme = name;
        }
        return dynamic_cast<frmTalk&>(parlova::Conferences().Talk(theme));
    }
    void addConferees(frmTalk& talk, int n)
    {
        for (int i = 1; i <= n; ++i, ++lastNumber)
            parlova::Conferences().AddConferee(QStringLiteral("+44%1").arg(lastNumber), QStringLiteral("P%1").arg(i),
                                               talk.Theme());
    }
    // The captions of a menu's items, separators and recent files left out.
    static QStringList captions(QMenu* menu)
    {
        QStringList out;
        for (QAction* a : menu->actions())
            if (!a->isSeparator() && !a->objectName().startsWith(QStringLiteral("mnuRecentFile")))
                out << a->text();
        return out;
    }
    static QStringList opened(frmTalk& talk, const char* menu, const char* submenu)
    {
        parlova::TalkMenus& m = talk.MenuSet();
        Q_EMIT m.Menu(QString::fromLatin1(menu))->aboutToShow();
        return captions(m.Menu(QString::fromLatin1(submenu)));
    }
    static void trigger(frmTalk& talk, const char* submenu, int item)
    {
        talk.MenuSet().Menu(QString::fromLatin1(submenu))->actions().at(item)->trigger();
    }

    // Every procedure a menu item may call, recorded as "Name(arguments)".
    struct Answer {
        operator QString() const { return {}; }
        operator bool() const { return true; }
    };
    QString arg(QWidget* widget) const
    {
        return widget == recorded ? QStringLiteral("W") : widget == window.get() ? QStringLiteral("Main") : widget->objectName();
    }
    static QString arg(const QString& text) { return text.trimmed(); }
    static QString arg(qint32 number) { return QString::number(number); }
    static QString arg(const std::optional<QString>& path) { return path ? *path : QStringLiteral("dialog"); }
    static QString arg(const TalkChoice& c) { return c.more ? "more" : c.nowhere ? "nowhere" : c.theme; }
    auto record(const char* name)
    {
        return [this, name](auto... a) {
            calls << QLatin1String(name) + '(' + QStringList{arg(a)...}.join(',') + ')';
            return Answer{};
        };
    }
    void recordProcedures(frmTalk& w)
    {
        recorded = &w;
        parlova::Procedures& p = parlova::Procs();
        p.OpenTalkFile = record("OpenTalkFile"), p.SaveTalkFile = record("SaveTalkFile");
        p.ExportTalk = record("ExportTalk"), p.ChooseFont = record("ChooseFont"), p.ChooseColor = record("ChooseColor");
        p.AskAddConferee = record("AskAddConferee"), p.AddConfereesFromPhonebooks = record("AddConfereesFromPhonebooks");
        p.AskEditConferee = record("AskEditConferee"), p.AskRemoveConferees = record("AskRemoveConferees");
        p.AskMoveConferees = record("AskMoveConferees"), p.AskJoinTalks = record("AskJoinTalks");
        p.CopyConfereesToBook = record("CopyConfereesToBook"), p.SendTalkMessage = record("SendTalkMessage");
        p.MarkTalkRead = record("MarkTalkRead"), p.StartFind = record("StartFind");
        p.ShowPhonebook = record("ShowPhonebook"), p.ShowMessageStore = record("ShowMessageStore");
        p.ShowOptions = record("ShowOptions"), p.ShowAbout = record("ShowAbout"), p.ShowHelp = record("ShowHelp");
        p.OpenWebSite = record("OpenWebSite"), p.Arrange = record("Arrange");
    }

    static void mouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, QPointF(at), QPointF(target->mapToGlobal(at)), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }

    QTemporaryDir dir;
    QStringList calls;
    frmTalk* recorded = nullptr;
    int lastNumber = 1000;
};

}  // namespace

TEST_F(TalkMenusTest, MenusTakeTheMainWindowsPlace)
{
    frmTalk& w = open();
    QStringList bar;
    for (QAction* a : window->menuBar()->actions())
        bar << a->text();
    EXPECT_EQ(bar, (QStringList{"&File", "&Message", "&Conferee", "&Talk", "Too&ls", "&Window", "&Help"}));

    parlova::TalkMenus& m = w.MenuSet();
    struct Case { const char* menu; QStringList items; } cases[] = {
        {"mnuFile", {"&New", "&Open...", "&Close", "&Save", "Save &As...", "&Export", "E&xit"}},
        {"mnuMessage", {"Clea&r", "Ti&me/Date", "Select A&ll", "Cu&t\tCtrl+X", "&Copy\tCtrl+C", "&Paste\tCtrl+V",
                        "&Delete\tDel", "F&ont...", "Co&lour..."}},
        {"mnuConferee", {"&Add...", "Add from &Phone...", "&Move To", "&Edit...", "&Remove", "Copy &To Phone",
                         "Copy To &SIM", "&Deselect All", "F&ont...", "&Colour..."}},
        {"mnuTalk", {"&Send", "Sen&d To Selected", "Send &To", "&Mark Read", "&Join", "&Find...", "Find &Next",
                     "F&ont...", "&Colour..."}},
        {"mnuTools", {"&Connect...", "&Disconnect", "Message &Store", "&Phonebook", "&Query Phone", "Decode",
                      "Connect &Email", "D&isconnect Email", "&Toolbar", "&Message Options", "&Options..."}},
        {"mnuWindow", {"&Cascade", "&Tile", "&Arrange Icons"}},
        {"mnuHelp", {"&Help", "Help &Content", "Parlova on the &Web", "&About"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(captions(m.Menu(QString::fromLatin1(c.menu))), c.items) << c.menu;
    // The recent files and the Toolbar item are the main window's own.
    EXPECT_TRUE(m.Menu("mnuFile")->actions().contains(window->MenuAction("mnuRecentFile1")));
    EXPECT_EQ(m.Item("mnuToolsToolbar"), window->MenuAction("mnuToolsToolbar"));

    // Toolbar hides the row and unticks both items; again shows it.
    m.Item("mnuToolsToolbar")->trigger();
    EXPECT_TRUE(window->Toolbar(parlova::tlbTalk)->isHidden());
    EXPECT_FALSE(window->MenuAction("mnuToolsToolbar")->isChecked());
    m.Item("mnuToolsToolbar")->trigger();
    EXPECT_FALSE(window->Toolbar(parlova::tlbTalk)->isHidden());
    EXPECT_TRUE(m.Item("mnuToolsToolbar")->isChecked());

    // Message Options follows the view, also when the toolbar toggles it.
    m.Item("mnuToolsMessageOptions")->trigger();
    EXPECT_FALSE(m.Item("mnuToolsMessageOptions")->isChecked());
    EXPECT_TRUE(w.List1->isHidden());
    window->Dispatcher().ToolbarButtonClick(14, 0);
    EXPECT_TRUE(m.Item("mnuToolsMessageOptions")->isChecked());
    EXPECT_FALSE(w.List1->isHidden());

    // Without a child the main window's menus come back.
    w.SubWindow()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window->menuBar()->actions().first(), window->MenuAction("mnuFile"));
}

TEST_F(TalkMenusTest, SubmenusListTheOtherConversationsAndTheConferees)
{
    frmTalk& alone = open();
    EXPECT_EQ(opened(alone, "mnuConferee", "mnuConfereeMoveTo"), QStringList{"[nowhere]"});
    EXPECT_EQ(opened(alone, "mnuTalk", "mnuTalkJoin"), QStringList{"[nowhere]"});
    EXPECT_EQ(opened(alone, "mnuTalk", "mnuTalkSendTo"), QStringList{"[none]"});
    recordProcedures(alone);
    trigger(alone, "mnuTalkSendTo", 0);  // "[none]" does nothing
    trigger(alone, "mnuConfereeMoveTo", 0);
    EXPECT_EQ(calls, QStringList{"AskMoveConferees(Conference1,nowhere)"});
    EXPECT_EQ(boxes.count(), 0u);

    frmTalk& second = open();
    open();
    EXPECT_EQ(opened(second, "mnuConferee", "mnuConfereeMoveTo"), (QStringList{"Conference1", "Conference3"}));
    for (int i = 4; i <= 12; ++i)
        open();
    frmTalk& fifth = dynamic_cast<frmTalk&>(parlova::Conferences().Talk(5));
    const QStringList expected{"Conference1", "Conference2", "Conference3", "Conference4", "Conference6",
                               "Conference7", "Conference8", "Conference9", "More conferences..."};
    EXPECT_EQ(opened(fifth, "mnuConferee", "mnuConfereeMoveTo"), expected);
    EXPECT_EQ(opened(fifth, "mnuTalk", "mnuTalkJoin"), expected);
    calls.clear();
    trigger(fifth, "mnuTalkJoin", 8);
    trigger(fifth, "mnuTalkJoin", 1);
    EXPECT_EQ(calls, (QStringList{"AskJoinTalks(Conference5,more)", "AskJoinTalks(Conference5,Conference2)"}));

    // Send To: nine lines all, ten the first eight and the picker.
    addConferees(fifth, 9);
    EXPECT_EQ(opened(fifth, "mnuTalk", "mnuTalkSendTo"), fifth.AllConferees());
    addConferees(second, 10);
    EXPECT_EQ(opened(second, "mnuTalk", "mnuTalkSendTo"), second.AllConferees().mid(0, 8) << "More conferees...");
    platform::ModalFormRecorder forms;
    forms.answerWith<parlova::frmAllItems>([](parlova::frmAllItems& f) {
        f.List1->setCurrentRow(9);
        f.OKButton->click();
    });
    forms.answerWith<parlova::frmAllItems>([](parlova::frmAllItems& f) { f.CancelButton->click(); });
    calls.clear();
    trigger(second, "mnuTalkSendTo", 8);
    trigger(second, "mnuTalkSendTo", 8);
    trigger(second, "mnuTalkSendTo", 2);
    ASSERT_EQ(forms.forms.size(), 2u);
    EXPECT_EQ(forms.forms[0].caption, QStringLiteral("All conferees of Conference2"));
    const auto sent = [&](int i) {
        return QStringLiteral("SendTalkMessage(Conference2,0,%1,)").arg(second.AllConferees()[i].section('<', 1).chopped(1));
    };
    EXPECT_EQ(calls, (QStringList{sent(9), sent(2)}));
}

TEST_F(TalkMenusTest, ThemesAreDataNotCaptions)
{
    frmTalk& team = open(QStringLiteral("Team"));
    open(QStringLiteral("R&D"));
    open(QStringLiteral("[nowhere]"));
    recordProcedures(team);
    EXPECT_EQ(opened(team, "mnuConferee", "mnuConfereeMoveTo"), (QStringList{"R&&D", "[nowhere]"}));
    trigger(team, "mnuConfereeMoveTo", 0);
    trigger(team, "mnuConfereeMoveTo", 1);
    EXPECT_EQ(calls, (QStringList{"AskMoveConferees(Team,R&D)", "AskMoveConferees(Team,[nowhere])"}));
}

TEST_F(TalkMenusTest, ItemsHandTheirProceduresTheirArguments)
{
    frmTalk& w = open(QStringLiteral("Team"));
    addConferees(w, 2);
    w.Log(2, QStringLiteral("logged"));
    w.List1->setCurrentRow(1);
    recordProcedures(w);
    const qint32 phone = globals().PhoneBooks->GetPhoneBook(), sim = globals().PhoneBooks->GetSIMBook();
    struct Case { const char* item; QString call; } cases[] = {
        {"mnuFileNew", "OpenTalkFile()"},
        {"mnuFileOpen", "OpenTalkFile(dialog)"},
        {"mnuFileSave", "SaveTalkFile(W,0)"},
        {"mnuFileSaveAs", "SaveTalkFile(W,1)"},
        {"mnuFileExport", "ExportTalk(logged,Team)"},
        {"mnuMessageFont", "ChooseFont(Text4)"},
        {"mnuMessageColor", "ChooseColor(Text4)"},
        {"mnuConfereeFont", "ChooseFont(List1)"},
        {"mnuConfereeColor", "ChooseColor(List1)"},
        {"mnuTalkFont", "ChooseFont(Text5)"},
        {"mnuTalkColor", "ChooseColor(Text5)"},
        {"mnuConfereeAdd", "AskAddConferee(W)"},
        {"mnuConfereeAddFromPhone", "AddConfereesFromPhonebooks(W)"},
        {"mnuConfereeEdit", "AskEditConferee(Team,1)"},
        {"mnuConfereeRemove", "AskRemoveConferees(Team)"},
        {"mnuConfereeCopyToPhone", QStringLiteral("CopyConfereesToBook(W,%1)").arg(phone)},
        {"mnuConfereeCopyToSIM", QStringLiteral("CopyConfereesToBook(W,%1)").arg(sim)},
        {"mnuTalkSend", "SendTalkMessage(Team,0,,)"},
        {"mnuTalkSendSelected", "SendTalkMessage(Team,1,,)"},
        {"mnuTalkMarkRead", "MarkTalkRead(Team)"},
        {"mnuTalkFind", "StartFind()"},
        {"mnuTalkFindNext", "StartFind()"},  // no find text yet
        {"mnuToolsMessageStore", "ShowMessageStore()"},
        {"mnuToolsPhonebook", "ShowPhonebook()"},
        {"mnuToolsOptions", "ShowOptions(Main)"},
        {"mnuToolsDecode", ""},
        {"mnuWindowCascade", "Arrange(0)"},
        {"mnuWindowTile", "Arrange(1)"},
        {"mnuWindowArrangeIcons", "Arrange(3)"},
        {"mnuHelpHelp", "ShowHelp(33000)"},
        {"mnuHelpHelpContent", "ShowHelp(0)"},
        {"mnuHelpWeb", "OpenWebSite(W)"},
        {"mnuHelpAbout", "ShowAbout(Main)"},
    };
    for (const Case& c : cases) {
        calls.clear();
        w.MenuSet().Item(QString::fromLatin1(c.item))->trigger();
        EXPECT_EQ(calls.join(';'), c.call) << c.item;
    }
    // Deselect All clears the list's selection.
    w.List1->item(0)->setSelected(true);
    w.MenuSet().Item("mnuConfereeDeselectAll")->trigger();
    EXPECT_TRUE(w.SelectedConferees().isEmpty());

    // The double click edits the line under it (not a click below the
    // lines); the right button pops up the
    // Conferee menu with Edit as its default.
    calls.clear();
    QWidget* list = w.List1->viewport();
    mouse(list, QEvent::MouseButtonDblClick, QPoint(5, 5), Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(w.List1->currentRow(), 0);
    mouse(list, QEvent::MouseButtonDblClick, QPoint(5, list->height() - 2), Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(calls, QStringList{"AskEditConferee(Team,0)"});
    mouse(list, QEvent::MouseButtonRelease, QPoint(5, 5), Qt::RightButton, Qt::NoButton);
    QMenu* conferee = w.MenuSet().Menu("mnuConferee");
    EXPECT_TRUE(conferee->isVisible());
    EXPECT_EQ(conferee->defaultAction(), w.MenuSet().Item("mnuConfereeEdit"));
    conferee->hide();

    // Close runs the window's questions: Cancel keeps it.
    boxes.answer(platform::vbCancel);
    w.MenuSet().Item("mnuFileClose")->trigger();
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_TRUE(boxes.last().prompt.startsWith(QStringLiteral("There are unsaved changes.")));
    EXPECT_TRUE(parlova::Conferences().TalkExist(QStringLiteral("Team")));
}

TEST_F(TalkMenusTest, SaveAsAsksForAFile)
{
    frmTalk& w = open();
    parlova::TalkWindows::InstallProcedures(parlova::Procs());
    w.MenuSet().Item("mnuFileSaveAs")->trigger();
    ASSERT_EQ(dialogs.files.size(), 1u);
    EXPECT_TRUE(dialogs.files[0].save);
}

TEST_F(TalkMenusTest, EditingCommandsWorkOnTheActiveBox)
{
    frmTalk& w = open();
    parlova::TalkMenus& m = w.MenuSet();
    w.Text4->setPlainText(QStringLiteral("one\ntwo"));
    w.Log(2, QStringLiteral("log text"));
    QApplication::clipboard()->setText(QStringLiteral("clip"));

    // In the log only Copy works.
    w.Text5->setFocus();
    w.Text5->selectAll();
    m.Cut();
    m.Paste();
    m.Delete();
    EXPECT_EQ(w.Text4->toPlainText(), QStringLiteral("one\ntwo"));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("clip"));
    m.Item("mnuMessageCopy")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("\nlog text"));

    // Delete before the line break joins the lines; at the end nothing.
    w.Text4->setFocus();
    QTextCursor c = w.Text4->textCursor();
    c.setPosition(3);
    w.Text4->setTextCursor(c);
    m.Item("mnuMessageDelete")->trigger();
    EXPECT_EQ(w.Text4->toPlainText(), QStringLiteral("onetwo"));
    w.Text4->moveCursor(QTextCursor::End);
    m.Delete();
    EXPECT_EQ(w.Text4->toPlainText(), QStringLiteral("onetwo"));
    m.Item("mnuMessageTimeDate")->trigger();
    EXPECT_EQ(w.Text4->toPlainText(),
              QStringLiteral("onetwo") + QLocale::system().toString(platform::Now(), QLocale::ShortFormat));
    w.Text5->setFocus();
    m.Item("mnuMessageClear")->trigger();
    EXPECT_TRUE(w.Text4->toPlainText().isEmpty());
    EXPECT_EQ(w.focusWidget(), w.Text4);
}

TEST_F(TalkMenusTest, QueryPhoneAsksTheSimulatedPhone)
{
    frmTalk& w = open();
    QAction* query = w.MenuSet().Item("mnuToolsQueryPhone");
    w.Text4->setPlainText(QStringLiteral("  \n \n  "));
    query->trigger();
    EXPECT_EQ(phoneOrders().Count(), 0);

    parlova::ConnectPhone(0);
    ASSERT_TRUE(runUntilIdle());
    runFor(600);
    w.Text4->setPlainText(QStringLiteral(" AT+CGMI\n"));
    query->trigger();
    ASSERT_EQ(phoneOrders().Count(), 1);
    ASSERT_TRUE(runUntilIdle());
    const QString log = w.Log();
    EXPECT_TRUE(log.startsWith(QStringLiteral("\r\nQUERY: AT+CGMI\r\nANSWER: "))) << log.toStdString();
    EXPECT_TRUE(log.endsWith(QStringLiteral("\r\n") + QString(30, QLatin1Char('_')))) << log.toStdString();
    EXPECT_FALSE(log.contains(QStringLiteral("\r\n\r\n"))) << log.toStdString();
    EXPECT_EQ(w.Unread(), 1);
}

TEST_F(TalkMenusTest, DraggingTheMessageBoxTopResizesIt)
{
    frmTalk& w = open();
    w.SubWindow()->showMaximized();
    QWidget* box = w.Text4->viewport();
    const int frame = box->mapTo(w.Text4, QPoint(0, 0)).y();
    // Press on the edge band, drag up by the pixels given, let go.
    const auto drag = [&](int up) {
        mouse(box, QEvent::MouseButtonPress, QPoint(5, 1), Qt::LeftButton, Qt::LeftButton);
        mouse(box, QEvent::MouseMove, QPoint(5, -up - frame), Qt::NoButton, Qt::LeftButton);
        mouse(box, QEvent::MouseButtonRelease, QPoint(5, -up - frame), Qt::LeftButton, Qt::NoButton);
    };
    const int top = w.Text4->y(), bottom = top + w.Text4->height(), height = w.Text4Height();
    drag(20);
    EXPECT_EQ(w.Text4Height(), height + int(platform::PixelsToTwipsY(20)));
    EXPECT_LT(w.Text4->y(), top);
    EXPECT_NEAR(w.Text4->y() + w.Text4->height(), bottom, 1);

    // A drag that would bring the top to 345 twips or less changes nothing.
    const int grown = w.Text4Height();
    drag(w.Text4->y() - platform::TwipsToPixelsY(345) + 2);
    EXPECT_EQ(w.Text4Height(), grown);
}
