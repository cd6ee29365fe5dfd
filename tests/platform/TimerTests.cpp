// Inert timers on the fake clock, as the end-to-end runs drive the program.
#include "platform/Clock.h"
#include "platform/Timer.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <memory>

using namespace platform;

TEST(Timer, DueInertTimersFireOnceEachEarliestFirst)
{
    FakeClock clock;
    QStringList fired;
    Timer fast([&] { fired << QStringLiteral("fast"); }, 50);
    Timer slow([&] { fired << QStringLiteral("slow"); }, 300);
    Timer stopped([&] { fired << QStringLiteral("stopped"); }, 10);
    Timer zero([&] { fired << QStringLiteral("zero"); }, 0);
    slow.setEnabled(true);
    clock.advance(20);
    fast.setEnabled(true);  // due at 70, slow at 300
    zero.setEnabled(true);

    const struct {
        qint64 advance;
        QStringList expected;
    } steps[] = {
        {40, {}},
        {10, {QStringLiteral("fast")}},
        // Late by far: each fires once, and counts its interval from now.
        {500, {QStringLiteral("fast"), QStringLiteral("slow")}},
        {49, {}},
        {1, {QStringLiteral("fast")}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.advance);
        fired.clear();
        clock.advance(step.advance);
        RunDueTimers();
        EXPECT_EQ(fired, step.expected);
    }
}

TEST(Timer, ATickMayStopOrDestroyAnotherTimer)
{
    FakeClock clock;
    int second = 0, third = 0;
    auto victim = std::make_unique<Timer>([&] { ++second; }, 100);
    Timer stopper([&] { victim.reset(); }, 50);
    Timer other([&] { ++third; }, 100);
    Timer pauser([&] { other.setEnabled(false); }, 60);
    for (Timer* t : {victim.get(), &stopper, &other, &pauser})
        t->setEnabled(true);
    clock.advance(100);
    RunDueTimers();
    EXPECT_EQ(victim, nullptr);
    EXPECT_EQ(second, 0);
    EXPECT_EQ(third, 0);
    // An exception in a tick stops neither the run nor the next timers.
    pauser.setEnabled(false);
    Timer thrower([] { throw 1; }, 10);
    thrower.setEnabled(true);
    other.setEnabled(true);
    clock.advance(100);
    EXPECT_NO_THROW(RunDueTimers());
    EXPECT_EQ(third, 1);
}
