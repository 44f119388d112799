#pragma once

#include <windows.h>

namespace soramado::win32 {

// The window procedure of a class whose windows are C++ objects: the object
// comes in CreateWindowExW's last argument, is kept in GWLP_USERDATA and gets
// every message through its handle(). A class befriends it to keep its
// window_ and handle() private.
template <typename W>
LRESULT CALLBACK routeToObject(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<W*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<W*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

} // namespace soramado::win32
