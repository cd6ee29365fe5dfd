#include "platform/Timer.h"

#include <QTimer>

namespace platform {
namespace {
bool g_inert = false;
}

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
    }
}

Timer::~Timer() = default;

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
    if (!timer_)
        return;
    timer_->setInterval(interval_);
    if (enabled_ && interval_ > 0)
        timer_->start();
    else
        timer_->stop();
}

}  // namespace platform
