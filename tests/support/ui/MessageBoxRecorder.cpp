#include "support/ui/MessageBoxRecorder.h"

namespace platform {

MessageBoxRecorder::MessageBoxRecorder()
{
    previous_ = SetMessageBoxHook([this](const MessageBoxRequest& r) {
        boxes_.push_back(r);
        if (answers_.empty())
            return DefaultAnswer(r.style);
        const int a = answers_.front();
        answers_.pop_front();
        return a;
    });
}

MessageBoxRecorder::~MessageBoxRecorder() { SetMessageBoxHook(std::move(previous_)); }

}  // namespace platform
