#pragma once

#include <QImage>

namespace makeassets {

constexpr int IconSize = 48;

// The window in miniature: the morning view above, the date, weekday and the
// time 6:29:19 below on the pink strip. 48 × 48, 8-bit palette, opaque.
QImage drawIcon();

} // namespace makeassets
