#pragma once
// The conversation window's commands that do more than hand over to a
// procedure: the free query to the phone and sending to one conferee of
// the Send To submenu. Boxes go through the core's questions.
#include <QString>

namespace parlova {

class TalkCommands {
public:
    // The new message, trimmed, as an AT query whose answer goes into the
    // conversation theme; nothing for an empty text.
    static void QueryPhoneWithText(const QString& text, const QString& theme);
    // The window's new message to the address of one conferee line.
    static void SendToConferee(const QString& theme, const QString& line);
};

}  // namespace parlova
