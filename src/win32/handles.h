#pragma once

#include <windows.h>

#include <utility>

namespace soramado::win32 {

// Owns one handle and frees it with Free when it goes; moves, never copies.
template <typename Handle, auto Free> class Owned {
public:
    Owned() = default;
    explicit Owned(Handle handle) : handle_(handle) {}
    Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
    Owned& operator=(Owned&& other) noexcept
    {
        if (this != &other)
            reset(std::exchange(other.handle_, Handle{}));
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    ~Owned() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Handle{}; }
    void reset(Handle handle = Handle{})
    {
        if (handle_)
            Free(handle_);
        handle_ = handle;
    }
    Handle release() { return std::exchange(handle_, Handle{}); }

private:
    Handle handle_{};
};

inline void deleteFont(HFONT font)
{
    DeleteObject(font);
}
inline void deleteBrush(HBRUSH brush)
{
    DeleteObject(brush);
}
inline void deleteRegion(HRGN region)
{
    DeleteObject(region);
}
inline void destroyMenu(HMENU menu)
{
    DestroyMenu(menu);
}
inline void closeKey(HKEY key)
{
    RegCloseKey(key);
}
inline void destroyIcon(HICON icon)
{
    DestroyIcon(icon);
}
inline void destroyWindow(HWND window)
{
    DestroyWindow(window);
}

using Font = Owned<HFONT, deleteFont>;
using Region = Owned<HRGN, deleteRegion>;
using Brush = Owned<HBRUSH, deleteBrush>;
using Menu = Owned<HMENU, destroyMenu>;
using RegistryKey = Owned<HKEY, closeKey>;
using Icon = Owned<HICON, destroyIcon>;
using Window = Owned<HWND, destroyWindow>;

// BeginPaint and EndPaint around one WM_PAINT.
class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window) { dc_ = BeginPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    ~PaintScope() { EndPaint(window_, &paint_); }
    HDC dc() const { return dc_; }
    const RECT& dirty() const { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// Selects a GDI object into a device context and puts the old one back.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    ~Selection() { SelectObject(dc_, old_); }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A window's device context, or the screen's when no window is given,
// released when it goes.
class WindowDC {
public:
    explicit WindowDC(HWND window = nullptr) : window_(window), dc_(GetDC(window)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC()
    {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// The screen's, for measuring.
using ScreenDC = WindowDC;

} // namespace soramado::win32
