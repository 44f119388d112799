#pragma once

class QImage;

namespace soramado {

// Lays a mask and a sprite frame over the top of the view: per 8-bit channel,
// view = (view OR mask) AND sprite, over the frames' rectangle from (0, 0).
void combineMaskAndSprite(QImage& view, const QImage& mask, const QImage& sprite);

} // namespace soramado
