#include "platform/rasterop.h"

#include <QImage>

#include <algorithm>

namespace soramado {

void combineMaskAndSprite(QImage& view, const QImage& mask, const QImage& sprite)
{
    const QImage m = mask.convertToFormat(QImage::Format_RGB32);
    const QImage s = sprite.convertToFormat(QImage::Format_RGB32);
    const int width = std::min({view.width(), m.width(), s.width()});
    const int height = std::min({view.height(), m.height(), s.height()});
    for (int y = 0; y < height; ++y) {
        auto* out = reinterpret_cast<QRgb*>(view.scanLine(y));
        const auto* mr = reinterpret_cast<const QRgb*>(m.constScanLine(y));
        const auto* sr = reinterpret_cast<const QRgb*>(s.constScanLine(y));
        for (int x = 0; x < width; ++x)
            out[x] = ((out[x] | mr[x]) & sr[x]) | 0xff000000u;
    }
}

} // namespace soramado
