#pragma once
// Message boxes with the BASIC runtime's style numbers and answers, shown
// through QMessageBox. Tests answer every box through a hook, so nothing
// ever waits for a person.
#include <QString>

#include <functional>
#include <vector>

class QWidget;

namespace platform {

// Buttons (style & 7).
constexpr int vbOKOnly = 0;
constexpr int vbOKCancel = 1;
constexpr int vbAbortRetryIgnore = 2;
constexpr int vbYesNoCancel = 3;
constexpr int vbYesNo = 4;
constexpr int vbRetryCancel = 5;
// Icons (style & 112).
constexpr int vbCritical = 16;
constexpr int vbQuestion = 32;
constexpr int vbExclamation = 48;
constexpr int vbInformation = 64;
// Default button (style & 768) and the extra Help button.
constexpr int vbDefaultButton1 = 0;
constexpr int vbDefaultButton2 = 256;
constexpr int vbDefaultButton3 = 512;
constexpr int vbMsgBoxHelpButton = 16384;
// Answers.
constexpr int vbOK = 1;
constexpr int vbCancel = 2;
constexpr int vbAbort = 3;
constexpr int vbRetry = 4;
constexpr int vbIgnore = 5;
constexpr int vbYes = 6;
constexpr int vbNo = 7;

struct MessageBoxRequest {
    QString prompt;
    int style = 0;
    QString title;
    int helpContext = 0;
};

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
