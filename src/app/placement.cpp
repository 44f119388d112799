#include "app/placement.h"

#include <algorithm>

namespace soramado {

namespace {

// 64-bit edges: a stored position can be anything a settings file holds, and
// adding the frame's offsets to it must not overflow.
struct Span {
    long long left, top, right, bottom;
};

Span span(const PixelRect& r)
{
    return {r.left, r.top, static_cast<long long>(r.left) + r.width,
            static_cast<long long>(r.top) + r.height};
}

bool inside(const Span& area, const Span& part)
{
    return part.left >= area.left && part.top >= area.top && part.right <= area.right &&
           part.bottom <= area.bottom;
}

// How wide a run of the title bar, at its full height, lies inside the area.
long long titleRunInside(const Span& area, const Span& title)
{
    if (title.top < area.top || title.bottom > area.bottom)
        return 0;
    return std::min(title.right, area.right) - std::max(title.left, area.left);
}

} // namespace

std::optional<PixelPoint> usableFramePosition(PixelPoint storedFrame, PixelSize frame,
                                              PixelPoint clientOffsetInFrame,
                                              const std::vector<PixelRect>& availableAreas)
{
    const long long gripX =
        static_cast<long long>(storedFrame.x) + clientOffsetInFrame.x + layout::ViewPlace.x;
    const long long gripY =
        static_cast<long long>(storedFrame.y) + clientOffsetInFrame.y + layout::ViewPlace.y;
    const Span picture{gripX, gripY, gripX + PictureGrip.width, gripY + PictureGrip.height};
    const Span title{storedFrame.x, storedFrame.y,
                     static_cast<long long>(storedFrame.x) + frame.width,
                     static_cast<long long>(storedFrame.y) + clientOffsetInFrame.y};
    const bool hasTitle = clientOffsetInFrame.y > 0;
    for (const PixelRect& r : availableAreas) {
        const Span area = span(r);
        if (inside(area, picture))
            return storedFrame;
        if (hasTitle && titleRunInside(area, title) >= TitleGripWidth)
            return storedFrame;
    }
    return std::nullopt;
}

} // namespace soramado
