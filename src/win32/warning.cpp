#include "win32/warning.h"

#include "win32/text.h"

#include <windows.h>

namespace soramado::win32 {

void warn(const std::string& line)
{
    OutputDebugStringW(widen(line + "\n").c_str());
    // A GUI program has no stderr unless its starter handed one down.
    const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    if (err == nullptr || err == INVALID_HANDLE_VALUE)
        return;
    const std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(err, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

} // namespace soramado::win32
