#include "win32/mainwindow.h"

#include "app/layout.h"
#include "app/wakeplan.h"
#include "sky/viewsurface.h"
#include "win32/colour.h"
#include "win32/dpi.h"
#include "win32/keys.h"
#include "win32/labelfonts.h"
#include "win32/text.h"
#include "win32/versionwindow.h"
#include "win32/warning.h"
#include "win32/windowproc.h"

#include <windowsx.h>

#include <array>
#include <cstddef>

namespace soramado::win32 {

namespace {

// Posted once the window shows, so that the report's box has its owner on screen.
constexpr UINT StartUpReportMessage = WM_APP + 1;

void drawLabel(HDC dc, const std::string& text, const RECT& place, HFONT font, UINT align,
               std::uint32_t colour)
{
    const Selection selected(dc, font);
    SetTextColor(dc, colorRef(colour));
    RECT box = place;
    const std::wstring wide = widen(text);
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &box,
              align | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
}

} // namespace

MainWindow::MainWindow(HINSTANCE instance, const Clock& clock, Random& random,
                       std::wstring settingsKey, ShowReport showReport)
    : instance_(instance), store_(HKEY_CURRENT_USER, std::move(settingsKey)), fonts_(warn),
      app_(ClockApp::Seams{clock, random, store_, topmost_, fonts_, screen_, warn}),
      showReport_(std::move(showReport))
{}

MainWindow::~MainWindow()
{
    if (window_)
        DestroyWindow(window_);
}

bool MainWindow::create(int showCommand)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = routeToObject<MainWindow>;
    windowClass.hInstance = instance_;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hIcon = static_cast<HICON>(
        LoadImageW(instance_, L"IDI_ICON1", IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance_, L"IDI_ICON1", IMAGE_ICON,
                                                        GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    windowClass.lpszClassName = ClassName;
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return false;

    background_ = Brush(CreateSolidBrush(colorRef(layout::WindowColour)));
    layOut(GetDpiForSystem());
    const SIZE size = frameSize(dpi_);
    const POINT place = designFramePlace();
    // Hidden until start-up has set the fonts and the place.
    if (!CreateWindowExW(ExStyle, ClassName, L"Soramado", Style, place.x, place.y, size.cx, size.cy,
                         nullptr, nullptr, instance_, this))
        return false;
    // The monitor it landed on decides the density.
    if (const UINT dpi = GetDpiForWindow(window_); dpi != 0 && dpi != dpi_)
        layOut(dpi);

    topmost_.setWindow(window_);
    fonts_.setOwner(window_);
    app_.startUp();
    createFonts();
    const POINT start = startPlace();
    const SIZE frame = frameSize(dpi_);
    SetWindowPos(window_, nullptr, start.x, start.y, frame.cx, frame.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    fitClientArea();
    showFace();
    // The first tick 100 ms after creation; from then on the core says when.
    timer_.start(window_, TickMs);
    ShowWindow(window_, showCommand);
    UpdateWindow(window_);
    // A user who started the clock from Explorer sees no stderr.
    report_ = win32::startUpReport(app_.unusableSettings(), store_.unreadable(), store_.location());
    if (!report_.empty())
        PostMessageW(window_, StartUpReportMessage, 0, 0);
    return true;
}

LRESULT MainWindow::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        onPaint();
        return 0;
    case WM_ERASEBKGND:
        onEraseBackground(reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_TIMER:
        if (wParam == WakeTimer::Id)
            onTimer();
        return 0;
    case WM_TIMECHANGE:
        onTimeChange();
        return 0;
    case WM_KEYDOWN:
        if (onKeyDown(wParam))
            return 0;
        break;
    case WM_LBUTTONDOWN:
        onButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, MK_LBUTTON);
        return 0;
    case WM_RBUTTONDOWN:
        onButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, MK_RBUTTON);
        return 0;
    case WM_LBUTTONUP:
        onButtonUp(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, MK_LBUTTON);
        return 0;
    case WM_RBUTTONUP:
        onButtonUp(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, MK_RBUTTON);
        return 0;
    case WM_CAPTURECHANGED:
        pressed_ = 0;
        return 0;
    case WM_CLOSE:
        onClose();
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        onEndSession(wParam != FALSE);
        return 0;
    case WM_DPICHANGED:
        onDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_GETDPISCALEDSIZE:
        return onGetDpiScaledSize(static_cast<UINT>(wParam), *reinterpret_cast<SIZE*>(lParam));
    case WM_DESTROY:
        onDestroy();
        return 0;
    case StartUpReportMessage:
        onStartUpReport();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void MainWindow::onPaint()
{
    const PaintScope paint(window_);
    ViewBitmap::paint(paint.dc(), app_.view(), viewRect_, scalesExactly(dpi_));
    drawLabels(paint.dc());
}

// WM_PAINT and a tick that changed only labels both draw them here, each as
// far as the clip of the device context reaches.
void MainWindow::drawLabels(HDC dc) const
{
    SetBkMode(dc, TRANSPARENT);
    const ClockFace& face = app_.face();
    drawLabel(dc, face.date, dateRect_, labelFont_.get(), DT_LEFT, layout::DateColour);
    drawLabel(dc, face.weekday, dayRect_, labelFont_.get(), DT_CENTER, face.weekdayColour);
    drawLabel(dc, face.time, timeRect_, timeFont_.get(), DT_CENTER, layout::TimeColour);
}

void MainWindow::onEraseBackground(HDC dc)
{
    RECT client{};
    GetClientRect(window_, &client);
    FillRect(dc, &client, background_.get());
}

// Sleeps until the next tick that can change what is shown.
void MainWindow::onTimer()
{
    app_.tick();
    showFace();
    timer_.follow(app_.planWake());
}

void MainWindow::onTimeChange()
{
    // The system time was set: the wake was planned on the old one, so the
    // tick runs now and plans it anew.
    app_.tick();
    showFace();
    scheduleWake();
}

void MainWindow::scheduleWake()
{
    timer_.restart(app_.planWake());
}

bool MainWindow::onKeyDown(WPARAM key)
{
    if (!isVisitorKeyDown(key))
        return false;
    // The visitor comes on the next tick, not at the next second.
    app_.requestVisitor();
    commandDone();
    return true;
}

void MainWindow::onButtonDown(POINT at, UINT button)
{
    if (!PtInRect(&viewRect_, at))
        return;
    pressed_ = button;
    SetCapture(window_);
}

void MainWindow::onButtonUp(POINT at, UINT button)
{
    const bool click = pressed_ == button && PtInRect(&viewRect_, at);
    pressed_ = 0;
    if (GetCapture() == window_)
        ReleaseCapture();
    if (!click)
        return;
    POINT screenAt{};
    GetCursorPos(&screenAt);
    const Menu menu = buildPopupMenu(app_.locationIndex(), app_.alwaysOnTop());
    if (const std::optional<MenuCommand> command = trackPopupMenu(window_, menu.get(), screenAt))
        onCommand(*command);
}

void MainWindow::onCommand(const MenuCommand& command)
{
    using Kind = MenuCommand::Kind;
    switch (command.kind) {
    case Kind::Font:
        app_.fontCommand();
        break;
    case Kind::City:
        app_.locationCommand(command.city);
        break;
    case Kind::Front:
        app_.alwaysOnTopCommand();
        break;
    case Kind::Version:
        showVersion();
        break;
    case Kind::Quit:
        onClose();
        break;
    }
    commandDone();
}

// Where every command ends: the window brought up to date and the next wake
// planned again, since a command may want its tick sooner (a city, Shift+F9).
// The menu needs nothing: it is built from the state each time it opens.
void MainWindow::commandDone()
{
    if (!window_) // the quit command destroyed it
        return;
    showClockFont();
    showFace();
    scheduleWake();
}

void MainWindow::showClockFont()
{
    if (app_.clockFontFace() == timeFace_ && app_.clockFontPoints() == timePoints_)
        return;
    createFonts();
    InvalidateRect(window_, &timeRect_, TRUE);
}

void MainWindow::onClose()
{
    saveOnce();
    DestroyWindow(window_);
}

void MainWindow::onEndSession(bool ending)
{
    // Windows may end the process right after this message: save now, and
    // end as the close box does, for a session end that leaves the process
    // running (the Restart Manager's, Wine's) must not leave a clock whose
    // later moves are no longer saved.
    if (ending)
        onClose();
}

void MainWindow::onDpiChanged(UINT dpi, const RECT& suggested)
{
    layOut(dpi);
    createFonts();
    const SIZE size = frameSize(dpi);
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    fitClientArea();
    view_.forget();
    InvalidateRect(window_, nullptr, TRUE);
}

bool MainWindow::onGetDpiScaledSize(UINT dpi, SIZE& size) const
{
    size = frameSize(dpi);
    return true;
}

void MainWindow::onDestroy()
{
    timer_.stop();
    topmost_.setWindow(nullptr);
    fonts_.setOwner(nullptr);
    window_ = nullptr;
    PostQuitMessage(0);
}

void MainWindow::onStartUpReport()
{
    if (reported_ || report_.empty() || !showReport_)
        return;
    reported_ = true;
    showReport_(window_, report_);
}

void MainWindow::layOut(UINT dpi)
{
    dpi_ = dpi ? dpi : DesignDpi;
    screen_.setDpi(dpi_);
    viewRect_ = scaledRect(PixelRect{layout::ViewPlace.x, layout::ViewPlace.y, ViewSurface::Width,
                                     ViewSurface::Height},
                           dpi_);
    dateRect_ = scaledRect(layout::DateLabel, dpi_);
    dayRect_ = scaledRect(layout::WeekdayLabel, dpi_);
    timeRect_ = scaledRect(layout::TimeLabel, dpi_);
}

void MainWindow::createFonts()
{
    const std::wstring labelFace =
        pickFace(widen(layout::LabelFontFace), LabelFaceFallbacks, faceInstalled);
    labelFont_ = createFont(FontRequest{labelFace, layout::LabelPoints, true, false}, dpi_);
    timeFace_ = app_.clockFontFace();
    timePoints_ = app_.clockFontPoints();
    const std::wstring clockFace = clockFaceDrawn(widen(timeFace_));
    timeFont_ = createFont(FontRequest{clockFace, timePoints_, true, false}, dpi_);
}

SIZE MainWindow::frameSize(UINT dpi) const
{
    RECT frame{0, 0, scaled(layout::ClientSize.width, dpi), scaled(layout::ClientSize.height, dpi)};
    AdjustWindowRectExForDpi(&frame, Style, FALSE, ExStyle, dpi);
    return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

void MainWindow::fitClientArea()
{
    // The frame the system really draws may differ from the one computed for
    // the density (Wine keeps the frame at the system's density), and the
    // client area is what must have the designed size.
    RECT frame{};
    RECT client{};
    GetWindowRect(window_, &frame);
    GetClientRect(window_, &client);
    const int width = scaled(layout::ClientSize.width, dpi_);
    const int height = scaled(layout::ClientSize.height, dpi_);
    if (client.right == width && client.bottom == height)
        return;
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left + width - client.right,
                 frame.bottom - frame.top + height - client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

POINT MainWindow::designFramePlace() const
{
    // The design place is the client area's; the frame lies around it.
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectExForDpi(&frame, Style, FALSE, ExStyle, dpi_);
    return POINT{scaled(layout::DesignPlace.x, dpi_) + frame.left,
                 scaled(layout::DesignPlace.y, dpi_) + frame.top};
}

POINT MainWindow::startPlace() const
{
    const SIZE size = frameSize(dpi_);
    RECT around{0, 0, 0, 0};
    AdjustWindowRectExForDpi(&around, Style, FALSE, ExStyle, dpi_);
    // The program decides whether the stored place can still be reached on
    // the monitors' work areas (a monitor unplugged since the last run).
    if (const std::optional<PixelPoint> usable = app_.reachableFramePosition(
            PixelSize{size.cx, size.cy}, PixelPoint{-around.left, -around.top}))
        return POINT{usable->x, usable->y};
    return designFramePlace();
}

void MainWindow::showFace()
{
    const ClockFace& face = app_.face();
    std::array<const RECT*, 3> changed{};
    std::size_t count = 0;
    if (face.date != shown_.date)
        changed[count++] = &dateRect_;
    if (face.weekday != shown_.weekday || face.weekdayColour != shown_.weekdayColour)
        changed[count++] = &dayRect_;
    if (face.time != shown_.time)
        changed[count++] = &timeRect_;
    shown_ = face;
    const std::span<const RECT* const> labels(changed.data(), count);
    // A new picture goes through WM_PAINT, and the labels with it in one paint.
    const bool viewChanged = view_.takeRevision(app_.viewRevision());
    if (viewChanged || !drawLabelsAtOnce(labels)) {
        for (const RECT* place : labels)
            InvalidateRect(window_, place, TRUE);
    }
    if (viewChanged)
        InvalidateRect(window_, &viewRect_, FALSE);
}

// Spares the second's repaint the round trips of WM_PAINT (under Wine six
// requests to its server, each a wait). The window's pink fills the labels
// first, as WM_ERASEBKGND does before WM_PAINT; what another window covers
// now comes through WM_PAINT when it is uncovered. False when the window
// shows nothing now.
bool MainWindow::drawLabelsAtOnce(std::span<const RECT* const> places)
{
    if (places.empty())
        return true;
    if (!IsWindowVisible(window_) || IsIconic(window_))
        return false;
    const WindowDC dc(window_);
    if (!dc.get())
        return false;
    const Region clip(CreateRectRgn(0, 0, 0, 0));
    for (const RECT* place : places) {
        const Region label(CreateRectRgnIndirect(place));
        CombineRgn(clip.get(), clip.get(), label.get(), RGN_OR);
    }
    const int saved = SaveDC(dc.get());
    SelectClipRgn(dc.get(), clip.get());
    onEraseBackground(dc.get());
    drawLabels(dc.get());
    RestoreDC(dc.get(), saved);
    return true;
}

void MainWindow::showVersion()
{
    VersionWindow::showModal(instance_, window_, dpi_);
}

// The program writes the position once per run, however many ways the window closes.
void MainWindow::saveOnce()
{
    if (!window_)
        return;
    RECT frame{};
    GetWindowRect(window_, &frame);
    app_.unload(PixelPoint{frame.left, frame.top});
}

} // namespace soramado::win32
