#pragma once

#include "common/geometry.h"

#include <cstdint>

namespace soramado {

class Random;

// Pale yellow, unlike the night scene's painted stars (255, 255, 192).
constexpr std::uint32_t StarColour = 0xffffffe0u;
constexpr int MaxStars = 15;

// How many stars should be out: none at the start of the evening, one more
// every five minute boundaries, 15 just before night.
std::int16_t starsWantedAt(std::int32_t now, std::int32_t sunset);

// Where the next star goes: two draws, x then y, placed in twips and mapped to
// the pixel that contains the point. Keeps a 3-pixel margin at the left, right
// and top, and stays in the upper half of the view.
PixelPoint nextStarPixel(Random& random, int twipsPerPixelX, int twipsPerPixelY);

} // namespace soramado
