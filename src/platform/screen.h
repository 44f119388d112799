#pragma once

#include "common/geometry.h"

#include <vector>

namespace soramado {

// What the clock needs to know of the screens.
class Screen {
public:
    virtual ~Screen() = default;
    virtual int twipsPerPixelX() const = 0; // round half even (1440 / logical dpi); 15 at 96 dpi
    virtual int twipsPerPixelY() const = 0;
    virtual std::vector<PixelRect> availableAreas() const = 0; // each monitor's work area, pixels
};

} // namespace soramado
