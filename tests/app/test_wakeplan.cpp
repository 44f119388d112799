// The wake planner and the visitor's chance drawn once per hit.

#include "app/wakeplan.h"

#include "platform/random.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace soramado;
using soramado::fakes::ScriptedRandom;

namespace {

constexpr double P = 1.0 / VisitorOneIn;

struct PlanCase {
    std::int32_t millisecond;
    bool visitor;
    std::int64_t ticksToHit;
    std::int32_t delayMs;
    std::int32_t ticks;
};

TEST(WakePlan, IdleSleepsToTheSecondOrTheHitAndAFlightToTheNextTick)
{
    const std::vector<PlanCase> cases{
        // Idle, hit far away: the next whole second.
        {0, false, 5000, 1000, 10},
        {1, false, 5000, 999, 10},
        {250, false, 5000, 750, 8},
        {900, false, 5000, 100, 1},
        {999, false, 5000, 1, 1},
        // Idle, hit before the second: its tick, on the slot boundary.
        {250, false, 3, 250, 3},
        {0, false, 1, 100, 1},
        {999, false, 1, 1, 1},
        // The hit on the second itself.
        {250, false, 8, 750, 8},
        // A visitor running or asked for: the next tick, whatever the hit.
        {0, true, 5000, 100, 1},
        {250, true, 5000, 50, 1},
        {999, true, 1, 1, 1},
        // A chance not drawn yet does not hold the clock awake.
        {300, false, 0, 700, 7},
    };
    for (const PlanCase& c : cases) {
        const WakePlan plan = planWake(c.millisecond, c.visitor, c.ticksToHit);
        EXPECT_EQ(plan.delayMs, c.delayMs)
            << c.millisecond << " " << c.visitor << " " << c.ticksToHit;
        EXPECT_EQ(plan.ticks, c.ticks) << c.millisecond << " " << c.visitor << " " << c.ticksToHit;
    }
}

TEST(WakePlan, EveryIdleWakeLandsOnTheSecondAndNeverLaterThanTheHit)
{
    for (std::int32_t ms = 0; ms < 1000; ++ms) {
        for (std::int64_t hit : {1, 2, 5, 10, 11, 3000}) {
            const WakePlan plan = planWake(ms, false, hit);
            ASSERT_GE(plan.delayMs, 1);
            ASSERT_LE(plan.delayMs, 1000);
            const std::int32_t wake = ms + plan.delayMs;
            ASSERT_EQ(wake % TickMs, 0) << ms;
            // Never past the second, where the label changes.
            ASSERT_LE(wake, 1000) << ms;
            // The wake is the hit's tick, or the second comes first.
            ASSERT_TRUE(plan.ticks == hit || (wake == 1000 && plan.ticks < hit))
                << ms << " " << hit;
            ASSERT_EQ(tickSlot(0, 0, wake) - tickSlot(0, 0, ms), plan.ticks);
        }
    }
}

TEST(TicksToHit, TheNextTickHitsExactlyWhenThePerTickTestWould)
{
    const double edge = 1.0 / 3000;
    for (double u : {0.0, edge / 2, std::nextafter(edge, 0.0), edge, std::nextafter(edge, 1.0),
                     2 * edge, 0.5}) {
        const bool oldHit = std::floor(u * 3000) == 0;
        EXPECT_EQ(ticksToHit(u) == 1, oldHit) << u;
    }
}

TEST(TicksToHit, FollowsTheGeometricInverse)
{
    // u at the edge between k and k + 1 ticks: P(K > k) = (1 - p)^k.
    for (std::int64_t k : {1, 2, 10, 2999, 3000, 30000}) {
        const double edge = 1 - std::pow(1 - P, static_cast<double>(k));
        EXPECT_EQ(ticksToHit(edge * (1 - 1e-9)), k) << k;
        EXPECT_EQ(ticksToHit(edge * (1 + 1e-9)), k + 1) << k;
    }
    // The largest draw still gives a finite wait: ln(2^-53) / ln(1 - p).
    const std::int64_t longest = ticksToHit(std::nextafter(1.0, 0.0));
    EXPECT_GT(longest, 100000);
    EXPECT_LT(longest, 120000);
    EXPECT_EQ(ticksToHit(1.0), longest);
}

TEST(TicksToHit, MeanAndSpreadOfALongSeededRunMatchTheGeometric)
{
    // The mean of n geometric draws with p = 1/3000 has the standard error
    // sqrt(1 - p) / p / sqrt(n) = 2999.5 / sqrt(n), 6.7 ticks for n = 200000.
    // Five of those (34 ticks) leave a fault-free sampler failing less than
    // once in a million seeds; an off-by-one in p or a per-second count
    // instead of a per-tick one is hundreds of errors away.
    constexpr int n = 200000;
    SeededRandom random(16);
    std::vector<std::int64_t> waits(n);
    double sum = 0;
    for (auto& wait : waits) {
        wait = ticksToHit(random.next());
        ASSERT_GE(wait, 1);
        sum += static_cast<double>(wait);
    }
    const double mean = sum / n;
    const double tolerance = 5 * std::sqrt(1 - P) / P / std::sqrt(double(n));
    EXPECT_NEAR(mean, 3000, tolerance);

    // The shape, not only the mean: the share of waits up to k ticks against
    // 1 - (1 - p)^k, each within five binomial standard errors.
    for (std::int64_t k : {1, 30, 300, 3000, 9000}) {
        const double expected = 1 - std::pow(1 - P, static_cast<double>(k));
        int within = 0;
        for (std::int64_t wait : waits)
            within += wait <= k;
        const double share = double(within) / n;
        EXPECT_NEAR(share, expected, 5 * std::sqrt(expected * (1 - expected) / n) + 1e-6) << k;
    }
}

TEST(VisitorChance, CountsEveryTickRunOrSleptAndDrawsAgainOnTheHit)
{
    ScriptedRandom random;
    // 25 ticks, then 1, then 12 (edges from the geometric inverse).
    const auto drawFor = [](std::int64_t k) {
        return (1 - std::pow(1 - P, double(k - 1))) * (1 + 1e-9) + 1e-12;
    };
    random.queue(drawFor(25));
    random.queue(0.0);
    random.queue(drawFor(12));
    VisitorChance chance(random);
    EXPECT_FALSE(chance.started());
    chance.start();
    EXPECT_EQ(chance.ticksLeft(), 25);
    EXPECT_FALSE(chance.pass(10)); // slept to the second
    EXPECT_FALSE(chance.pass(10));
    EXPECT_EQ(chance.ticksLeft(), 5);
    EXPECT_FALSE(chance.pass(4));
    EXPECT_TRUE(chance.pass(1)); // the hit's own tick
    EXPECT_EQ(chance.ticksLeft(), 1);
    EXPECT_TRUE(chance.pass(1));
    EXPECT_EQ(chance.ticksLeft(), 12);
    // A wake that comes late still gets the hit it slept past.
    EXPECT_TRUE(chance.pass(20));
    EXPECT_EQ(random.draws(), 4);
}

TEST(TicksSince, CountsTheClocksSlotsUnlessTheClockJumped)
{
    struct Case {
        std::int64_t last, now, planned, expected;
    };
    const std::vector<Case> cases{
        {100, 110, 110, 10}, // slept to the second
        {100, 101, 101, 1},  // a flight's tick
        {100, 103, 110, 3},  // woken early for Shift+F9
        {100, 115, 110, 15}, // a late wake on a busy machine
        {100, 121, 110, 10}, // set forward or resumed from a suspend
        {100, 40, 110, 10},  // set back
        {100, 100, 110, 10}, // no slot moved
        {100, 100, 100, 1},  // never less than one tick
    };
    for (const Case& c : cases)
        EXPECT_EQ(ticksSince(c.last, c.now, c.planned), c.expected) << c.last << " " << c.now;
}

TEST(ClockJumped, ALateWakeOrAPlanMadeAtOnceIsNoJump)
{
    struct Case {
        const char* what;
        std::int64_t now;
        bool jumped;
    };
    // Last tick at slot 100, sleep planned to 110.
    const std::vector<Case> cases{
        {"planned again in the tick's own slot", 100, false},
        {"mid-sleep", 104, false},
        {"on time", 110, false},
        {"a second late", 120, false},
        {"more than a second late", 121, true},
        {"a slot back", 99, true},
        {"an hour back", 100 - 36000, true},
        {"an hour on", 100 + 36000, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(clockJumped(100, c.now, 110), c.jumped) << c.what;
}

} // namespace
