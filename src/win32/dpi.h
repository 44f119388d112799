#pragma once

#include "common/geometry.h"

#include <windows.h>

namespace soramado::win32 {

// The layout is designed at 96 dpi; at other densities every place and size
// grows by dpi / 96, and fonts keep their point sizes.
inline constexpr UINT DesignDpi = 96;

int scaled(int designPixels, UINT dpi);
RECT scaledRect(const PixelRect& design, UINT dpi);
// The LOGFONT height (negative: the character height) of a point size.
LONG fontHeight(double points, UINT dpi);
// 1440 / dpi rounded half to even; 15 when the density is unknown.
int twipsPerPixel(UINT dpi);
// The view grows by whole factors pixel by pixel; only a density between two
// whole factors needs smoothing for the rest.
int wholeFactor(UINT dpi);
bool scalesExactly(UINT dpi);

} // namespace soramado::win32
