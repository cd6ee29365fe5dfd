#pragma once
#include "platform/ui/InputBox.h"

#include <deque>
#include <optional>
#include <vector>

namespace platform {

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
