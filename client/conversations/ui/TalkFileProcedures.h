#pragma once
// Opening and saving conversation files from the menus of every window:
// the file dialogs, the registry's AddTalk and SaveFile, the messages and
// the recent-files list.
#include "client/conversations/Conversation.h"

#include <QString>

#include <optional>

namespace parlova {

// No path: the Open dialog; an empty path: a new conversation; else that file.
void OpenTalkFile(const std::optional<QString>& path);
// Save, or Save As (also when the conversation has no file yet). "" when
// saved or when the dialog was cancelled, else the error shown.
QString SaveTalkFile(Conversation& talk, bool saveAs);

}  // namespace parlova
