#pragma once

#include <windows.h>

namespace soramado::win32 {

// Shift+F9 and nothing else: Ctrl+Shift+F9 and Alt+Shift+F9 do not count.
constexpr bool isVisitorKey(WPARAM key, bool shift, bool control, bool alt)
{
    return key == VK_F9 && shift && !control && !alt;
}

// The same for a WM_KEYDOWN now, from the keyboard's state.
inline bool isVisitorKeyDown(WPARAM key)
{
    return isVisitorKey(key, GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0,
                        GetKeyState(VK_MENU) < 0);
}

} // namespace soramado::win32
