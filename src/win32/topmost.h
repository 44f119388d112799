#pragma once

#include "platform/topmost.h"

#include <windows.h>

namespace soramado::win32 {

// Asks Windows to keep the window above all normal windows, or not; place and
// size stay. The window may not exist yet when the object is made.
class WindowTopmost final : public TopmostRequest {
public:
    void setWindow(HWND window) { window_ = window; }
    void setTopmost(bool on) override;

private:
    HWND window_ = nullptr;
};

} // namespace soramado::win32
