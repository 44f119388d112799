#pragma once

#include "app/layout.h"
#include "common/geometry.h"

#include <optional>
#include <vector>

namespace soramado {

// The part of the picture a person must be able to reach: its top-left corner,
// enough to click for the menu.
constexpr PixelSize PictureGrip{32, 20};
// How much of the title bar is enough to take hold of the window.
constexpr int TitleGripWidth = 32;

// The stored frame position if a person can still reach the window there: the
// picture's top-left corner, or a 32 px wide piece of the whole title bar,
// lies within one screen's available area. Otherwise nothing, and the window
// opens at its design place. clientOffsetInFrame is where the client area sits
// in the frame; (0, 0) when the window manager's frame is not known yet.
std::optional<PixelPoint> usableFramePosition(PixelPoint storedFrame, PixelSize frame,
                                              PixelPoint clientOffsetInFrame,
                                              const std::vector<PixelRect>& availableAreas);

} // namespace soramado
