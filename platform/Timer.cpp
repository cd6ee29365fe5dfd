#include "platform/Timer.h"

#include "platform/Clock.h"

#include <QTimer>

#include <algorithm>
#include <vector>

namespace platform {
namespace {
bool g_inert = false;
quint64 g_nextSerial = 1;
// The inert timers alive now, so RunDueTimers can fire them.
std::vector<Timer*>& InertTimers()
{
    static std::vector<Timer*> timers;
    return timers;
}
}  // namespace

void SetTimersInert(bool inert) { g_inert = inert; }
bool TimersInert() { return g_inert; }

Timer::Timer(std::function<void()> onTick, int intervalMs) : onTick_(std::move(onTick)), interval_(intervalMs)
{
    if (!g_inert) {
        timer_ = std::make_unique<QTimer>();
        QObject::connect(timer_.get(), &QTimer::timeout, [this] {
            // An exception must never leave the event loop.
            try {
                onTick_();
            } catch (...) {
            }
        });
    } else {
        serial_ = g_nextSerial++;
        InertTimers().push_back(this);
    }
}

Timer::~Timer()
{
    if (serial_)
        std::erase(InertTimers(), this);
}

void Timer::setInterval(int ms)
{
    interval_ = ms;
    apply();
}

void Timer::setEnabled(bool enabled)
{
    enabled_ = enabled;
    apply();
}

void Timer::apply()
{
    if (!timer_) {
        due_ = TickCount() + interval_;
        return;
    }
    timer_->setInterval(interval_);
    if (enabled_ && interval_ > 0)
        timer_->start();
    else
        timer_->stop();
}


void RunDueTimers()
{
    const qint64 now = TickCount();
    std::vector<std::pair<qint64, quint64>> due;  // (due, serial)
    for (const Timer* t : InertTimers())
        if (t->enabled_ && t->interval_ > 0 && t->due_ <= now)
            due.emplace_back(t->due_, t->serial_);
    std::sort(due.begin(), due.end());
    for (const auto& entry : due) {
        const quint64 serial = entry.second;
        // A tick may have destroyed this timer, stopped it or started it again.
        const auto& live = InertTimers();
        const auto it = std::find_if(live.begin(), live.end(), [serial](const Timer* t) { return t->serial_ == serial; });
        if (it == live.end())
            continue;
        Timer& t = **it;
        if (!t.enabled_ || t.interval_ <= 0 || t.due_ > now)
            continue;
        t.due_ = now + t.interval_;
        try {
            t.onTick_();
        } catch (...) {
        }
    }
}

}  // namespace platform
