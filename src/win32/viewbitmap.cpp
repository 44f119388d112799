#include "win32/viewbitmap.h"

namespace soramado::win32 {

bool ViewBitmap::takeRevision(std::uint64_t revision)
{
    if (shown_ && revision == revision_)
        return false;
    shown_ = true;
    revision_ = revision;
    return true;
}

BITMAPINFO dibHeader(const Picture& picture)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = picture.width();
    info.bmiHeader.biHeight = -picture.height(); // rows top-down, as the picture holds them
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

void ViewBitmap::paint(HDC dc, const Picture& picture, const RECT& target, bool exact)
{
    if (picture.isNull())
        return;
    const BITMAPINFO info = dibHeader(picture);
    const int width = target.right - target.left;
    const int height = target.bottom - target.top;
    if (width == picture.width() && height == picture.height()) {
        SetDIBitsToDevice(dc, target.left, target.top, static_cast<DWORD>(width),
                          static_cast<DWORD>(height), 0, 0, 0, static_cast<UINT>(picture.height()),
                          picture.data(), &info, DIB_RGB_COLORS);
        return;
    }
    SetStretchBltMode(dc, exact ? COLORONCOLOR : HALFTONE);
    if (!exact)
        SetBrushOrgEx(dc, 0, 0, nullptr); // HALFTONE needs it set afterwards
    StretchDIBits(dc, target.left, target.top, width, height, 0, 0, picture.width(),
                  picture.height(), picture.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

} // namespace soramado::win32
