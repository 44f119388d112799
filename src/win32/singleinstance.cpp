#include "win32/singleinstance.h"

#include "win32/mainwindow.h"

#include <utility>

namespace soramado::win32 {

namespace {

// "Local\": the session's own namespace, so each signed-in user has a clock.
constexpr const wchar_t* MutexName = L"Local\\Soramado.Clock";

} // namespace

SingleInstance SingleInstance::claim()
{
    const HANDLE mutex = CreateMutexW(nullptr, FALSE, MutexName);
    const DWORD error = GetLastError();
    if (mutex && error != ERROR_ALREADY_EXISTS)
        return {mutex, true};
    if (!mutex && error != ERROR_ACCESS_DENIED) {
        // No mutex to be had: better a second clock than none.
        return {nullptr, true};
    }
    bringForwardRunningClock();
    return {mutex, false};
}

SingleInstance::SingleInstance(SingleInstance&& other) noexcept
    : mutex_(std::exchange(other.mutex_, nullptr)), claimed_(other.claimed_)
{}

SingleInstance::~SingleInstance()
{
    if (mutex_)
        CloseHandle(mutex_);
}

void bringForwardRunningClock()
{
    // A clock that has just started may not have its window yet.
    HWND window = nullptr;
    for (int tries = 0; tries < 50; ++tries) {
        window = FindWindowW(MainWindow::ClassName, nullptr);
        if (window)
            break;
        Sleep(100);
    }
    if (!window)
        return;
    // This start came from the user, so it may hand the foreground on.
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    AllowSetForegroundWindow(process);
    ShowWindowAsync(window, IsIconic(window) ? SW_RESTORE : SW_SHOWNA);
    const HWND front = GetLastActivePopup(window);
    SetWindowPos(front, HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
    SetForegroundWindow(front);
}

} // namespace soramado::win32
