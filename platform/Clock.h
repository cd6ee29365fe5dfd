#pragma once
// The one clock of the program. Tests replace it so that deadlines pass
// without sleeping.
#include <QDateTime>
#include <QtGlobal>

#include <functional>

namespace platform {

// Milliseconds since an arbitrary start; 64-bit, so it never wraps.
qint64 TickCount();
// Seconds since local midnight, with fractions.
double SecondsSinceMidnight();
// The local date and time: every stamp, file date and year window reads it.
QDateTime Now();

// A clock under the test's control. While one exists it is the clock.
class FakeClock {
public:
    explicit FakeClock(qint64 startTicks = 1000, double startSeconds = 36000.0);
    ~FakeClock();
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    void advance(qint64 ms);
    void setTicks(qint64 ticks) { ticks_ = ticks; }
    void setSecondsSinceMidnight(double s) { seconds_ = s; }
    void setNow(const QDateTime& now) { now_ = now; }
    qint64 ticks() const { return ticks_; }
    double seconds() const { return seconds_; }
    QDateTime now() const { return now_; }

private:
    qint64 ticks_;
    double seconds_;
    QDateTime now_;
    FakeClock* previous_;
};

}  // namespace platform
