#include "sky/viewsurface.h"

namespace soramado {

ViewSurface::ViewSurface() : image_(Width, Height, QImage::Format_RGB32)
{
    image_.fill(DesignBackground);
}

void ViewSurface::setPicture(const QImage& picture)
{
    // Always an own 160 × 120 copy, so drawing never reaches the source picture.
    image_ = picture.convertToFormat(QImage::Format_RGB32).copy(0, 0, Width, Height);
    markChanged();
}

void ViewSurface::setPoint(int x, int y, QRgb colour)
{
    if (x < 0 || y < 0 || x >= Width || y >= Height)
        return;
    reinterpret_cast<QRgb*>(image_.scanLine(y))[x] = colour | 0xff000000u;
    markChanged();
}

} // namespace soramado
