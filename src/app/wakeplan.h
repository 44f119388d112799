#pragma once

// When the clock has to wake next. The tick stays 100 ms long, but most ticks
// cannot change anything on screen: the labels, the phase and the stars change
// on whole seconds only, and a visitor starts on a tick decided by chance. So
// the shell sleeps until the next whole second, until the tick that holds the
// visitor's hit, or, while a visitor flies, until the next tick.
//
// Standard C++ only, so that every shell can use it.

#include <cstdint>

namespace soramado {

class Random;

constexpr std::int32_t TickMs = 100;
constexpr std::int32_t TicksPerSecond = 1000 / TickMs;
// A tick starts a visitor with a chance of one in this many.
constexpr std::int32_t VisitorOneIn = 3000;

// The number of the 100 ms slot that a local moment falls in, counted over
// days, so that two moments tell how many ticks lie between them.
constexpr std::int64_t tickSlot(std::int64_t dayNumber, std::int32_t secondOfDay,
                                std::int32_t millisecond)
{
    return (dayNumber * 86400 + secondOfDay) * TicksPerSecond + millisecond / TickMs;
}

// The tick that holds the next hit, for one uniform draw u in [0, 1): 1 is the
// very next tick. Geometric with one chance in VisitorOneIn per tick, by
// inverse transform, so that the next tick holds the hit exactly when u would
// have hit the per-tick test (u × 3000 < 1).
std::int64_t ticksToHit(double u);

// The visitor's chance drawn once per hit instead of once per tick. Every tick
// is counted, run or slept through, also during a flight, where a hit is lost
// as it always was; each tick thus keeps its own independent chance.
class VisitorChance {
public:
    explicit VisitorChance(Random& random) : random_(random) {}

    // Takes the first draw.
    void start();
    bool started() const { return left_ > 0; }
    // The tick that holds the planned hit: 1 is the next tick.
    std::int64_t ticksLeft() const { return left_; }
    // A run tick that ends `ticks` ticks since the last one (at least 1): true
    // when the hit falls on it (or was slept past, as by a late wake); the
    // next hit is then drawn, counted from this tick.
    bool pass(std::int64_t ticks);

private:
    Random& random_;
    std::int64_t left_ = 0;
};

struct WakePlan {
    std::int32_t delayMs = 0; // from now to the wake, 1 .. 1000
    std::int32_t ticks = 0;   // the tick slots from now's slot to the wake's, 1 .. 10
};

// The next wake from a moment `millisecond` into its second. While a visitor
// runs or is asked for: the start of the next tick slot. Otherwise the next
// whole second, or the planned hit's tick when that comes first.
WakePlan planWake(std::int32_t millisecond, bool visitorActive, std::int64_t ticksToHit);

// Whether the clock moved under a sleep from `lastSlot` planned to end at
// `plannedSlot` more than a late wake explains: set back, set forward,
// resumed from a suspend or moved by a time-zone change.
bool clockJumped(std::int64_t lastSlot, std::int64_t nowSlot, std::int64_t plannedSlot);

// How many ticks a wake ends since the last tick: the slots the clock moved,
// unless the clock jumped; then the ticks that the sleep was planned for.
std::int64_t ticksSince(std::int64_t lastSlot, std::int64_t nowSlot, std::int64_t plannedSlot);

} // namespace soramado
