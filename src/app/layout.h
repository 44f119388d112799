#pragma once

#include "common/geometry.h"

#include <cstdint>

namespace soramado {

// Window positions are stored in twips, 15 to the logical pixel; a screen
// whose dpi is unknown counts the same.
constexpr int TwipsPerPixel = 15;

} // namespace soramado

// The clock window as designed, in logical pixels; every shell lays it out from here.
namespace soramado::layout {

constexpr PixelSize ClientSize{169, 172};
// Where the window goes when no reachable position is stored.
constexpr PixelPoint DesignPlace{160, 128};
constexpr PixelPoint ViewPlace{4, 2};

constexpr PixelRect WeekdayLabel{128, 124, 36, 16};
constexpr PixelRect DateLabel{2, 125, 134, 14};
constexpr PixelRect TimeLabel{4, 140, 162, 29};

constexpr double LabelPoints = 11.25;
constexpr double TimeDesignPoints = 20.25;
// The font command keeps only the face and sets this size.
constexpr double TimeChosenPoints = 20;

// 0x00RRGGBB
constexpr std::uint32_t WindowColour = 0xffb0d8u; // red 255, green 176, blue 216
constexpr std::uint32_t TimeColour = 0x0000c0u;   // blue 192
constexpr std::uint32_t DateColour = 0x000000u;

// The face names the clock uses and stores. Where these faces are not
// installed, a shell lets substitutes stand in for them without changing the names.
inline constexpr const char* LabelFontFace = "ＭＳ Ｐゴシック";
inline constexpr const char* ClockFontFace = "MS ゴシック";

} // namespace soramado::layout
