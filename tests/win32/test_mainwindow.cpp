// The clock window's message handlers, on a real (Wine) window with a clock
// that stands still and settings under a key of the test's own.
#include "platform/clock.h"
#include "support/fakes.h"
#include "win32/mainwindow.h"
#include "win32/registrystore.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

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
    void storeNumber(const wchar_t* key, DWORD value)
    {
        ASSERT_EQ(
            RegSetKeyValueW(HKEY_CURRENT_USER, key_.c_str(), key, REG_DWORD, &value, sizeof value),
            ERROR_SUCCESS);
    }

    HWND open(int show = SW_HIDE)
    {
        // A report is kept, never shown in a box that would wait for a click.
        window_ = std::make_unique<MainWindow>(
            GetModuleHandleW(nullptr), clock_, random_, key_,
            [this](HWND owner, const std::wstring& text) {
                reports_.push_back(Report{owner, text, IsWindowVisible(owner) != FALSE});
            });
        EXPECT_TRUE(window_->create(show));
        return window_->handle();
    }

    static void pump()
    {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
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

    struct Report {
        HWND owner;
        std::wstring text;
        bool ownerVisible;
    };
    std::vector<Report> reports_;
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

TEST_F(MainWindowTest, UnusableSettingsAreToldOnceInOneMessageOverTheShownWindow)
{
    store("Location", "x");
    store("Left", "3000");
    store("Top", "abc");
    storeNumber(L"AlwaysTop", 1);
    const HWND window = open(SW_SHOWNOACTIVATE);
    // Not from inside the start-up: the window must be up to own the box.
    EXPECT_TRUE(reports_.empty());
    pump();
    ASSERT_EQ(reports_.size(), 1u);
    EXPECT_EQ(reports_[0].owner, window);
    EXPECT_TRUE(reports_[0].ownerVisible);
    EXPECT_EQ(reports_[0].text, window_->startUpReport());
    for (const wchar_t* part : {L"Location の値 \"x\"", L"Top の値 \"abc\"", L"AlwaysTop"})
        EXPECT_NE(reports_[0].text.find(part), std::wstring::npos) << part;
    EXPECT_EQ(reports_[0].text.find(L"Left"), std::wstring::npos);
    // The clock runs on with the defaults: the design place, not topmost.
    EXPECT_EQ(client(window).left, 160);
    EXPECT_FALSE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    SendMessageW(window, WM_TIMER, 1, 0);
    pump();
    EXPECT_EQ(reports_.size(), 1u);
}

TEST_F(MainWindowTest, UsableSettingsGiveNoMessage)
{
    store("Location", "5");
    open(SW_SHOWNOACTIVATE);
    pump();
    EXPECT_TRUE(reports_.empty());
    EXPECT_TRUE(window_->startUpReport().empty());
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

// Runs the thread's queue dry; gives the number of quit messages met.
int runQueue()
{
    int quits = 0;
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            ++quits;
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return quits;
}

TEST_F(MainWindowTest, AStormOfEndsSavesThePlaceOnceAndEndsOnce)
{
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    const Message endSession{WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF};
    const Message closeApp{WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP};
    const Message cancelled{WM_ENDSESSION, FALSE, 0};
    const Message close{WM_CLOSE, 0, 0};
    const Message systemClose{WM_SYSCOMMAND, SC_CLOSE, 0};
    struct Case {
        const char* what;
        std::vector<Message> storm;
    };
    const std::vector<Case> cases{
        {"the session ends, again and again", {endSession}},
        {"the Restart Manager asks it to close", {closeApp, endSession}},
        {"close, end of session and Alt+F4 mixed", {close, endSession, systemClose}},
        {"close, again and again", {close}},
        {"cancelled ends, then close", {cancelled, cancelled, close}},
    };
    int left = 300;
    for (const Case& c : cases) {
        const HWND window = open();
        left += 20; // each run its own place, so that each save is told apart
        SetWindowPos(window, nullptr, left, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        for (int round = 0; round < 20; ++round) {
            for (const Message& m : c.storm)
                PostMessageW(window, m.message, m.wParam, m.lParam);
        }
        EXPECT_EQ(runQueue(), 1) << c.what;
        EXPECT_FALSE(IsWindow(window)) << c.what;
        EXPECT_EQ(window_->handle(), nullptr) << c.what;
        EXPECT_EQ(stored("Left"), std::to_string(left * 15)) << c.what;
        EXPECT_EQ(stored("Top"), "3000") << c.what;
        // Late words to the gone window change nothing.
        SendMessageW(window, WM_ENDSESSION, TRUE, 0);
        EXPECT_EQ(runQueue(), 0) << c.what;
        window_.reset();
    }
}

TEST_F(MainWindowTest, ATimeChangeTicksNowOnTheNewTime)
{
    struct Case {
        const char* what;
        LocalDateTime setTo;
        RECT dirty; // what must be painted anew, in client pixels
    };
    const RECT time{4, 140, 166, 169};
    const RECT dateAndTime{2, 124, 166, 169};
    const std::vector<Case> cases{
        {"forward in the day", fakes::at(2003, 5, 1, 15, 20, 0, 300), time},
        {"back in the day", fakes::at(2003, 5, 1, 9, 5, 7, 900), time},
        {"to another day", fakes::at(2004, 2, 29, 12, 0, 1), dateAndTime},
    };
    for (const Case& c : cases) {
        clock_.set(fakes::at(2003, 5, 1, 12, 0, 0));
        const HWND window = open();
        ShowWindow(window, SW_SHOWNOACTIVATE);
        UpdateWindow(window);
        clock_.set(c.setTo);
        SendMessageW(window, WM_TIMECHANGE, 0, 0);
        RECT dirty{};
        ASSERT_TRUE(GetUpdateRect(window, &dirty, FALSE)) << c.what;
        EXPECT_EQ(dirty.left, c.dirty.left) << c.what;
        EXPECT_EQ(dirty.top, c.dirty.top) << c.what;
        EXPECT_EQ(dirty.right, c.dirty.right) << c.what;
        EXPECT_EQ(dirty.bottom, c.dirty.bottom) << c.what;
        window_.reset();
    }
}

TEST_F(MainWindowTest, AtRestTheTimerIsSetOnceAndAgainOnlyWhenThePlanChanges)
{
    clock_.set(fakes::at(2003, 5, 1, 12, 0, 0));
    const HWND window = open();
    int arms = window_->timerArms(); // the first tick's
    const auto wakeAt = [&](std::int64_t afterMs) {
        clock_.advanceMs(afterMs);
        SendMessageW(window, WM_TIMER, WakeTimer::Id, 0);
        return window_->timerArms() - std::exchange(arms, window_->timerArms());
    };
    // The first tick comes mid-second: the rest of that second, then a whole
    // second from the wake at it.
    EXPECT_EQ(wakeAt(100), 1);
    EXPECT_EQ(wakeAt(902), 1);
    // Every later second wakes by itself, a few milliseconds late or not.
    const std::int64_t steady[] = {1000, 1007, 1020, 980, 1000, 1015, 990, 1000};
    for (int round = 0; round < 2; ++round) {
        for (const std::int64_t ms : steady)
            EXPECT_EQ(wakeAt(ms), 0) << "a wake " << ms << " ms after the last";
    }
    // A wake late past half a tick: the rest of the second, then whole seconds.
    EXPECT_EQ(wakeAt(1300), 1);
    EXPECT_EQ(wakeAt(700), 1);
    EXPECT_EQ(wakeAt(1000), 0);
    // A set of the clock: the running timer's phase was set against the old
    // time, so even a whole second's plan sets it anew.
    clock_.advanceMs(3600'000);
    SendMessageW(window, WM_TIMECHANGE, 0, 0);
    EXPECT_EQ(window_->timerArms() - std::exchange(arms, window_->timerArms()), 1);
    EXPECT_EQ(wakeAt(1000), 0);
    // Shift+F9: the visitor comes on the next tick.
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    const BYTE shift = keys[VK_SHIFT];
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    SendMessageW(window, WM_KEYDOWN, VK_F9, 0);
    keys[VK_SHIFT] = shift;
    SetKeyboardState(keys);
    EXPECT_EQ(window_->timerArms() - arms, 1);
}

} // namespace
} // namespace soramado::win32
