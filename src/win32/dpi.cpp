#include "win32/dpi.h"

#include <algorithm>
#include <cmath>

namespace soramado::win32 {

int scaled(int designPixels, UINT dpi)
{
    return MulDiv(designPixels, static_cast<int>(dpi), static_cast<int>(DesignDpi));
}

RECT scaledRect(const PixelRect& design, UINT dpi)
{
    const int left = scaled(design.left, dpi);
    const int top = scaled(design.top, dpi);
    return RECT{left, top, left + scaled(design.width, dpi), top + scaled(design.height, dpi)};
}

LONG fontHeight(double points, UINT dpi)
{
    return -static_cast<LONG>(std::lround(points * dpi / 72.0));
}

int twipsPerPixel(UINT dpi)
{
    if (dpi == 0)
        return 15;
    // nearbyint rounds half to even in the default rounding mode.
    return static_cast<int>(std::nearbyint(1440.0 / dpi));
}

int wholeFactor(UINT dpi)
{
    return std::max(1, static_cast<int>(dpi / DesignDpi));
}

bool scalesExactly(UINT dpi)
{
    return dpi <= DesignDpi || dpi % DesignDpi == 0;
}

} // namespace soramado::win32
