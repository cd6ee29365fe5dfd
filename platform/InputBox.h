#pragma once
// The input box: a prompt, a title and one line of text to fill in. Tests
// answer it through a hook.
#include <QString>

#include <deque>
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

// For tests: answers from a queue (Cancel when it is empty) and records the
// requests. Installs itself for its lifetime.
class InputBoxRecorder {
public:
    InputBoxRecorder();
    ~InputBoxRecorder();
    InputBoxRecorder(const InputBoxRecorder&) = delete;
    InputBoxRecorder& operator=(const InputBoxRecorder&) = delete;

    void answer(std::optional<QString> reply) { answers_.push_back(std::move(reply)); }
    std::vector<InputBoxRequest> requests;

private:
    std::deque<std::optional<QString>> answers_;
    InputBoxHook previous_;
};

}  // namespace platform
