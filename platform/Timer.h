#pragma once
// A component's timer. In the program it is a QTimer that calls the
// component's tick; in tests timers are inert and the test calls the tick.
#include <functional>
#include <memory>

class QTimer;

namespace platform {

class Timer {
public:
    explicit Timer(std::function<void()> onTick, int intervalMs = 0);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    void setInterval(int ms);
    int interval() const { return interval_; }
    void setEnabled(bool enabled);
    bool enabled() const { return enabled_; }

private:
    void apply();
    std::function<void()> onTick_;
    int interval_;
    bool enabled_ = false;
    std::unique_ptr<QTimer> timer_;
};

// Tests call this once: timers made afterwards never fire by themselves.
void SetTimersInert(bool inert);
bool TimersInert();

}  // namespace platform
