#pragma once
// The recorders' queues of answers: the front one, or std::nullopt (cancel)
// when the queue is empty.
#include <deque>
#include <optional>
#include <utility>

namespace platform {

template <class T>
std::optional<T> NextAnswer(std::deque<std::optional<T>>& queue)
{
    if (queue.empty())
        return std::nullopt;
    // The value moves out on its own: moving the whole optional makes GCC's
    // optimiser warn that its string may be used uninitialised.
    std::optional<T> answer;
    if (queue.front().has_value())
        answer.emplace(std::move(*queue.front()));
    queue.pop_front();
    return answer;
}

}  // namespace platform
