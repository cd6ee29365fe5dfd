#include "support/ui/InputBoxRecorder.h"

#include "support/ui/AnswerQueue.h"

namespace platform {

InputBoxRecorder::InputBoxRecorder()
{
    previous_ = SetInputBoxHook([this](const InputBoxRequest& r) -> std::optional<QString> {
        requests.push_back(r);
        return NextAnswer(answers_);
    });
}

InputBoxRecorder::~InputBoxRecorder() { SetInputBoxHook(std::move(previous_)); }

}  // namespace platform
