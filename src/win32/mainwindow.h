#pragma once

#include "app/clockapp.h"
#include "win32/fontchooser.h"
#include "win32/handles.h"
#include "win32/popupmenu.h"
#include "win32/registrystore.h"
#include "win32/screen.h"
#include "win32/startupreport.h"
#include "win32/topmost.h"
#include "win32/viewbitmap.h"
#include "win32/waketimer.h"

#include <windows.h>

#include <functional>
#include <span>
#include <string>

namespace soramado::win32 {

// The clock window: the view on top and, on a pink strip below it, the date,
// the weekday and the time. It shows what the core computes and hands each
// message to its handler.
class MainWindow {
public:
    static constexpr const wchar_t* ClassName = L"SoramadoMain";
    static constexpr DWORD Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    static constexpr DWORD ExStyle = WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE;

    // How the start-up report reaches the user; tests keep it from a real box.
    using ShowReport = std::function<void(HWND owner, const std::wstring& text)>;

    // settingsKey: below HKEY_CURRENT_USER; tests give their own.
    MainWindow(HINSTANCE instance, const Clock& clock, Random& random,
               std::wstring settingsKey = RegistrySettingsStore::defaultKey(),
               ShowReport showReport = showReportBox);
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;
    ~MainWindow();

    // Creates the window, runs the core's start-up, places and shows it.
    bool create(int showCommand);
    HWND handle() const { return window_; }
    // What the message after start-up tells; empty when every setting was usable.
    const std::wstring& startUpReport() const { return report_; }
    // How often the wake timer was set, for the tests: at rest it is never.
    int timerArms() const { return timer_.arms(); }

private:
    template <typename W> friend LRESULT CALLBACK routeToObject(HWND, UINT, WPARAM, LPARAM);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    void onPaint();
    void drawLabels(HDC dc) const;
    bool drawLabelsAtOnce(std::span<const RECT* const> places);
    void onEraseBackground(HDC dc);
    void onTimer();
    void onTimeChange();
    void scheduleWake();
    bool onKeyDown(WPARAM key);
    void onButtonDown(POINT at, UINT button);
    void onButtonUp(POINT at, UINT button);
    void onCommand(const MenuCommand& command);
    void onClose();
    void onEndSession(bool ending);
    void onDpiChanged(UINT dpi, const RECT& suggested);
    bool onGetDpiScaledSize(UINT dpi, SIZE& size) const;
    void onDestroy();
    void onStartUpReport();

    void layOut(UINT dpi);
    void createFonts();
    SIZE frameSize(UINT dpi) const;
    void fitClientArea();
    POINT designFramePlace() const;
    POINT startPlace() const;
    void commandDone();
    void showClockFont();
    void showFace();
    void showVersion();
    void saveOnce();

    HINSTANCE instance_;
    HWND window_ = nullptr;
    UINT dpi_ = 96;
    WindowsScreen screen_{96};
    RegistrySettingsStore store_;
    WindowTopmost topmost_;
    DialogFontChooser fonts_;
    ClockApp app_;
    WakeTimer timer_;

    ViewBitmap view_;
    Brush background_;
    Font labelFont_;
    Font timeFont_;
    std::string timeFace_;
    double timePoints_ = 0;
    RECT viewRect_{};
    RECT dateRect_{};
    RECT dayRect_{};
    RECT timeRect_{};
    ClockFace shown_;
    UINT pressed_ = 0; // the mouse button pressed on the view, until released
    ShowReport showReport_;
    std::wstring report_;
    bool reported_ = false;
};

} // namespace soramado::win32
