#include "win32/topmost.h"

namespace soramado::win32 {

void WindowTopmost::setTopmost(bool on)
{
    if (!window_)
        return;
    // The outcome is not looked at: a refusal leaves the check mark as chosen.
    SetWindowPos(window_, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

} // namespace soramado::win32
