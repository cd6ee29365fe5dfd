#pragma once
// Message boxes with the BASIC runtime's style numbers and answers, shown
// through QMessageBox. Tests answer every box through a hook, so nothing
// ever waits for a person.
#include "platform/MessageBoxStyle.h"

#include <QString>

#include <functional>
#include <vector>

class QWidget;

namespace platform {

// The answers the buttons of a style give, in the order the buttons stand.
std::vector<int> StyleAnswers(int style);
// The answer of the style's default button.
int DefaultAnswer(int style);
// The answer Escape gives, or 0 for boxes Escape cannot close (Yes/No,
// Abort/Retry/Ignore): the user has to choose.
int EscapeAnswer(int style);
// CR LF and lone CR become line breaks.
QString MessageBoxText(const QString& prompt);

// Shows the box and returns the answer (vbOK ... vbNo). An empty title gives
// the application's name. With a help context, the Help button and F1 open
// help at that context and leave the box open.
int msgBox(const QString& prompt, int style = vbOKOnly, const QString& title = QString(), int helpContext = 0,
           QWidget* owner = nullptr);

// While a hook is set it answers every box instead of a window. An answer
// the box could not give is replaced by the default answer.
using MessageBoxHook = std::function<int(const MessageBoxRequest&)>;
MessageBoxHook SetMessageBoxHook(MessageBoxHook hook);

}  // namespace platform
