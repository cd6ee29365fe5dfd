#include "platform/Clock.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QTime>

namespace platform {
namespace {
FakeClock* g_fake = nullptr;
}

qint64 TickCount()
{
    if (g_fake)
        return g_fake->ticks();
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return timer.elapsed();
}

double SecondsSinceMidnight()
{
    if (g_fake)
        return g_fake->seconds();
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

QDateTime Now()
{
    if (g_fake)
        return g_fake->now();
    return QDateTime::currentDateTime();
}

FakeClock::FakeClock(qint64 startTicks, double startSeconds)
    : ticks_(startTicks),
      seconds_(startSeconds),
      // A fixed day, so stamps read the same in every run.
      now_(QDate(2024, 5, 17), QTime(0, 0).addMSecs(qint64(startSeconds * 1000))),
      previous_(g_fake)
{
    g_fake = this;
}

FakeClock::~FakeClock() { g_fake = previous_; }

void FakeClock::advance(qint64 ms)
{
    ticks_ += ms;
    seconds_ += ms / 1000.0;
    now_ = now_.addMSecs(ms);
}

}  // namespace platform
