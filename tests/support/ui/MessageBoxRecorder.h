#pragma once
#include "platform/ui/MessageBox.h"

#include <deque>
#include <vector>

namespace platform {

// For tests: answers boxes from a queue (then with the default answer) and
// records what each box asked. Installs itself for its lifetime.
class MessageBoxRecorder {
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    // Queues the answer of the next box that is not yet answered.
    void answer(int reply) { answers_.push_back(reply); }
    const std::vector<MessageBoxRequest>& boxes() const { return boxes_; }
    size_t count() const { return boxes_.size(); }
    // The latest box; an empty request when there was none.
    MessageBoxRequest last() const { return boxes_.empty() ? MessageBoxRequest{} : boxes_.back(); }
    void clear() { boxes_.clear(); answers_.clear(); }

private:
    std::vector<MessageBoxRequest> boxes_;
    std::deque<int> answers_;
    MessageBoxHook previous_;
};

}  // namespace platform
