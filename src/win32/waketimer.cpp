#include "win32/waketimer.h"

namespace soramado::win32 {

void WakeTimer::start(HWND window, UINT firstMs)
{
    window_ = window;
    arm(firstMs);
}

void WakeTimer::follow(const WakePlan& plan)
{
    const UINT period = periodFor(plan);
    if (period != armedMs_)
        arm(period);
}

void WakeTimer::restart(const WakePlan& plan)
{
    arm(periodFor(plan));
}

void WakeTimer::stop()
{
    if (window_)
        KillTimer(window_, Id);
    window_ = nullptr;
    armedMs_ = 0;
}

void WakeTimer::arm(UINT ms)
{
    // Without a window SetTimer would make a thread timer nobody stops.
    if (!window_)
        return;
    // Setting it again replaces the one that is waiting.
    SetTimer(window_, Id, ms, nullptr);
    armedMs_ = ms;
    ++arms_;
}

} // namespace soramado::win32
