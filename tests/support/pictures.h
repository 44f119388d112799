#pragma once

#include "common/picture.h"
#include "sky/viewsurface.h"

#include <cstdint>

namespace soramado::fakes {

constexpr std::uint32_t rgb(int r, int g, int b)
{
    return 0xff000000u | std::uint32_t(r) << 16 | std::uint32_t(g) << 8 | std::uint32_t(b);
}

// Every pixel differs from its neighbours, so any smear or shift shows.
inline Picture noise(int width = ViewSurface::Width, int height = ViewSurface::Height)
{
    Picture image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(
                x, y, rgb((x * 37 + y * 11) % 256, (x * 5 + y * 91) % 256, (x * y * 13 + 7) % 256));
    return image;
}

} // namespace soramado::fakes
