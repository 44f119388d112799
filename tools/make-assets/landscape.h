#pragma once

#include <QImage>

namespace makeassets {

constexpr int SceneWidth = 160;
constexpr int SceneHeight = 120;
constexpr int SceneCount = 6;
// Everything above this row is sky; the tallest roof edge sits exactly on it.
constexpr int LandscapeTop = 83;

// The view outdoors for position 1 (dawn) to 6 (night), 160 × 120 RGB888.
QImage drawScene(int position);

// The sky alone, as the scene would be without the landscape.
QImage drawSky(int position);

} // namespace makeassets
