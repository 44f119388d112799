// The clock that sleeps: the core tells the shell when to wake, and every
// wake shows what a plain 100 ms tick would.

#include "app/clockcore.h"

#include "common/numbers.h"
#include "support/rig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

using namespace soramado;
using namespace soramado::fakes;

namespace {

// The draw that puts the hit on the k-th tick.
double drawFor(std::int64_t k)
{
    return (1 - std::pow(1 - 1.0 / VisitorOneIn, double(k - 1))) * (1 + 1e-9) + 1e-12;
}

// A core and the shell's loop: plan, sleep for the delay, tick.
struct Sleeper {
    SettableClock clock;
    ScriptedRandom random;
    ClockCore core{clock, random};

    explicit Sleeper(const LocalDateTime& start, double firstDraw = 0.5)
    {
        clock.set(start);
        random.queue(firstDraw);
        core.startUp(DefaultLocationIndex);
    }
    WakePlan wake()
    {
        const WakePlan plan = core.planWake();
        clock.advanceMs(plan.delayMs);
        core.tick();
        return plan;
    }
    std::string time() const
    {
        const LocalDateTime now = clock.now();
        char ms[8];
        std::snprintf(ms, sizeof ms, ".%03d", static_cast<int>(now.millisecond));
        return timeText(now.secondOfDay) + ms;
    }
};

TEST(Sleep, IdleWakesOnEveryWholeSecondWithTheNewTime)
{
    Sleeper s(at(2003, 5, 1, 12, 0, 0, 250));
    EXPECT_EQ(s.core.planWake().delayMs, 750);
    for (int second = 1; second <= 120; ++second) {
        s.wake();
        ASSERT_EQ(s.clock.now().millisecond, 0) << s.time();
        ASSERT_EQ(s.core.face().time, timeText(s.clock.now().secondOfDay));
    }
    EXPECT_EQ(s.time(), "12:02:00.000");
    // Two minutes, a wake a second, and the chance counted every tick slept.
    EXPECT_EQ(s.core.ticksRun(), 120u);
    EXPECT_EQ(s.core.ticksToHit(), ticksToHit(0.5) - 8 - 119 * 10);
}

TEST(Sleep, ShiftF9AndAFlightWakeEveryTickUntilTheVisitorIsGone)
{
    Sleeper s(at(2003, 5, 1, 22, 0, 0, 0)); // night: a shooting star, 5 steps
    s.wake();
    s.clock.advanceMs(430); // Shift+F9 in the middle of a sleep
    s.core.requestVisitor();
    EXPECT_EQ(s.core.planWake().delayMs, 70);
    s.wake();
    EXPECT_EQ(s.time(), "22:00:01.500");
    EXPECT_EQ(s.core.state().VisitorTicks, 1);
    for (int step = 2; step <= 5; ++step)
        EXPECT_EQ(s.wake().delayMs, 100) << step;
    EXPECT_FALSE(s.core.state().VisitorActive);
    EXPECT_EQ(s.core.view().image(), sceneImage(PhaseNight));
    // Back to sleeping to the second.
    EXPECT_EQ(s.wake().delayMs, 100);
    EXPECT_EQ(s.time(), "22:00:02.000");
    EXPECT_EQ(s.wake().delayMs, 1000);
}

TEST(Sleep, ACityChosenWakesTheNextTickNotTheNextSecond)
{
    Sleeper s(at(2003, 12, 20, 17, 20, 0, 0), 0.5);
    s.core.setLocationIndex(0); // 札幌: night
    s.wake();
    ASSERT_EQ(s.core.state().Phase, PhaseNight);
    s.clock.advanceMs(140);
    s.core.setLocationIndex(5); // 福岡: evening
    s.core.requestTick();
    EXPECT_EQ(s.core.planWake().delayMs, 60);
    s.wake();
    EXPECT_EQ(s.core.state().Phase, PhaseEvening);
    EXPECT_EQ(s.wake().delayMs, 800);
}

TEST(Sleep, APlannedHitIsHonouredOnItsTick)
{
    // The first draw puts the hit on the 25th tick after 12:00:00.000.
    Sleeper s(at(2003, 5, 1, 12, 0, 0, 0), drawFor(25));
    ASSERT_EQ(s.core.ticksToHit(), 25);
    EXPECT_EQ(s.wake().delayMs, 1000);
    EXPECT_EQ(s.wake().delayMs, 1000);
    EXPECT_FALSE(s.core.state().VisitorActive);
    EXPECT_EQ(s.wake().delayMs, 500);
    EXPECT_EQ(s.time(), "12:00:02.500");
    EXPECT_TRUE(s.core.state().VisitorActive);
    EXPECT_EQ(s.core.state().VisitorTicks, 1);
    EXPECT_EQ(s.core.view().image(), composed(sceneImage(PhaseDay), 3, 1));
    EXPECT_EQ(s.core.planWake().delayMs, 100);
}

TEST(Sleep, AWakeAfterAClockJumpShowsTheNewTimeAndCountsOnlyTheSleep)
{
    Sleeper s(at(2003, 5, 1, 12, 0, 0, 0), drawFor(3000));
    s.wake();
    const std::int64_t left = s.core.ticksToHit();

    // Set back an hour in the middle of a sleep.
    WakePlan plan = s.core.planWake();
    s.clock.advanceMs(plan.delayMs - 3600 * 1000);
    s.core.tick();
    EXPECT_EQ(s.core.face().time, "11:00:02");
    EXPECT_EQ(s.core.ticksToHit(), left - 10);
    EXPECT_EQ(s.core.planWake().delayMs, 1000);

    // Resumed from a suspend a day later: the new date at once, and no hit
    // taken for the hours nobody saw.
    plan = s.core.planWake();
    s.clock.advanceMs(plan.delayMs + 24 * 3600 * 1000 + 123);
    s.core.tick();
    EXPECT_EQ(s.core.face().date, "2003年5月2日");
    EXPECT_EQ(s.core.face().time, "11:00:03");
    EXPECT_EQ(s.core.ticksToHit(), left - 20);
    EXPECT_FALSE(s.core.state().VisitorActive);
    EXPECT_EQ(s.core.planWake().delayMs, 877);
}

TEST(Sleep, AWakePlannedAfterAnUnseenClockSetCountsOnlyItsOwnTicks)
{
    // The hit lies 3000 ticks on; only a count of the jump as ticks slept
    // would reach it. A city or Shift+F9 comes before the next wake, so the
    // plan is made on the clock already set.
    enum class Command { City, Visitor };
    struct Case {
        const char* name;
        std::int64_t jumpMs;
        Command command;
    };
    const Case cases[] = {
        {"forward 3 h, city", 3 * 3600 * 1000, Command::City},
        {"forward 5 days, city", 5 * 86400 * 1000LL, Command::City},
        {"back 3 h, city", -3 * 3600 * 1000, Command::City},
        {"forward 3 h, Shift+F9", 3 * 3600 * 1000, Command::Visitor},
        {"back 3 h, Shift+F9", -3 * 3600 * 1000, Command::Visitor},
    };
    for (const Case& c : cases) {
        Sleeper s(at(2003, 5, 1, 12, 0, 0, 0), drawFor(3000));
        s.wake();
        const std::int64_t left = s.core.ticksToHit();

        s.clock.advanceMs(300 + c.jumpMs);
        if (c.command == Command::City) {
            s.core.setLocationIndex(2);
            s.core.requestTick();
        } else {
            s.core.requestVisitor();
        }
        const WakePlan plan = s.core.planWake();
        s.clock.advanceMs(plan.delayMs);
        s.core.tick();

        const bool asked = c.command == Command::Visitor;
        EXPECT_EQ(s.core.state().VisitorActive, asked) << c.name;
        EXPECT_EQ(s.core.state().VisitorTicks, asked ? 1 : 0) << c.name;
        EXPECT_EQ(s.core.ticksToHit(), left - plan.ticks) << c.name;
        // And the sleep after it counts from the clock as it now stands.
        const WakePlan next = s.core.planWake();
        s.clock.advanceMs(next.delayMs);
        s.core.tick();
        EXPECT_EQ(s.core.ticksToHit(), left - plan.ticks - next.ticks) << c.name;
    }
}

} // namespace
