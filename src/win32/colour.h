#pragma once

#include <windows.h>

#include <cstdint>

namespace soramado::win32 {

// The core's 0x00RRGGBB as GDI's COLORREF, 0x00BBGGRR.
constexpr COLORREF colorRef(std::uint32_t rgb)
{
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

} // namespace soramado::win32
