#pragma once
// The program's own modal forms (the pickers, the about box, the conferee
// dialogs) are shown through this one function. Tests fill and confirm them
// through a hook, as boxes are answered, so no test runs a form's own event
// loop.
#include <functional>

class QDialog;

namespace platform {

// Shows form modally and gives QDialog::Accepted or QDialog::Rejected. A
// form unloaded while it is open (a timer may unload its owner) gives
// Rejected. The form is left loaded: the caller reads its choice and frees it.
// While it is open it counts in ModalFormCount.
int ShowModalForm(QDialog* form);

// While set, the hook gets each form, shown, in place of a person; what it
// leaves open is cancelled afterwards.
using ModalFormHook = std::function<void(QDialog& form)>;
ModalFormHook SetModalFormHook(ModalFormHook hook);

}  // namespace platform
