#pragma once
// The one dispatcher behind every toolbar button: a button's tag is its
// command number; the drop-down entries of the font and colour buttons add
// their index (1 conferees list, 2 new message, 3 log).
#include <QString>
#include <QtGlobal>

class QWidget;

namespace parlova {

// What the commands do to the active window's text boxes (Text4, Text5).
enum class TextCommand { Clear, Cut, Copy, Paste };

// What the dispatcher needs of the main window's active child window.
class ActiveChild {
public:
    virtual ~ActiveChild() = default;
    // The active child, or nullptr.
    virtual QWidget* ActiveWindow() const = 0;
    // Its form name ("frmTalk", "frmPhonebook", "frmMessageStore"), "" without one.
    virtual QString ActiveFormName() const = 0;
    // Its conversation's theme, "" when it has none.
    virtual QString ActiveTheme() const = 0;
    virtual QString ActiveCaption() const = 0;
    // Its control of that name (List1, Text4, Text5), or nullptr.
    virtual QWidget* ActiveControl(const QString& name) const = 0;
    // Clear: Text4 emptied and focused; Cut and Paste only on a focused
    // Text4; Copy on a focused Text4 or Text5. Nothing without them.
    virtual void EditText(TextCommand command) = 0;
};

class ToolbarDispatcher {
public:
    explicit ToolbarDispatcher(ActiveChild& active) : active_(active) {}

    // Runs command (index 0 for a plain button); a number without a
    // function says so in a box. Never raises.
    void ToolbarButtonClick(qint32 command, qint32 index);

    // "Button " & command & " has no function".
    static QString NoFunctionText(qint32 command);

private:
    void run(qint32 command, qint32 index);
    QWidget* styledControl(qint32 index) const;
    bool talkActive() const;

    ActiveChild& active_;
};

}  // namespace parlova
