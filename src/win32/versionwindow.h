#pragma once

#include "win32/handles.h"

#include <string>

namespace soramado::win32 {

// The version window: made anew at each showing, modal over its owner (the
// owner is disabled while it is open, its timer keeps ticking), centred over
// it. OK has the focus; Enter, Space and Escape close it. Its texts are static
// controls, so that tools reading windows (screen readers, tests) find them.
class VersionWindow {
public:
    static constexpr const wchar_t* ClassName = L"SoramadoVersion";
    static constexpr DWORD Style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    static constexpr DWORD ExStyle = WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME;

    // Returns when the window has closed.
    static void showModal(HINSTANCE instance, HWND owner, UINT dpi);

    VersionWindow(const VersionWindow&) = delete;
    VersionWindow& operator=(const VersionWindow&) = delete;

private:
    VersionWindow(HINSTANCE instance, HWND owner, UINT dpi);
    bool create();
    void runModal();

    template <typename W> friend LRESULT CALLBACK routeToObject(HWND, UINT, WPARAM, LPARAM);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    void onCreate();
    HBRUSH onControlColour(HDC dc, HWND control);
    void onEraseBackground(HDC dc);
    void onDrawItem(const DRAWITEMSTRUCT& item);
    void onClose();
    void onDestroy();
    bool onKey(const MSG& message);

    HINSTANCE instance_;
    HWND owner_;
    UINT dpi_;
    HWND window_ = nullptr;
    HWND button_ = nullptr;
    HWND version_ = nullptr;
    bool closed_ = false;
    std::string versionText_;
    Brush background_;
    Brush versionBack_;
    Brush buttonFace_;
    Font nameFont_;
    Font versionFont_;
    Font credit1Font_;
    Font credit2Font_;
    Font buttonFont_;
};

// Where a window of this frame size sits centred over the owner's frame.
POINT centredOver(const RECT& owner, SIZE frame);

} // namespace soramado::win32
