#include "win32/commandline.h"

#include "app/commandline.h"
#include "win32/registrystore.h"
#include "win32/text.h"

#include <windows.h>

#include <stdlib.h>

#include <string>
#include <vector>

namespace soramado::win32 {

namespace {

// Writes to a handle the program was given: a file or pipe takes UTF-8 with
// CRLF line ends, a console takes UTF-16.
bool writeTo(HANDLE handle, const std::string& text)
{
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return false;
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(handle, &mode)) {
        const std::wstring wide = widen(text);
        return WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written,
                             nullptr) != 0;
    }
    std::string lines;
    for (const char c : text) {
        if (c == '\n')
            lines += '\r';
        lines += c;
    }
    return WriteFile(handle, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr) !=
               0 &&
           written == lines.size();
}

void deliver(const std::string& text, bool error)
{
    const DWORD stream = error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE;
    if (writeTo(GetStdHandle(stream), text))
        return;
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        // The starter's console: the text goes after its prompt, as it comes
        // back at once for a windowed program.
        const HANDLE console =
            CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        const bool written = writeTo(console, "\n" + text);
        if (console != INVALID_HANDLE_VALUE)
            CloseHandle(console);
        FreeConsole();
        if (written)
            return;
    }
    std::string shown = text;
    while (shown.ends_with('\n'))
        shown.pop_back();
    MessageBoxW(nullptr, widen(shown).c_str(), L"Soramado",
                MB_OK | (error ? MB_ICONWARNING : MB_ICONINFORMATION) | MB_SETFOREGROUND);
}

} // namespace

std::optional<int> answerCommandLine()
{
    std::vector<std::string> args;
    for (int i = 1; i < __argc; ++i)
        args.push_back(narrow(__wargv[i]));
    const std::string place =
        "the registry, " + RegistrySettingsStore(HKEY_CURRENT_USER).location();
    const ClockCommandLineFacts facts{"soramado", place, {}, {}, false};
    const ClockRequest request = readClockCommandLine(args, facts);
    if (request.action == ClockRequest::Action::Run)
        return std::nullopt;
    std::string text = request.text;
    if (!text.ends_with('\n'))
        text += '\n';
    deliver(text, request.action == ClockRequest::Action::Refuse);
    return request.exitStatus();
}

} // namespace soramado::win32
