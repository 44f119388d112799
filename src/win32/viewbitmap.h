#pragma once

#include "common/picture.h"

#include <windows.h>

#include <cstdint>

namespace soramado::win32 {

// Shows the core's picture as a 32-bit top-down DIB, straight from its pixels.
// Knows which revision the window last showed, so a tick that changed nothing
// repaints nothing.
class ViewBitmap {
public:
    // True when this revision differs from the one shown last; remembers it.
    bool takeRevision(std::uint64_t revision);
    void forget() { shown_ = false; }

    // Draws the picture into the rectangle: whole factors pixel by pixel
    // (nearest neighbour), a density between two whole factors smoothed.
    static void paint(HDC dc, const Picture& picture, const RECT& target, bool exact);

private:
    std::uint64_t revision_ = 0;
    bool shown_ = false;
};

// The header of a top-down 32-bit DIB of the picture's size.
BITMAPINFO dibHeader(const Picture& picture);

} // namespace soramado::win32
