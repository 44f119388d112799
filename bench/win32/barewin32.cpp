// The lightest Win32 program that does what the clock's window does at rest:
// a fixed tool window of the clock's client size that wakes once a second
// (or every PERIOD_MS given as its argument) and paints a pink background.
// idle-windows.sh sets it beside soramado.exe.
#include <windows.h>

#include <cwchar>

namespace {

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int show)
{
    const long asked = std::wcstol(arguments, nullptr, 10);
    const UINT period = asked > 0 ? static_cast<UINT>(asked) : 1000;
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = CreateSolidBrush(RGB(255, 176, 216));
    windowClass.lpszClassName = L"BareWin32";
    RegisterClassW(&windowClass);
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    RECT frame{0, 0, 169, 172};
    AdjustWindowRectEx(&frame, style, FALSE, WS_EX_TOOLWINDOW);
    const HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, L"BareWin32", L"BareWin32", style, 400,
                                        128, frame.right - frame.left, frame.bottom - frame.top,
                                        nullptr, nullptr, instance, nullptr);
    SetTimer(window, 1, period, nullptr);
    ShowWindow(window, show);
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    return 0;
}
