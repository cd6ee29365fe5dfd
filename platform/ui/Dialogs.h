#pragma once
// The common dialogs (file, folder, font, colour) and the fonts and colours
// of widgets. Tests answer every dialog through a hook.
//
// A widget keeps the OLE colour value it was given; a system colour is
// resolved against the palette only when it is applied, so reading a
// widget's colour back gives the same value and an unchanged colour is
// never rewritten as a fixed one.
#include "platform/FontSpec.h"

#include <QColor>
#include <QPalette>
#include <QString>


#include <deque>
#include <functional>
#include <optional>
#include <vector>

class QFont;
class QWidget;

namespace platform {

FontSpec WidgetFont(const QWidget* widget);
// An empty name keeps the widget's family; a size of 0 or less keeps its size.
void SetWidgetFont(QWidget* widget, const FontSpec& font);

QColor OleToColor(qint32 ole, const QPalette& palette);
QColor OleToColor(qint32 ole);  // against the application's palette
qint32 ColorToOle(const QColor& color);

// ForeColor paints text, BackColor the background.
void SetWidgetForeColor(QWidget* widget, qint32 ole);
void SetWidgetBackColor(QWidget* widget, qint32 ole);
// The OLE value last set, else the palette's colour as a fixed value.
qint32 WidgetForeColor(const QWidget* widget);
qint32 WidgetBackColor(const QWidget* widget);

// The program's one common dialog remembers its starting folder.
void SetInitialFolder(const QString& folder);
QString InitialFolder();

struct FileDialogRequest {
    bool save = false;
    QString title;
    // In the "description|pattern|description|pattern" form; patterns
    // separated by ";".
    QString filter;
    QString initialFolder;  // empty: the common dialog's
    QString fileName;
    QString defaultExt;
    QWidget* owner = nullptr;
};

struct FolderDialogRequest {
    QString title;
    QString initialFolder;
    QWidget* owner = nullptr;
};

struct FontDialogRequest {
    FontSpec font;
    qint32 color = kSystemColorFlag | 8;
    QWidget* owner = nullptr;
};
struct FontDialogAnswer {
    FontSpec font;
    qint32 color = kSystemColorFlag | 8;
};

struct ColorDialogRequest {
    qint32 color = 0;
    QWidget* owner = nullptr;
};

// Each gives std::nullopt when the user cancels.
std::optional<QString> GetFileName(const FileDialogRequest& request);
std::optional<QString> ChooseFolder(const FolderDialogRequest& request);
std::optional<FontDialogAnswer> ChooseFontDialog(const FontDialogRequest& request);
std::optional<qint32> ChooseColorDialog(const ColorDialogRequest& request);

// Qt's filter form of a "description|pattern|..." filter.
QString QtFileFilter(const QString& filter);

// While a hook of a kind is set it answers those dialogs instead of a window.
struct DialogHooks {
    std::function<std::optional<QString>(const FileDialogRequest&)> file;
    std::function<std::optional<QString>(const FolderDialogRequest&)> folder;
    std::function<std::optional<FontDialogAnswer>(const FontDialogRequest&)> font;
    std::function<std::optional<qint32>(const ColorDialogRequest&)> color;
};
DialogHooks SetDialogHooks(DialogHooks hooks);

}  // namespace platform
