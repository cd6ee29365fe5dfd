#include "platform/ui/Dialogs.h"

#include "platform/ui/DialogRelease.h"
#include "platform/ui/FontColorDialog.h"
#include "platform/Timer.h"

#include <QApplication>
#include <QColorDialog>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QVariant>
#include <QWidget>

namespace platform {
namespace {

DialogHooks g_hooks;
QString g_initialFolder;

constexpr const char* kCharsetProperty = "Charset";
constexpr const char* kForeProperty = "ForeColor";
constexpr const char* kBackProperty = "BackColor";
constexpr const char* kFollowerProperty = "FollowsSystemColors";

// The system colours by index, onto the palette roles that play their part.
struct SystemColor {
    int index;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};
constexpr SystemColor kSystemColors[] = {
    {0, QPalette::Active, QPalette::Button},        // scroll bar
    {1, QPalette::Active, QPalette::Dark},          // desktop
    {2, QPalette::Active, QPalette::Highlight},     // active caption
    {3, QPalette::Inactive, QPalette::Highlight},   // inactive caption
    {4, QPalette::Active, QPalette::Window},        // menu
    {5, QPalette::Active, QPalette::Base},          // window background
    {6, QPalette::Active, QPalette::Shadow},        // window frame
    {7, QPalette::Active, QPalette::WindowText},    // menu text
    {8, QPalette::Active, QPalette::Text},          // window text
    {9, QPalette::Active, QPalette::HighlightedText},    // caption text
    {10, QPalette::Active, QPalette::Button},       // active border
    {11, QPalette::Inactive, QPalette::Button},     // inactive border
    {12, QPalette::Active, QPalette::Mid},          // application workspace
    {13, QPalette::Active, QPalette::Highlight},    // highlight
    {14, QPalette::Active, QPalette::HighlightedText},
    {15, QPalette::Active, QPalette::Button},       // button face
    {16, QPalette::Active, QPalette::Dark},         // button shadow
    {17, QPalette::Disabled, QPalette::Text},       // grey text
    {18, QPalette::Active, QPalette::ButtonText},
    {19, QPalette::Inactive, QPalette::HighlightedText},  // inactive caption text
    {20, QPalette::Active, QPalette::Light},        // button highlight
    {21, QPalette::Active, QPalette::Shadow},       // 3-D dark shadow
    {22, QPalette::Active, QPalette::Midlight},     // 3-D light
    {23, QPalette::Active, QPalette::ToolTipText},
    {24, QPalette::Active, QPalette::ToolTipBase},
    {26, QPalette::Active, QPalette::Link},         // hot-tracked item
    {27, QPalette::Active, QPalette::Highlight},    // gradient of the active caption
    {28, QPalette::Inactive, QPalette::Highlight},
    {29, QPalette::Active, QPalette::Highlight},    // menu highlight
    {30, QPalette::Active, QPalette::Window},       // menu bar
};

// A test that forgot to answer must not hang the run, and a program without
// widgets cannot show a dialog: both cancel.
bool CannotShow(const char* what)
{
    if (!TimersInert() && qobject_cast<QApplication*>(QCoreApplication::instance()))
        return false;
    qWarning("Unanswered %s dialog", what);
    return true;
}

}  // namespace

FontSpec WidgetFont(const QWidget* widget)
{
    FontSpec out;
    const QFont f = widget->font();
    out.name = f.family();
    out.size = f.pointSizeF() > 0 ? f.pointSizeF() : 10;
    out.bold = f.bold();
    out.italic = f.italic();
    out.strikethrough = f.strikeOut();
    out.underline = f.underline();
    const QVariant cs = widget->property(kCharsetProperty);
    out.charset = cs.isValid() ? cs.toInt() : 1;
    return out;
}

QFont FontWithSpec(QFont base, const FontSpec& spec)
{
    if (!spec.name.isEmpty())
        base.setFamilies({spec.name});
    if (SaneFontSize(spec.size))
        base.setPointSizeF(spec.size);
    base.setBold(spec.bold);
    base.setItalic(spec.italic);
    base.setStrikeOut(spec.strikethrough);
    base.setUnderline(spec.underline);
    return base;
}

void SetWidgetFont(QWidget* widget, const FontSpec& spec)
{
    widget->setFont(FontWithSpec(widget->font(), spec));
    widget->setProperty(kCharsetProperty, spec.charset);
}

QColor OleToColor(qint32 ole, const QPalette& palette)
{
    const quint32 v = quint32(ole);
    if (IsSystemColor(ole)) {
        const int index = int(v & 0xFFFFu);
        for (const SystemColor& s : kSystemColors)
            if (s.index == index)
                return palette.color(s.group, s.role);
        return palette.color(QPalette::Active, QPalette::Window);
    }
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

QColor OleToColor(qint32 ole) { return OleToColor(ole, QApplication::palette()); }

qint32 ColorToOle(const QColor& color)
{
    const QColor c = color.toRgb();
    return qint32(quint32(c.red()) | (quint32(c.green()) << 8) | (quint32(c.blue()) << 16));
}

namespace {

constexpr QPalette::ColorRole kForeRoles[] = {QPalette::Text, QPalette::WindowText, QPalette::ButtonText};
constexpr QPalette::ColorRole kBackRoles[] = {QPalette::Base, QPalette::Window, QPalette::Button};

template <size_t N>
void Paint(QWidget* widget, qint32 ole, const QPalette::ColorRole (&roles)[N])
{
    QPalette p = widget->palette();
    const QColor c = OleToColor(ole);
    for (QPalette::ColorRole role : roles)
        p.setColor(role, c);
    widget->setPalette(p);
}

// A system colour names a role of the desktop's palette, not a fixed
// colour: when the desktop's palette changes, the widget follows it.
class SystemColorFollower : public QObject {
public:
    explicit SystemColorFollower(QWidget* widget) : QObject(widget) { widget->installEventFilter(this); }

    static void Attach(QWidget* widget)
    {
        if (widget->property(kFollowerProperty).toBool())
            return;
        widget->setProperty(kFollowerProperty, true);
        new SystemColorFollower(widget);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ApplicationPaletteChange && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            for (auto [property, isFore] : {std::pair{kForeProperty, true}, std::pair{kBackProperty, false}}) {
                const QVariant v = widget->property(property);
                if (!v.isValid() || !IsSystemColor(v.toInt()))
                    continue;
                if (isFore)
                    Paint(widget, v.toInt(), kForeRoles);
                else
                    Paint(widget, v.toInt(), kBackRoles);
            }
        }
        return false;
    }
};

}  // namespace

void SetWidgetForeColor(QWidget* widget, qint32 ole)
{
    Paint(widget, ole, kForeRoles);
    widget->setProperty(kForeProperty, ole);
    if (IsSystemColor(ole))
        SystemColorFollower::Attach(widget);
}

void SetWidgetBackColor(QWidget* widget, qint32 ole)
{
    Paint(widget, ole, kBackRoles);
    widget->setAutoFillBackground(true);
    widget->setProperty(kBackProperty, ole);
    if (IsSystemColor(ole))
        SystemColorFollower::Attach(widget);
}

qint32 WidgetForeColor(const QWidget* widget)
{
    const QVariant v = widget->property(kForeProperty);
    return v.isValid() ? v.toInt() : ColorToOle(widget->palette().color(QPalette::Text));
}

qint32 WidgetBackColor(const QWidget* widget)
{
    const QVariant v = widget->property(kBackProperty);
    return v.isValid() ? v.toInt() : ColorToOle(widget->palette().color(QPalette::Base));
}

void SetInitialFolder(const QString& folder) { g_initialFolder = folder; }
QString InitialFolder() { return g_initialFolder; }

QString QtFileFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        const QString list = QLatin1Char('(') + patterns.simplified() + QLatin1Char(')');
        // Qt reads the patterns from the last parentheses; a description
        // that already ends with them is not given them twice.
        const QString description = parts[i].trimmed();
        out << (description.endsWith(list) ? description : description + QLatin1Char(' ') + list);
    }
    return out.join(QStringLiteral(";;"));
}

std::optional<QString> GetFileName(const FileDialogRequest& r)
{
    if (g_hooks.file)
        return g_hooks.file(r);
    if (CannotShow("file"))
        return std::nullopt;
    QString start = r.initialFolder.isEmpty() ? g_initialFolder : r.initialFolder;
    if (!r.fileName.isEmpty())
        // A name with its own folder starts there.
        start = start.isEmpty() || QFileInfo(r.fileName).isAbsolute() ? r.fileName
                                                                        : start + QLatin1Char('/') + r.fileName;
    // On the heap and watched: a timer may unload the owner while the
    // dialog is up, and the dialog goes with it.
    QPointer<QFileDialog> dialog =
        new QFileDialog(r.owner ? r.owner : QApplication::activeWindow(), r.title, start, QtFileFilter(r.filter));
    const DialogRelease release(dialog);
    dialog->setAcceptMode(r.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(r.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!r.defaultExt.isEmpty())
        dialog->setDefaultSuffix(r.defaultExt);
    if (dialog->exec() != QDialog::Accepted || !dialog || dialog->selectedFiles().isEmpty())
        return std::nullopt;
    return dialog->selectedFiles().front();
}

std::optional<QString> ChooseFolder(const FolderDialogRequest& r)
{
    if (g_hooks.folder)
        return g_hooks.folder(r);
    if (CannotShow("folder"))
        return std::nullopt;
    // Not Qt's static function: its dialog lives on the stack and would be
    // freed twice if a timer unloaded the owner meanwhile.
    QPointer<QFileDialog> dialog =
        new QFileDialog(r.owner ? r.owner : QApplication::activeWindow(), r.title, r.initialFolder);
    const DialogRelease release(dialog);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    if (dialog->exec() != QDialog::Accepted || !dialog || dialog->selectedFiles().isEmpty())
        return std::nullopt;
    const QString path = dialog->selectedFiles().front();
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<FontDialogAnswer> ChooseFontDialog(const FontDialogRequest& r)
{
    if (g_hooks.font)
        return g_hooks.font(r);
    if (CannotShow("font"))
        return std::nullopt;
    // Watched, as the file dialogs are, in case the owner is unloaded meanwhile.
    QPointer<FontColorDialog> dialog = new FontColorDialog(r, r.owner ? r.owner : QApplication::activeWindow());
    const DialogRelease release(dialog);
    if (dialog->exec() != QDialog::Accepted || !dialog)
        return std::nullopt;
    return dialog->answer();
}

std::optional<qint32> ChooseColorDialog(const ColorDialogRequest& r)
{
    if (g_hooks.color)
        return g_hooks.color(r);
    if (CannotShow("colour"))
        return std::nullopt;
    QPointer<QColorDialog> dialog =
        new QColorDialog(OleToColor(r.color), r.owner ? r.owner : QApplication::activeWindow());
    const DialogRelease release(dialog);
    if (dialog->exec() != QDialog::Accepted || !dialog)
        return std::nullopt;
    const QColor c = dialog->selectedColor();
    if (!c.isValid())
        return std::nullopt;
    return ColorToOle(c);
}

DialogHooks SetDialogHooks(DialogHooks hooks)
{
    DialogHooks previous = std::move(g_hooks);
    g_hooks = std::move(hooks);
    return previous;
}

}  // namespace platform
