#pragma once
// The BASIC runtime's message-box style numbers and answers, and what a box
// asks, for code that asks questions without showing a window itself.
#include <QString>

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

}  // namespace platform
