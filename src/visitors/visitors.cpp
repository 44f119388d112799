#include "visitors/visitors.h"

#include "assets/assets.h"
#include "common/numbers.h"
#include "sky/phase.h"
#include "sky/viewsurface.h"

namespace soramado {

void InitVisitors(VisitorArray& table)
{
    table[PhaseDawn] = {10, 5, 1};
    table[PhaseMorning] = {10, 5, 1};
    table[PhaseDay] = {20, 20, 3};
    table[PhaseEvening] = {10, 5, 1};
    table[PhaseDusk] = {10, 5, 1};
    table[PhaseNight] = {4, 1, 6};
}

std::int16_t frameForTicks(std::int16_t visitorTicks, std::int16_t ticksPerFrame)
{
    return static_cast<std::int16_t>(
        roundHalfEven(static_cast<double>(visitorTicks) / ticksPerFrame + 1.0));
}

namespace {

void restoreBackground(const VisitorStep& step)
{
    if (isEveningPhase(step.Phase)) {
        step.View.setPicture(step.Snapshot);
    } else if (const assets::PictureRef scene = assets::scene(step.Phase)) {
        step.View.setPicture(*scene);
    }
}

} // namespace

void StepVisitor(VisitorStep step)
{
    if (step.Phase != step.LastPhase) {
        // The new scene already replaced the view in this run; a request made
        // just before the change is dropped with the flight.
        step.VisitorActive = false;
        step.VisitorTicks = 0;
        return;
    }

    const VisitorEntry& entry = step.Table[static_cast<std::size_t>(step.Phase)];
    const std::int16_t frame = frameForTicks(step.VisitorTicks, entry.TicksPerFrame);
    if (frame > entry.FrameCount) {
        step.VisitorActive = false;
        step.VisitorTicks = 0;
        restoreBackground(step);
        return;
    }

    step.VisitorActive = true;
    ++step.VisitorTicks;
    const assets::PictureRef mask = assets::frame(assets::frameKey('M', entry.VisitorNo, frame));
    const assets::PictureRef sprite = assets::frame(assets::frameKey('G', entry.VisitorNo, frame));
    if (step.VisitorTicks == 1 && isEveningPhase(step.Phase))
        step.Snapshot = step.View.picture();
    restoreBackground(step);
    if (mask && sprite)
        combineMaskAndSprite(step.View.pixels(), *mask, *sprite);
    step.View.markChanged();
}

} // namespace soramado
