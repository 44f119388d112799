#pragma once

#include <string>

namespace soramado::win32 {

// One line for the user: to the debugger (OutputDebugStringW) and, when the
// program was started with a standard error stream, there too.
void warn(const std::string& line);

} // namespace soramado::win32
