#include "sky/stars.h"

#include "common/numbers.h"
#include "platform/random.h"
#include "sky/viewsurface.h"

namespace soramado {

std::int16_t starsWantedAt(std::int32_t now, std::int32_t sunset)
{
    const int minutesLeft = minutesBetween(now, addSeconds(sunset, 15 * 60));
    return static_cast<std::int16_t>(roundHalfEven((75.0 - minutesLeft) / 5.0));
}

PixelPoint nextStarPixel(Random& random, int twipsPerPixelX, int twipsPerPixelY)
{
    const int px = twipsPerPixelX;
    const int py = twipsPerPixelY;
    const double width = ViewSurface::Width * px;
    const double r1 = random.next();
    const float x = toFloat32(intFloor(r1 * (width - 6 * px)) + 3 * px);
    const double height = ViewSurface::Height * py;
    const double r2 = random.next();
    const float y = toFloat32(intFloor(r2 * (height / 2 - 6 * py)) + 3 * py);
    return {static_cast<int>(intFloor(x / px)), static_cast<int>(intFloor(y / py))};
}

} // namespace soramado
