#include "sky/viewsurface.h"

#include <algorithm>
#include <cstring>

namespace soramado {

ViewSurface::ViewSurface() : image_(Width, Height, DesignBackground) {}

void ViewSurface::setPicture(const Picture& picture)
{
    // Always an own 160 × 120 copy, so drawing never reaches the source picture.
    if (picture.width() == Width && picture.height() == Height) {
        std::memcpy(image_.data(), picture.data(), sizeof(std::uint32_t) * Width * Height);
    } else {
        image_.fill(0xff000000u);
        const int w = std::min(Width, picture.width());
        for (int y = 0; y < std::min(Height, picture.height()); ++y)
            std::copy_n(picture.row(y), w, image_.row(y));
    }
    markChanged();
}

void ViewSurface::setPoint(int x, int y, std::uint32_t colour)
{
    if (x < 0 || y < 0 || x >= Width || y >= Height)
        return;
    image_.setPixel(x, y, colour | 0xff000000u);
    markChanged();
}

} // namespace soramado
