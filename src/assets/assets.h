#pragma once

#include <QImage>
#include <QString>

namespace soramado::assets {

constexpr int SceneCount = 6;
constexpr int FrameWidth = 160;
constexpr int FrameHeight = 80;

// The scene picture at position 1 to 6 (equal to the phase), 160 × 120.
// A null image for any other position.
QImage scene(int position);

// A visitor frame by key: "M" (mask) or "G" (sprite), then the visitor number
// and the frame number in two digits each, as in "M0307". 160 × 80.
// A null image for a key that has no frame.
QImage frame(const QString& key);

// The lookups keep the last few decoded pictures, so that a visitor's steps do
// not decode the same frames ten times a second. This drops them.
void forgetDecodedPictures();

// "M" or "G" + two-digit visitor + two-digit frame.
QString frameKey(QChar list, int visitor, int frameNo);

// The 48 × 48 window icon.
QImage icon();

} // namespace soramado::assets
