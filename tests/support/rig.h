#pragma once

#include "app/clockapp.h"
#include "app/headless.h"
#include "assets/assets.h"
#include "common/picture.h"
#include "sky/stars.h"
#include "support/fakes.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace soramado::fakes {

// A whole program started at a moment in a city, ticking on a settable clock
// with a given generator.
template <typename R> struct Rig {
    R random;
    HeadlessClock headless{random};
    SettableClock& clock = headless.clock;
    ClockApp& app = headless.app;

    explicit Rig(LocalDateTime start, int city = DefaultLocationIndex) { startUp(start, city); }
    // With a generator made from a seed.
    Rig(LocalDateTime start, int city, std::uint64_t seed) : random(seed) { startUp(start, city); }

    void startUp(LocalDateTime start, int city)
    {
        clock.set(start);
        headless.store.values()["Location"] = std::to_string(city);
        app.startUp();
    }
    void tickAt(LocalDateTime moment)
    {
        clock.set(moment);
        app.tick();
    }
    // One tick 100 ms after the last.
    void tick()
    {
        clock.advanceMs(100);
        app.tick();
    }
    const Picture& view() const { return app.view(); }
    ClockSnapshot inside() const { return app.snapshot(); }
};

inline int countPixels(const Picture& image, std::uint32_t colour, int rows = 120)
{
    int n = 0;
    for (int y = 0; y < std::min(rows, image.height()); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += (image.pixel(x, y) | 0xff000000u) == (colour | 0xff000000u);
    return n;
}

inline int countStars(const Picture& image)
{
    return countPixels(image, StarColour);
}

// A scene with a visitor frame laid over it, as the view should show it.
inline Picture composed(Picture background, int visitor, int frame)
{
    combineMaskAndSprite(background, *assets::frame(assets::frameKey('M', visitor, frame)),
                         *assets::frame(assets::frameKey('G', visitor, frame)));
    return background;
}

inline Picture sceneImage(int phase)
{
    return *assets::scene(phase);
}

} // namespace soramado::fakes
