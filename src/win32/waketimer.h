#pragma once

#include "app/wakeplan.h"

#include <windows.h>

namespace soramado::win32 {

// A wake this late into a second still counts as on time: a timer armed for a
// whole second then lands as far into the next one, well inside its first tick.
constexpr std::int32_t SteadyLateMs = TickMs / 2;

// The period to set a Win32 timer to for a plan. A Win32 timer repeats, so a
// wake at the next whole second from early in a second's first tick is a
// whole second; any other plan (a visitor's tick, a hit, a late wake) is its
// own delay, after which the following wake sets it again.
constexpr UINT periodFor(const WakePlan& plan)
{
    constexpr std::int32_t second = TickMs * TicksPerSecond;
    if (plan.ticks == TicksPerSecond && plan.delayMs > second - SteadyLateMs)
        return second;
    return static_cast<UINT>(plan.delayMs);
}

// The one timer that wakes the clock window. Setting a timer is a trip to the
// window server (under Wine a wait for wineserver), so a timer whose period
// already lands on the planned wake is left running: at rest it is set once
// and wakes the clock every second by itself.
class WakeTimer {
public:
    static constexpr UINT_PTR Id = 1;

    void start(HWND window, UINT firstMs);
    // On a wake of this timer: keeps it when its period lands on the plan.
    void follow(const WakePlan& plan);
    // On any other plan (a command, a key, a set of the clock): the running
    // timer's phase says nothing about the plan, so it is set anew.
    void restart(const WakePlan& plan);
    void stop();
    // How often the timer was set, for the tests.
    int arms() const { return arms_; }

private:
    void arm(UINT ms);

    HWND window_ = nullptr;
    UINT armedMs_ = 0;
    int arms_ = 0;
};

} // namespace soramado::win32
