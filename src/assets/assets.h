#pragma once

#include "common/picture.h"

#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace soramado::assets {

constexpr int SceneCount = 6;
constexpr int FrameWidth = 160;
constexpr int FrameHeight = 80;

// A decoded picture, shared with the lookups' cache; it never changes.
using PictureRef = std::shared_ptr<const Picture>;

// The scene picture at position 1 to 6 (equal to the phase), 160 × 120.
// Nothing for any other position.
PictureRef scene(int position);

// A visitor frame by key: "M" (mask) or "G" (sprite), then the visitor number
// and the frame number in two digits each, as in "M0307". 160 × 80.
// Nothing for a key that has no frame.
PictureRef frame(std::string_view key);

// The lookups keep the last few decoded pictures, so that a visitor's steps do
// not decode the same frames ten times a second. This drops them.
void forgetDecodedPictures();

// "M" or "G" + two-digit visitor + two-digit frame.
std::string frameKey(char list, int visitor, int frameNo);

// Decodes PNG bytes into 0xFFRRGGBB pixels (any transparency is dropped); a
// null picture when the bytes are not a PNG.
Picture decodePng(std::span<const unsigned char> png);

// The 48 × 48 window icon as PNG bytes, transparency included, for a shell to decode.
std::span<const unsigned char> iconPng();

} // namespace soramado::assets
