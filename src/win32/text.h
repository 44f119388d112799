#pragma once

#include <string>
#include <string_view>

namespace soramado::win32 {

// The core speaks UTF-8, the W functions UTF-16. Invalid input becomes U+FFFD
// rather than an exception: a stored text must never stop the clock.
std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

} // namespace soramado::win32
