#pragma once
// The settings' and helpers' operations that take a widget: applying a text
// style, taking the Book style from the phone-book grid, the folder browser.
#include "client/core/Settings.h"

#include <QString>

class QWidget;

namespace parlova {

// Applies text style 0 to 4 of the settings to a widget: colours, then the
// font. Another style number changes nothing. Empty, or the error's
// "description (number)" with the rest of the steps skipped.
QString GetFormat(QWidget* target, int style);
// Takes the Book style from the phone-book grid and writes what differs.
void SaveBookOptions(bool fontChanged, const QWidget* grid);
// The folder browser, titled "Choose working folder". A chosen folder goes
// into path; on cancel path keeps its value. Empty in both cases.
QString BrowseForFolder(QString& path, QWidget* owner);
// Lets the settings tell the common dialog a new working folder.
void ConnectSettingsToDialogs(Settings& settings);
// Makes the core's questions message boxes.
void ConnectQuestionsToMessageBoxes();

}  // namespace parlova
