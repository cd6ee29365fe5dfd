#include "client/main/ui/FontColorProcedures.h"

#include "client/core/WindowSeams.h"
#include "client/core/ui/frmCharSet.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Hourglass.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ModalForm.h"

#include <QLineEdit>
#include <QPointer>
#include <QWidget>

namespace parlova {
namespace {

// The window that keeps the control's style: the nearest one up from the
// control that offers the members (a child window, or a top-level one), as
// a widget so that the caller can watch it.
QWidget* OwnerWindow(QWidget* control)
{
    for (QWidget* w = control->parentWidget(); w; w = w->parentWidget())
        if (dynamic_cast<FormatOwner*>(w))
            return w;
    return nullptr;
}

// What the window says of a save it was asked for; empty without a window.
using SaveMember = QString (FormatOwner::*)(QWidget*);
QString Save(const QPointer<QWidget>& window, SaveMember member, QWidget* control)
{
    if (!window)
        return QString();
    return (dynamic_cast<FormatOwner*>(window.data())->*member)(control);
}

void ShowSaveError(const QPointer<QWidget>& window, const QString& error)
{
    if (error.isEmpty() || !window)
        return;
    platform::msgBox(error, platform::vbExclamation, dynamic_cast<FormatOwner*>(window.data())->Theme());
}

}  // namespace

void ChooseFont(QWidget* control)
{
    if (!control)
        return;
    // A tick may unload the control's window while a dialog is open.
    const QPointer<QWidget> watched = control;
    const QPointer<QWidget> window = OwnerWindow(control);
    platform::FontDialogRequest request;
    {
        const platform::Hourglass hourglass;
        request.font = platform::WidgetFont(control);
        request.color = platform::WidgetForeColor(control);
        request.owner = control->window();
    }
    const std::optional<platform::FontDialogAnswer> answer = platform::ChooseFontDialog(request);
    if (!answer || !watched)
        return;
    platform::FontSpec font = answer->font;
    font.charset = platform::WidgetFont(control).charset;
    platform::SetWidgetFont(control, font);
    platform::SetWidgetForeColor(control, answer->color);
    const QString error = Save(window, &FormatOwner::SaveFont, control);
    if (!error.isEmpty()) {
        ShowSaveError(window, error);
        return;
    }

    QPointer<frmCharSet> charSet = new frmCharSet(control->window());
    platform::FontSpec sample;
    sample.name = font.name;
    sample.size = font.size;
    sample.charset = font.charset;
    platform::SetWidgetFont(charSet->Text1, sample);
    charSet->InitCharSet(font.charset);
    platform::ShowModalForm(charSet);
    if (charSet && watched && charSet->IsSelectionOK()) {
        font.charset = charSet->CharSet();
        platform::SetWidgetFont(control, font);
        // A set that could not be stored is said as the font's would be.
        ShowSaveError(window, Save(window, &FormatOwner::SaveCharset, control));
    }
    delete charSet.data();
}

void ChooseColor(QWidget* control)
{
    if (!control)
        return;
    const QPointer<QWidget> watched = control;
    const QPointer<QWidget> window = OwnerWindow(control);
    const std::optional<qint32> color =
        platform::ChooseColorDialog({platform::WidgetBackColor(control), control->window()});
    if (!color || !watched)
        return;
    platform::SetWidgetBackColor(control, *color);
    ShowSaveError(window, Save(window, &FormatOwner::SaveColor, control));
}

}  // namespace parlova
