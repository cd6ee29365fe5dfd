#include "support/ui/InputBoxRecorder.h"

namespace platform {

InputBoxRecorder::InputBoxRecorder()
{
    previous_ = SetInputBoxHook([this](const InputBoxRequest& r) -> std::optional<QString> {
        requests.push_back(r);
        if (answers_.empty())
            return std::nullopt;
        std::optional<QString> a = std::move(answers_.front());
        answers_.pop_front();
        return a;
    });
}

InputBoxRecorder::~InputBoxRecorder() { SetInputBoxHook(std::move(previous_)); }

}  // namespace platform
