// The clock window's message handlers, on a real (Wine) window with a clock
// that stands still and settings under a key of the test's own.
#include "platform/clock.h"
#include "support/fakes.h"
#include "win32/mainwindow.h"
#include "win32/registrystore.h"

#include <gtest/gtest.h>

#include <memory>

namespace soramado::win32 {
namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        parent_ = L"Software\\SoramadoWindowTest" + std::to_wstring(GetCurrentProcessId());
        key_ = parent_ + L"\\Setting";
        RegDeleteTreeW(HKEY_CURRENT_USER, parent_.c_str());
    }
    void TearDown() override
    {
        window_.reset();
        // The window's end posts WM_QUIT; it must not reach the next test.
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
        RegDeleteTreeW(HKEY_CURRENT_USER, parent_.c_str());
    }

    void store(const char* key, const char* text)
    {
        ASSERT_EQ(settings().WriteSetting(key, text), std::nullopt);
    }
    std::optional<std::string> stored(const char* key) { return settings().ReadSetting(key); }

    HWND open()
    {
        window_ = std::make_unique<MainWindow>(GetModuleHandleW(nullptr), clock_, random_, key_);
        EXPECT_TRUE(window_->create(SW_HIDE));
        return window_->handle();
    }

    static RECT frame(HWND window)
    {
        RECT r{};
        GetWindowRect(window, &r);
        return r;
    }
    static RECT client(HWND window)
    {
        RECT r{};
        GetClientRect(window, &r);
        POINT origin{0, 0};
        ClientToScreen(window, &origin);
        OffsetRect(&r, origin.x, origin.y);
        return r;
    }

    SettableClock clock_{fakes::at(2003, 5, 1, 12, 0, 0)};
    fakes::SpreadRandom random_;
    std::unique_ptr<MainWindow> window_;

private:
    RegistrySettingsStore settings() { return RegistrySettingsStore(HKEY_CURRENT_USER, key_); }

    std::wstring parent_;
    std::wstring key_;
};

TEST_F(MainWindowTest, FirstStartOpensAtTheDesignPlaceAsAFixedToolWindow)
{
    const HWND window = open();
    const RECT c = client(window);
    EXPECT_EQ(c.left, 160);
    EXPECT_EQ(c.top, 128);
    EXPECT_EQ(c.right - c.left, 169);
    EXPECT_EQ(c.bottom - c.top, 172);
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(exStyle & WS_EX_TOPMOST);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    // The start runs the always-on-top command once, which writes the flag.
    EXPECT_EQ(stored("AlwaysTop"), "False");
    EXPECT_EQ(stored("Left"), std::nullopt);
}

TEST_F(MainWindowTest, StoredTopmostFlagMakesTheWindowTopmost)
{
    store("AlwaysTop", "True");
    const HWND window = open();
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(stored("AlwaysTop"), "True");
}

TEST_F(MainWindowTest, ReachableStoredPlaceIsTakenAnUnreachableOneIsNot)
{
    store("Left", "3000");
    store("Top", "2250");
    HWND window = open();
    EXPECT_EQ(frame(window).left, 200);
    EXPECT_EQ(frame(window).top, 150);
    window_.reset();

    store("Left", "300000");
    store("Top", "300000");
    window = open();
    EXPECT_EQ(client(window).left, 160);
    EXPECT_EQ(client(window).top, 128);
}

TEST_F(MainWindowTest, PlaceIsSavedOnceAtTheEndOfTheSessionNotAgainAtClose)
{
    const HWND window = open();
    const RECT first = frame(window);
    SendMessageW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    SendMessageW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_EQ(stored("Left"), std::to_string(first.left * 15));
    EXPECT_EQ(stored("Top"), std::to_string(first.top * 15));

    SetWindowPos(window, nullptr, 400, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(stored("Left"), std::to_string(first.left * 15));
}

TEST_F(MainWindowTest, CancelledEndOfSessionSavesNothingAndCloseSavesTheFrame)
{
    const HWND window = open();
    SendMessageW(window, WM_ENDSESSION, FALSE, 0);
    EXPECT_EQ(stored("Left"), std::nullopt);
    SetWindowPos(window, nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(stored("Left"), "4500");
    EXPECT_EQ(stored("Top"), "3000");
}

TEST_F(MainWindowTest, DensityChangeScalesTheLayoutAtTheSuggestedPlace)
{
    const HWND window = open();
    RECT suggested{300, 200, 700, 600};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(frame(window).left, 300);
    EXPECT_EQ(frame(window).top, 200);
    const RECT c = client(window);
    EXPECT_EQ(c.right - c.left, 338);
    EXPECT_EQ(c.bottom - c.top, 344);

    SIZE size{};
    EXPECT_TRUE(SendMessageW(window, WM_GETDPISCALEDSIZE, 144, reinterpret_cast<LPARAM>(&size)));
    RECT at144{0, 0, 254, 258}; // 169 × 172 at 1.5, rounded
    AdjustWindowRectExForDpi(&at144, MainWindow::Style, FALSE, MainWindow::ExStyle, 144);
    EXPECT_EQ(size.cx, at144.right - at144.left);
    EXPECT_EQ(size.cy, at144.bottom - at144.top);
}

TEST_F(MainWindowTest, TicksRepaintOnlyWhatChanged)
{
    const HWND window = open();
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    RECT dirty{};
    // The clock stands still: a tick changes nothing on the face or the view.
    SendMessageW(window, WM_TIMER, 1, 0);
    EXPECT_FALSE(GetUpdateRect(window, &dirty, FALSE));
    // A second later only the time label (client 4, 140, 162 × 29) needs paint.
    clock_.advanceMs(1000);
    SendMessageW(window, WM_TIMER, 1, 0);
    ASSERT_TRUE(GetUpdateRect(window, &dirty, FALSE));
    EXPECT_EQ(dirty.left, 4);
    EXPECT_EQ(dirty.top, 140);
    EXPECT_EQ(dirty.right, 166);
    EXPECT_EQ(dirty.bottom, 169);
}

} // namespace
} // namespace soramado::win32
