#pragma once
// The input box: a prompt, a title and one line of text to fill in. Tests
// answer it through a hook.
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QWidget;

namespace platform {

struct InputBoxRequest {
    QString prompt;
    QString title;
    QString defaultText;
};

// The text the user confirmed, or std::nullopt on Cancel. An empty title
// gives the application's name; CR LF and CR in the prompt break lines.
std::optional<QString> InputBox(const QString& prompt, const QString& title = QString(),
                                const QString& defaultText = QString(), QWidget* owner = nullptr);

using InputBoxHook = std::function<std::optional<QString>(const InputBoxRequest&)>;
InputBoxHook SetInputBoxHook(InputBoxHook hook);

}  // namespace platform
