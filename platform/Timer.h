#pragma once
// A component's timer. In the program it is a QTimer that calls the
// component's tick; in tests timers are inert and the test calls the tick.
#include <QtGlobal>

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
    friend void RunDueTimers();
    void apply();
    std::function<void()> onTick_;
    int interval_;
    bool enabled_ = false;
    std::unique_ptr<QTimer> timer_;
    // An inert timer's next firing on the replaceable clock.
    qint64 due_ = 0;
    quint64 serial_ = 0;
};

// Tests call this once: timers made afterwards never fire by themselves.
void SetTimersInert(bool inert);
bool TimersInert();

// For a test that runs the whole program on the replaceable clock: fires,
// once each and earliest first, every enabled inert timer whose interval has
// passed on TickCount since it was started or last fired. A timer made or
// destroyed by another's tick is seen at the next call.
void RunDueTimers();

}  // namespace platform
