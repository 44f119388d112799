#pragma once

#include "app/clockcore.h"
#include "assets/assets.h"
#include "platform/clock.h"
#include "platform/rasterop.h"
#include "sky/stars.h"
#include "support/fakes.h"

namespace soramado::fakes {

// A core started at a moment, ticking on a settable clock with a given generator.
template <typename R> struct Rig {
    SettableClock clock;
    R random;
    ClockCore core{clock, random};

    explicit Rig(QDateTime start, int city = DefaultLocationIndex)
    {
        clock.set(start);
        core.startUp();
        core.setLocationIndex(static_cast<std::int16_t>(city));
        core.finishStartUp();
    }
    void tickAt(QDateTime moment)
    {
        clock.set(moment);
        core.tick();
    }
    // One tick 100 ms after the last.
    void tick()
    {
        clock.advanceMs(100);
        core.tick();
    }
    const QImage& view() const { return core.view().image(); }
};

inline int countPixels(const QImage& image, QRgb colour, int rows = 120)
{
    int n = 0;
    for (int y = 0; y < std::min(rows, image.height()); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += (image.pixel(x, y) | 0xff000000u) == (colour | 0xff000000u);
    return n;
}

inline int countStars(const QImage& image)
{
    return countPixels(image, StarColour);
}

// A scene with a visitor frame laid over it, as the view should show it.
inline QImage composed(QImage background, int visitor, int frame)
{
    background = background.convertToFormat(QImage::Format_RGB32);
    combineMaskAndSprite(background,
                         assets::frame(assets::frameKey(QLatin1Char('M'), visitor, frame)),
                         assets::frame(assets::frameKey(QLatin1Char('G'), visitor, frame)));
    return background;
}

inline QImage sceneImage(int phase)
{
    return assets::scene(phase).convertToFormat(QImage::Format_RGB32);
}

} // namespace soramado::fakes
