#include "win32/screen.h"

#include "win32/dpi.h"

namespace soramado::win32 {

int WindowsScreen::twipsPerPixelX() const
{
    return twipsPerPixel(dpi_);
}

int WindowsScreen::twipsPerPixelY() const
{
    return twipsPerPixel(dpi_);
}

namespace {

BOOL CALLBACK addWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM areas)
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info)) {
        const RECT& r = info.rcWork;
        reinterpret_cast<std::vector<PixelRect>*>(areas)->push_back(
            PixelRect{r.left, r.top, r.right - r.left, r.bottom - r.top});
    }
    return TRUE;
}

} // namespace

std::vector<PixelRect> WindowsScreen::availableAreas() const
{
    std::vector<PixelRect> areas;
    EnumDisplayMonitors(nullptr, nullptr, addWorkArea, reinterpret_cast<LPARAM>(&areas));
    return areas;
}

} // namespace soramado::win32
