#pragma once
// The font and colour choice for a list or text box of any window. The
// control's window stores the choice when it offers the members for it;
// otherwise the choice stays in the control.
class QWidget;

namespace parlova {

// The font dialog (face, size, effects, text colour), then the
// character-set dialog.
void ChooseFont(QWidget* control);
// The colour dialog for the background.
void ChooseColor(QWidget* control);

}  // namespace parlova
