// Prints what a person cannot see of a top-level window: its styles, its
// topmost flag, whether it is raised and in the foreground, its frame and
// client rectangles, its owner, its child controls' texts (a rich edit's
// too) and ids, and of each combo box its length, how many of its items are
// vertical ("@") font faces and the selected item. Finds the window by title
// (and class, if given) with FindWindowW; a title of "-" matches any title
// (popup menus have none).
//   probe.exe TITLE [CLASS]
//   probe.exe --count CLASS      how many visible top-level windows of a class
//                                (open popup menus are "#32768")
//   probe.exe --version FILE     the version information and icon of a program file
// Output: key=value lines; exit status 2 when no such window exists.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

std::wstring fromUtf8(const char* text)
{
    const int needed = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, out.data(), needed);
    out.resize(static_cast<std::size_t>(needed > 0 ? needed - 1 : 0));
    return out;
}

std::string toUtf8(const wchar_t* text)
{
    const int needed = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), needed, nullptr, nullptr);
    out.resize(static_cast<std::size_t>(needed > 0 ? needed - 1 : 0));
    return out;
}

BOOL CALLBACK printChild(HWND child, LPARAM)
{
    wchar_t name[64] = {};
    GetClassNameW(child, name, 63);
    // A message box's text runs to several lines: one output line, "\n" between.
    std::wstring text(4096, L'\0');
    auto length = GetWindowTextW(child, text.data(), 4096);
    // A rich edit keeps its text to itself; GetWindowTextW of another
    // process's control reads only the window's own caption.
    if (length == 0) {
        DWORD_PTR copied = 0;
        if (SendMessageTimeoutW(child, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text.data()),
                                SMTO_ABORTIFHUNG, 1000, &copied) != 0)
            length = static_cast<int>(copied);
    }
    text.resize(static_cast<std::size_t>(length));
    std::wstring oneLine;
    for (const wchar_t c : text) {
        if (c == L'\n')
            oneLine += L"\\n";
        else if (c != L'\r')
            oneLine += c;
    }
    RECT r{};
    GetWindowRect(child, &r);
    std::printf("child=%s|%s|%ld %ld %ld %ld|id=%d|focus=%d\n", toUtf8(name).c_str(),
                toUtf8(oneLine.c_str()).c_str(), r.left, r.top, r.right - r.left, r.bottom - r.top,
                GetDlgCtrlID(child), GetFocus() == child ? 1 : 0);
    // A list's length and how many of its items are vertical ("@") font faces.
    if (std::wstring(name) == L"ComboBox") {
        const auto count = static_cast<int>(SendMessageW(child, CB_GETCOUNT, 0, 0));
        int vertical = 0;
        for (int i = 0; i < count; ++i) {
            std::wstring item(
                static_cast<std::size_t>(SendMessageW(child, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
            SendMessageW(child, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
            vertical += item[0] == L'@' ? 1 : 0;
        }
        const auto selected = static_cast<int>(SendMessageW(child, CB_GETCURSEL, 0, 0));
        std::wstring chosen;
        if (selected >= 0) {
            chosen.assign(
                static_cast<std::size_t>(SendMessageW(child, CB_GETLBTEXTLEN, selected, 0)) + 1,
                L'\0');
            SendMessageW(child, CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(chosen.data()));
        }
        std::printf("items=%d|%d|%d|%s\n", GetDlgCtrlID(child), count, vertical,
                    toUtf8(chosen.c_str()).c_str());
    }
    return TRUE;
}

struct Count {
    std::wstring className;
    int visible = 0;
};

BOOL CALLBACK countVisible(HWND window, LPARAM data)
{
    auto* count = reinterpret_cast<Count*>(data);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 63);
    if (count->className == name && IsWindowVisible(window))
        ++count->visible;
    return TRUE;
}

void printRect(const char* key, const RECT& r)
{
    std::printf("%s=%ld %ld %ld %ld\n", key, r.left, r.top, r.right - r.left, r.bottom - r.top);
}

} // namespace

int main()
{
    // The narrow argv would come in the ANSI code page and lose Japanese titles.
    int argc = 0;
    wchar_t** wargv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i)
        args.push_back(toUtf8(wargv[i]));
    LocalFree(wargv);
    std::vector<const char*> pointers;
    for (const std::string& arg : args)
        pointers.push_back(arg.c_str());
    const char* const* argv = pointers.data();
    if (argc < 2) {
        std::fprintf(stderr, "usage: probe TITLE [CLASS]\n");
        return 1;
    }
    if (std::string(argv[1]) == "--count" && argc > 2) {
        Count count{fromUtf8(argv[2])};
        EnumWindows(countVisible, reinterpret_cast<LPARAM>(&count));
        std::printf("visible=%d\n", count.visible);
        return 0;
    }
    if (std::string(argv[1]) == "--version" && argc > 2) {
        const std::wstring file = fromUtf8(argv[2]);
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
        std::vector<BYTE> info(size);
        if (size == 0 || !GetFileVersionInfoW(file.c_str(), 0, size, info.data()))
            return 2;
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        if (VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length))
            std::printf("fixed=%u.%u.%u.%u\n", HIWORD(fixed->dwFileVersionMS),
                        LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
                        LOWORD(fixed->dwFileVersionLS));
        // The icon the window class takes, by the name the resource script gives it.
        const HMODULE module = LoadLibraryExW(
            file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        const HANDLE icon =
            module ? LoadImageW(module, L"IDI_ICON1", IMAGE_ICON, 48, 48, 0) : nullptr;
        std::printf("icon48=%d\n", icon ? 1 : 0);
        if (icon)
            DestroyIcon(static_cast<HICON>(icon));
        if (module)
            FreeLibrary(module);
        for (const wchar_t* name : {L"FileVersion", L"ProductName", L"OriginalFilename"}) {
            const std::wstring path = std::wstring(L"\\StringFileInfo\\041104b0\\") + name;
            wchar_t* text = nullptr;
            if (VerQueryValueW(info.data(), path.c_str(), reinterpret_cast<void**>(&text), &length))
                std::printf("%s=%s\n", toUtf8(name).c_str(), toUtf8(text).c_str());
        }
        return 0;
    }
    const std::wstring title = fromUtf8(argv[1]);
    const std::wstring className = argc > 2 ? fromUtf8(argv[2]) : std::wstring();
    const HWND window = FindWindowW(className.empty() ? nullptr : className.c_str(),
                                    title == L"-" ? nullptr : title.c_str());
    if (!window) {
        std::printf("found=0\n");
        return 2;
    }
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    wchar_t name[256] = {};
    GetClassNameW(window, name, 255);
    RECT frame{};
    GetWindowRect(window, &frame);
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    const HWND owner = GetWindow(window, GW_OWNER);
    std::printf("found=1\n");
    std::printf("class=%s\n", toUtf8(name).c_str());
    std::printf("style=0x%08lx\n", style);
    std::printf("exstyle=0x%08lx\n", exStyle);
    std::printf("topmost=%d\n", (exStyle & WS_EX_TOPMOST) ? 1 : 0);
    std::printf("toolwindow=%d\n", (exStyle & WS_EX_TOOLWINDOW) ? 1 : 0);
    std::printf("caption=%d sysmenu=%d thickframe=%d minimizebox=%d maximizebox=%d\n",
                (style & WS_CAPTION) == WS_CAPTION, (style & WS_SYSMENU) != 0,
                (style & WS_THICKFRAME) != 0, (style & WS_MINIMIZEBOX) != 0,
                (style & WS_MAXIMIZEBOX) != 0);
    std::printf("visible=%d\nenabled=%d\n", IsWindowVisible(window) ? 1 : 0,
                IsWindowEnabled(window) ? 1 : 0);
    // Raised: no other visible top-level window lies above it.
    HWND above = GetTopWindow(nullptr);
    while (above && (above == window || !IsWindowVisible(above)))
        above = above == window ? nullptr : GetWindow(above, GW_HWNDNEXT);
    std::printf("foreground=%d\nraised=%d\n", GetForegroundWindow() == window ? 1 : 0,
                above ? 0 : 1);
    if (above) {
        wchar_t aboveClass[64] = {};
        GetClassNameW(above, aboveClass, 63);
        std::printf("above=%s\n", toUtf8(aboveClass).c_str());
    }
    // 2: per monitor (the manifest's PerMonitorV2 reads so too).
    std::printf("dpi_awareness=%d\n", static_cast<int>(GetAwarenessFromDpiAwarenessContext(
                                          GetWindowDpiAwarenessContext(window))));
    printRect("frame", frame);
    std::printf("client=%ld %ld %ld %ld\n", origin.x, origin.y, client.right, client.bottom);
    std::printf("owner=%d\nowner_enabled=%d\n", owner ? 1 : 0,
                owner && IsWindowEnabled(owner) ? 1 : 0);
    if (owner) {
        wchar_t ownerClass[256] = {};
        GetClassNameW(owner, ownerClass, 255);
        std::printf("owner_class=%s\n", toUtf8(ownerClass).c_str());
        RECT ownerFrame{};
        GetWindowRect(owner, &ownerFrame);
        printRect("owner_frame", ownerFrame);
    }
    // The close box of a tool window's caption, in screen pixels, for a click.
    TITLEBARINFOEX bar{};
    bar.cbSize = sizeof bar;
    SendMessageW(window, WM_GETTITLEBARINFOEX, 0, reinterpret_cast<LPARAM>(&bar));
    const RECT& close = bar.rgrect[5];
    if (close.right > close.left)
        std::printf("closebox=%ld %ld\n", (close.left + close.right) / 2,
                    (close.top + close.bottom) / 2);
    else
        std::printf("closebox=%ld %ld\n", frame.right - GetSystemMetrics(SM_CXSMSIZE) / 2 - 4,
                    frame.top + GetSystemMetrics(SM_CYSMCAPTION) / 2 + 2);
    // GetFocus answers for this thread only: share the window's input state.
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    AttachThreadInput(GetCurrentThreadId(), thread, TRUE);
    EnumChildWindows(window, printChild, 0);
    AttachThreadInput(GetCurrentThreadId(), thread, FALSE);
    return 0;
}
