#pragma once
// Plugs the conversation windows into the program: the registry the
// application object makes at start-up (its windows in the main window's
// MDI area), and the conversation procedures of the cross-layer table.
#include "client/core/Application.h"

#include <functional>

class QMdiArea;
class QWidget;

namespace parlova {

class frmTalk;

class TalkWindows {
public:
    // area gives the main window's MDI area when a window is made; without
    // one a window is a top-level window.
    static void Install(Application& app, std::function<QMdiArea*()> area);
    // Only the procedures: OpenTalkFile, SaveTalkFile, ToggleTalkOptions,
    // and the save behind a closing window's question.
    static void InstallProcedures(Procedures& procedures);
    // The conversation window a widget is, or holds (its sub-window).
    static frmTalk* Of(QWidget* window);
};

}  // namespace parlova
