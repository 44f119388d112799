#include "win32/versionwindow.h"

#include "about/versionlayout.h"
#include "about/versiontext.h"
#include "win32/colour.h"
#include "win32/dpi.h"
#include "win32/labelfonts.h"
#include "win32/text.h"
#include "win32/windowproc.h"

namespace soramado::win32 {

namespace {

// The user's decimal separator, for a version text such as ver.1.04a2.5.
std::string decimalSeparator()
{
    wchar_t separator[8] = {};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) <= 1)
        return ".";
    return narrow(separator);
}

FontRequest requestOf(const versionlayout::Text& design)
{
    const std::wstring face = widen(design.face);
    const bool serif = face.find(L"Times") != std::wstring::npos;
    return FontRequest{
        pickFace(face, serif ? std::span(SerifFallbacks) : std::span(SansFallbacks), faceInstalled),
        design.points, true, design.italic};
}

} // namespace

POINT centredOver(const RECT& owner, SIZE frame)
{
    const LONG x = owner.left + ((owner.right - owner.left) - frame.cx) / 2;
    const LONG y = owner.top + ((owner.bottom - owner.top) - frame.cy) / 2;
    return POINT{x, y};
}

void VersionWindow::showModal(HINSTANCE instance, HWND owner, UINT dpi)
{
    VersionWindow window(instance, owner, dpi);
    if (window.create())
        window.runModal();
}

VersionWindow::VersionWindow(HINSTANCE instance, HWND owner, UINT dpi)
    : instance_(instance), owner_(owner), dpi_(dpi ? dpi : DesignDpi)
{}

bool VersionWindow::create()
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = routeToObject<VersionWindow>;
    windowClass.hInstance = instance_;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = ClassName;
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return false;

    versionText_ = versionText(programVersion(), decimalSeparator());
    background_ = Brush(CreateSolidBrush(colorRef(versionlayout::WindowColour)));
    versionBack_ = Brush(CreateSolidBrush(colorRef(versionlayout::VersionBack)));
    buttonFace_ = Brush(CreateSolidBrush(colorRef(versionlayout::ButtonFace)));
    nameFont_ = createFont(requestOf(versionlayout::Name), dpi_);
    versionFont_ = createFont(requestOf(versionlayout::Version), dpi_);
    credit1Font_ = createFont(requestOf(versionlayout::Program), dpi_);
    credit2Font_ = createFont(requestOf(versionlayout::Credit), dpi_);
    buttonFont_ = createFont(requestOf(versionlayout::OkButton), dpi_);

    RECT frame{0, 0, scaled(versionlayout::ClientSize.width, dpi_),
               scaled(versionlayout::ClientSize.height, dpi_)};
    AdjustWindowRectExForDpi(&frame, Style, FALSE, ExStyle, dpi_);
    const SIZE size{frame.right - frame.left, frame.bottom - frame.top};
    RECT ownerFrame{};
    GetWindowRect(owner_, &ownerFrame);
    const POINT place = centredOver(ownerFrame, size);
    return CreateWindowExW(ExStyle, ClassName, widen(versionlayout::Title).c_str(), Style, place.x,
                           place.y, size.cx, size.cy, owner_, nullptr, instance_, this) != nullptr;
}

void VersionWindow::runModal()
{
    EnableWindow(owner_, FALSE);
    ShowWindow(window_, SW_SHOWNORMAL);
    SetFocus(button_);
    MSG message{};
    while (!closed_) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            // The program is ending: leave the quit message to the main loop.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (got == -1)
            break;
        if (onKey(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (window_)
        onClose();
}

LRESULT VersionWindow::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        onCreate();
        return 0;
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(
            onControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_ERASEBKGND:
        onEraseBackground(reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_DRAWITEM:
        onDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK && HIWORD(wParam) == BN_CLICKED) {
            onClose();
            return 0;
        }
        break;
    case WM_CLOSE:
        onClose();
        return 0;
    case WM_DESTROY:
        onDestroy();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void VersionWindow::onCreate()
{
    const auto addText = [this](const versionlayout::Text& design, const std::string& text,
                                HFONT font, bool centred, std::uint32_t colour) {
        const RECT place = scaledRect(design.place, dpi_);
        const DWORD align = centred ? SS_CENTER : SS_LEFT;
        const HWND label = CreateWindowExW(
            0, L"STATIC", widen(text).c_str(), WS_CHILD | WS_VISIBLE | SS_NOPREFIX | align,
            place.left, place.top, place.right - place.left, place.bottom - place.top, window_,
            nullptr, instance_, nullptr);
        SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        // A static control leaves its user data alone: it carries the text's colour.
        SetWindowLongPtrW(label, GWLP_USERDATA, static_cast<LONG_PTR>(colorRef(colour)));
        return label;
    };
    using namespace versionlayout;
    addText(Name, Name.text, nameFont_.get(), false, NameColour);
    // Its colour is the system's text colour, set in onControlColour.
    version_ = addText(Version, versionText_, versionFont_.get(), true, 0);
    addText(Program, Program.text, credit1Font_.get(), false, CreditColour);
    addText(Credit, Credit.text, credit2Font_.get(), false, CreditColour);

    const RECT place = scaledRect(OkButton.place, dpi_);
    button_ =
        CreateWindowExW(0, L"BUTTON", widen(OkButton.text).c_str(),
                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, place.left, place.top,
                        place.right - place.left, place.bottom - place.top, window_,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(IDOK)), instance_, nullptr);
    SendMessageW(button_, WM_SETFONT, reinterpret_cast<WPARAM>(buttonFont_.get()), FALSE);
}

HBRUSH VersionWindow::onControlColour(HDC dc, HWND control)
{
    if (control == version_) {
        // Opaque light yellow, in the system's text colour.
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        SetBkColor(dc, colorRef(versionlayout::VersionBack));
        return versionBack_.get();
    }
    SetTextColor(dc, static_cast<COLORREF>(GetWindowLongPtrW(control, GWLP_USERDATA)));
    SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

void VersionWindow::onEraseBackground(HDC dc)
{
    RECT client{};
    GetClientRect(window_, &client);
    FillRect(dc, &client, background_.get());
}

void VersionWindow::onDrawItem(const DRAWITEMSTRUCT& item)
{
    // A graphical button: its own light-green face, pressed edge and focus frame.
    RECT face = item.rcItem;
    FillRect(item.hDC, &face, buttonFace_.get());
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    DrawEdge(item.hDC, &face, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(COLOR_BTNTEXT));
    const Selection selected(item.hDC, buttonFont_.get());
    const std::wstring caption = widen(versionlayout::OkButton.text);
    RECT text = face;
    if (pressed)
        OffsetRect(&text, 1, 1);
    DrawTextW(item.hDC, caption.c_str(), static_cast<int>(caption.size()), &text,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (item.itemState & ODS_FOCUS) {
        InflateRect(&face, -2, -2);
        DrawFocusRect(item.hDC, &face);
    }
}

bool VersionWindow::onKey(const MSG& message)
{
    if (message.message != WM_KEYDOWN || !window_ ||
        (message.hwnd != window_ && !IsChild(window_, message.hwnd)))
        return false;
    switch (message.wParam) {
    case VK_RETURN:
    case VK_SPACE:
    case VK_ESCAPE:
        onClose();
        return true;
    default:
        return false;
    }
}

void VersionWindow::onClose()
{
    closed_ = true;
    if (!window_)
        return;
    // The owner first, so that it, not another program, becomes active.
    EnableWindow(owner_, TRUE);
    DestroyWindow(window_);
}

void VersionWindow::onDestroy()
{
    closed_ = true;
    EnableWindow(owner_, TRUE);
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    window_ = nullptr;
    button_ = nullptr;
    version_ = nullptr;
}

} // namespace soramado::win32
