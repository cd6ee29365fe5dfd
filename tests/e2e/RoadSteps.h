#pragma once
// The steps every road takes: what the status bar shows, the settings a
// user left behind, Connect, the phone's memories, the conversation windows
// shown, a grid row chosen as the user clicks it, and closing the program
// with the questions it asks.
#include "e2e/ProgramRun.h"

#include "client/conversations/ui/TalkWindows.h"
#include "client/conversations/ui/frmTalk.h"
#include "client/core/ui/StoreGrid.h"
#include "platform/UserSettings.h"
#include "tools/phonesim/MessageMemory.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

// Failures show texts as texts.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace e2e {

inline const QString kRule = QString(30, QLatin1Char('_'));

inline QString Pane(ProgramRun& run, int n) { return run.window().PaneLabel(n)->text(); }
inline QString PaneTip(ProgramRun& run, int n) { return run.window().PaneLabel(n)->toolTip(); }

inline QString Setting(const char* section, const char* key)
{
    return platform::GetSetting(QStringLiteral("Parlova"), QString::fromLatin1(section), QString::fromLatin1(key),
                                QStringLiteral("<none>"));
}

inline void Option(const char* key, const QString& value)
{
    platform::SaveSetting(QStringLiteral("Parlova"), QStringLiteral("Options"), QString::fromLatin1(key), value);
}

// What a user left behind: the phone remembered on COM7, every Connect
// going straight to it.
inline void RememberPhone()
{
    Option("LastChoice", QStringLiteral("True"));
    Option("LastPort", QStringLiteral("7"));
}

// Tools, Connect until the phone pane reads "SMS".
inline bool Connect(ProgramRun& run)
{
    run.window().MenuAction(QStringLiteral("mnuToolsConnect"))->trigger();
    return run.runUntil([&] { return Pane(run, 3) == QStringLiteral("SMS"); });
}

inline phonesim::MessageMemory& Memory(ProgramRun& run) { return run.sim().state().get<phonesim::MessageMemory>(); }

// The conversation windows of the main window, in the order they opened.
inline QList<parlova::frmTalk*> TalkWindowsShown(ProgramRun& run)
{
    QList<parlova::frmTalk*> shown;
    for (QMdiSubWindow* sub : run.window().MdiArea()->subWindowList())
        if (parlova::frmTalk* talk = parlova::TalkWindows::Of(sub); talk && sub->isVisible())
            shown << talk;
    return shown;
}

// The grid row whose first two columns read first and second, made current
// as a click makes it; false when there is none.
inline bool ClickRow(parlova::StoreGrid& grid, const QString& first, const QString& second)
{
    for (int r = 1; r < grid.Rows(); ++r)
        if (grid.TextMatrix(r, 0).trimmed() == first && grid.TextMatrix(r, 1).trimmed() == second) {
            grid.setCurrentCell(r - 1, 0);
            return true;
        }
    return false;
}

// The item of a menu whose caption, without its accelerator, is caption.
inline QAction* MenuItem(QMenu* menu, const QString& caption)
{
    for (QAction* a : menu->actions())
        if (a->text().remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0) == caption)
            return a;
    return nullptr;
}

// A question the program asks while it closes, and the user's answer.
struct Answer {
    QString question;
    int reply;
};
inline Answer Unread(int n, int reply)
{
    return {QStringLiteral("There are %1 unread messages.\r\nDo you want to close the conference?").arg(n), reply};
}
inline Answer Unsaved(int reply)
{
    return {QStringLiteral("There are unsaved changes.\r\nDo you want to save the changes?"), reply};
}

// Closes the program as its close box does: it asks exactly these questions.
inline void Close(ProgramRun& run, const std::vector<Answer>& answers)
{
    const size_t before = run.boxes.count();
    for (const Answer& a : answers)
        run.boxes.answer(a.reply);
    EXPECT_TRUE(run.closeWindow());
    QStringList asked, expected;
    for (size_t i = before; i < run.boxes.count(); ++i)
        asked << run.boxes.boxes()[i].prompt;
    for (const Answer& a : answers)
        expected << a.question;
    EXPECT_EQ(asked, expected);
}

}  // namespace e2e
