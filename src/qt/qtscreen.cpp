#include "qt/qtscreen.h"

#include "app/layout.h"
#include "common/numbers.h"

#include <QGuiApplication>
#include <QScreen>

namespace soramado {

namespace {

int twips(double dpi)
{
    return dpi > 0 ? roundHalfEven(1440.0 / dpi) : TwipsPerPixel;
}

} // namespace

int QtScreen::twipsPerPixelX() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? twips(screen->logicalDotsPerInchX()) : TwipsPerPixel;
}

int QtScreen::twipsPerPixelY() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? twips(screen->logicalDotsPerInchY()) : TwipsPerPixel;
}

std::vector<PixelRect> QtScreen::availableAreas() const
{
    std::vector<PixelRect> areas;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect r = screen->availableGeometry();
        areas.push_back({r.x(), r.y(), r.width(), r.height()});
    }
    return areas;
}

} // namespace soramado
