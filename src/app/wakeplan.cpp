#include "app/wakeplan.h"

#include "platform/random.h"

#include <algorithm>
#include <cmath>

namespace soramado {

std::int64_t ticksToHit(double u)
{
    // The very next tick by the per-tick test itself, so that its chance is
    // exactly the old one, rounding included.
    if (u * VisitorOneIn < 1)
        return 1;
    // A draw is never 1; should a generator give one anyway, the largest
    // value below it stands in, instead of an infinite wait.
    u = std::min(u, std::nextafter(1.0, 0.0));
    // P(K > k) = (1 - p)^k: K - 1 = floor(ln(1 - u) / ln(1 - p)).
    const double p = 1.0 / VisitorOneIn;
    const double k = std::floor(std::log1p(-u) / std::log1p(-p)) + 1;
    return std::max<std::int64_t>(2, static_cast<std::int64_t>(k));
}

void VisitorChance::start()
{
    left_ = ticksToHit(random_.next());
}

bool VisitorChance::pass(std::int64_t ticks)
{
    if (!started())
        start();
    left_ -= std::max<std::int64_t>(1, ticks);
    if (left_ > 0)
        return false;
    start();
    return true;
}

WakePlan planWake(std::int32_t millisecond, bool visitorActive, std::int64_t ticksToHit)
{
    const std::int32_t ms = std::clamp<std::int32_t>(millisecond, 0, 999);
    std::int64_t ticks = 1;
    if (!visitorActive) {
        const std::int64_t toSecond = TicksPerSecond - ms / TickMs;
        ticks = ticksToHit > 0 ? std::min(toSecond, ticksToHit) : toSecond;
    }
    WakePlan plan;
    plan.ticks = static_cast<std::int32_t>(ticks);
    plan.delayMs = plan.ticks * TickMs - ms % TickMs;
    return plan;
}

bool clockJumped(std::int64_t lastSlot, std::int64_t nowSlot, std::int64_t plannedSlot)
{
    const std::int64_t planned = std::max<std::int64_t>(1, plannedSlot - lastSlot);
    const std::int64_t moved = nowSlot - lastSlot;
    // A wake may come late on a busy machine; a second more than planned is
    // still a wake, anything beyond is the clock moving under the sleep.
    return moved < 0 || moved > planned + TicksPerSecond;
}

std::int64_t ticksSince(std::int64_t lastSlot, std::int64_t nowSlot, std::int64_t plannedSlot)
{
    const std::int64_t moved = nowSlot - lastSlot;
    if (moved < 1 || clockJumped(lastSlot, nowSlot, plannedSlot))
        return std::max<std::int64_t>(1, plannedSlot - lastSlot);
    return moved;
}

} // namespace soramado
