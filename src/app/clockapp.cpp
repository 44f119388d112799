#include "app/clockapp.h"

#include "app/layout.h"
#include "app/placement.h"
#include "platform/fontchooser.h"
#include "platform/screen.h"
#include "platform/topmost.h"
#include "sky/suntimes.h"

namespace soramado {

ClockApp::ClockApp(Seams seams)
    : seams_(std::move(seams)), core_(seams_.clock, seams_.random),
      settings_(seams_.store, seams_.warn), clockFontFace_(layout::ClockFontFace),
      clockFontPoints_(layout::TimeDesignPoints)
{}

void ClockApp::startUp()
{
    // The core filled its tables when it was made.
    core_.setTwipsPerPixel(seams_.screen.twipsPerPixelX(), seams_.screen.twipsPerPixelY());
    const StoredSettings stored = settings_.read();
    clockFontFace_ = stored.Font;
    storedPosition_ = stored.framePosition();
    unusableSettings_ = stored.unusable;
    // Written back at every start, so the first start creates "AlwaysTop".
    applyAlwaysOnTop(stored.AlwaysOnTop);
    core_.startUp(stored.LocationIndex);
}

void ClockApp::tick()
{
    core_.tick();
}

void ClockApp::requestVisitor()
{
    core_.requestVisitor();
}

void ClockApp::fontCommand()
{
    const std::optional<std::string> face = seams_.fonts.choose(clockFontFace_);
    if (!face)
        return;
    // Only the face counts; the size is the clock's own.
    clockFontFace_ = *face;
    clockFontPoints_ = layout::TimeChosenPoints;
    settings_.writeFont(clockFontFace_);
}

void ClockApp::locationCommand(int index)
{
    if (index < 0 || index >= LocationCount)
        return;
    settings_.writeLocation(static_cast<std::int16_t>(index));
    // The next tick draws the new city's sky; it need not wait for the second.
    core_.setLocationIndex(static_cast<std::int16_t>(index));
    core_.requestTick();
}

void ClockApp::alwaysOnTopCommand()
{
    applyAlwaysOnTop(!alwaysOnTop());
}

void ClockApp::applyAlwaysOnTop(bool on)
{
    core_.setAlwaysOnTop(on);
    settings_.writeAlwaysTop(on);
    seams_.topmost.setTopmost(on);
}

void ClockApp::unload(PixelPoint frameTopLeft)
{
    if (unloaded_)
        return;
    unloaded_ = true;
    settings_.writePosition(frameTopLeft);
}

std::optional<PixelPoint> ClockApp::reachableFramePosition(PixelSize frame,
                                                           PixelPoint clientInFrame) const
{
    if (!storedPosition_)
        return std::nullopt;
    return usableFramePosition(*storedPosition_, frame, clientInFrame,
                               seams_.screen.availableAreas());
}

} // namespace soramado
