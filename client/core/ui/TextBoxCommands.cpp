#include "client/core/ui/TextBoxCommands.h"

#include "platform/Clock.h"

#include <QLocale>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace parlova {

void TextBoxCommands::DeleteForward(QPlainTextEdit* box)
{
    QTextCursor cursor = box->textCursor();
    // A selection starts before the end, wherever the cursor stands.
    if (!cursor.hasSelection() && cursor.atEnd())
        return;
    if (!cursor.hasSelection())
        cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    box->setTextCursor(cursor);
}

void TextBoxCommands::InsertTimeDate(QPlainTextEdit* box)
{
    box->insertPlainText(QLocale::system().toString(platform::Now(), QLocale::ShortFormat));
}

}  // namespace parlova
