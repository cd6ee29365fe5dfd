#pragma once
// The editing commands the windows' menus run on a message box, beyond
// what the box does by itself.
class QPlainTextEdit;

namespace parlova {

class TextBoxCommands {
public:
    // The selection, or else the next character (a line break counts as
    // one), deleted; nothing while the caret is at the end of the text.
    static void DeleteForward(QPlainTextEdit* box);
    // The selection replaced by the present date and time, in the
    // system's short format.
    static void InsertTimeDate(QPlainTextEdit* box);
};

}  // namespace parlova
