#include "app/clockcore.h"

#include "app/layout.h"
#include "assets/assets.h"
#include "common/numbers.h"
#include "platform/clock.h"
#include "platform/random.h"
#include "sky/stars.h"

#include <algorithm>

namespace soramado {

namespace {

std::int64_t slotOf(const LocalDateTime& moment)
{
    return tickSlot(std::chrono::sys_days(moment.date).time_since_epoch().count(),
                    moment.secondOfDay, moment.millisecond);
}

} // namespace

ClockCore::ClockCore(const Clock& clock, Random& random)
    : clock_(clock), random_(random), twipsX_(TwipsPerPixel), twipsY_(TwipsPerPixel)
{
    state_.VisitorActive = false;
    InitVisitors(state_.VisitorTable);
    InitLocations(state_.Locations);
}

void ClockCore::startUp(std::int16_t locationIndex)
{
    state_.LocationIndex = locationIndex;
    const LocalDateTime now = clock_.now();
    state_.TodayKey = now.date;
    state_.LastDayKey = now.date;
    lastSlot_ = slotOf(now);
    plannedSlot_ = lastSlot_ + 1;
    updateClockAt(2, now);
}

void ClockCore::setTwipsPerPixel(int x, int y)
{
    twipsX_ = x > 0 ? x : TwipsPerPixel;
    twipsY_ = y > 0 ? y : TwipsPerPixel;
}

void ClockCore::tick()
{
    // One reading of the clock serves the whole tick, so that the labels and
    // the picture always agree on the moment.
    const LocalDateTime now = clock_.now();
    // The ticks slept through since the last one count for the chance.
    const std::int64_t slot = slotOf(now);
    ticksThisRun_ = ticksSince(lastSlot_, slot, plannedSlot_);
    lastSlot_ = slot;
    // Unless a wake is planned, the next tick is 100 ms on, as a plain timer's.
    plannedSlot_ = slot + 1;
    tickWanted_ = false;
    ++ticksRun_;

    state_.TodayKey = now.date;
    const int days = daysBetween(state_.LastDayKey, state_.TodayKey);
    updateClockAt(days != 0 ? 2 : 1, now);
    state_.LastDayKey = state_.TodayKey;
}

ClockSnapshot ClockCore::snapshot() const
{
    return {state_, sun_, sceneSets_, ticksRun_, chance_.ticksLeft()};
}

WakePlan ClockCore::planWake()
{
    const LocalDateTime now = clock_.now();
    const std::int64_t slot = slotOf(now);
    // A clock set since the last tick that no tick has seen yet: the time
    // slept so far cannot be told from the jump, so the sleep counts from now,
    // and the wake counts only the ticks planned here, not the jump.
    if (clockJumped(lastSlot_, slot, plannedSlot_))
        lastSlot_ = slot;
    // The hit's tick seen from now; one already due (a wake that came late)
    // is taken on the next tick.
    const std::int64_t toHit = std::max<std::int64_t>(1, lastSlot_ + chance_.ticksLeft() - slot);
    const WakePlan plan =
        soramado::planWake(now.millisecond, state_.VisitorActive || tickWanted_, toHit);
    plannedSlot_ = slot + plan.ticks;
    return plan;
}

void ClockCore::UpdateClock(int mode)
{
    updateClockAt(mode, clock_.now());
}

void ClockCore::updateClockAt(int mode, const LocalDateTime& now)
{
    if (mode == 2) {
        const Date today = now.date;
        const int weekday = isoWeekday(today); // Monday 1 … Sunday 7
        face_.weekdayColour = weekday == 7   ? SundayColour
                              : weekday == 6 ? SaturdayColour
                                             : WeekdayColour;
        face_.date = dateLabelText(today);
        face_.weekday = weekdayText(today);
    }
    face_.time = timeText(now.secondOfDay);
    updateViewAt(now);
}

void ClockCore::updateViewAt(const LocalDateTime& now)
{
    const Date today = now.date;
    // The sun times change only with the date or the city.
    if (today != sunDate_ || state_.LocationIndex != sunLocation_) {
        sun_ = computeSunTimes(today,
                               state_.Locations[static_cast<std::size_t>(state_.LocationIndex)]);
        sunDate_ = today;
        sunLocation_ = state_.LocationIndex;
    }
    const std::int32_t time = now.secondOfDay; // whole seconds: the milliseconds never count

    state_.Phase = phaseAt(time, sun_);
    const bool phaseChanged = state_.Phase != state_.LastPhase;
    if (phaseChanged && isEveningPhase(state_.Phase))
        state_.StarsDrawn = 0;
    if (phaseChanged)
        showScene();

    starStage(time);

    // The first run draws when the first hit falls; later runs count down to it.
    bool hit = false;
    if (chance_.started())
        hit = chance_.pass(ticksThisRun_);
    else
        chance_.start();
    if (hit || state_.VisitorActive) {
        StepVisitor({state_.Phase, state_.LastPhase, state_.VisitorActive, state_.VisitorTicks,
                     state_.VisitorTable, view_, starSnapshot_});
    }

    state_.LastPhase = state_.Phase;
}

void ClockCore::showScene()
{
    if (const assets::PictureRef scene = assets::scene(state_.Phase))
        view_.setPicture(*scene);
    ++sceneSets_;
}

bool ClockCore::eveningSnapshotHeld() const
{
    return state_.VisitorTicks > 0 && isEveningPhase(state_.Phase) &&
           state_.Phase == state_.LastPhase;
}

void ClockCore::starStage(std::int32_t now)
{
    if (!isEveningPhase(state_.Phase)) {
        state_.StarsWanted = 0;
        return;
    }
    state_.StarsWanted = starsWantedAt(now, sun_.Sunset);

    const bool intoSnapshot = eveningSnapshotHeld();
    if (state_.StarsWanted < state_.StarsDrawn) {
        // The clock went back: start the evening sky over, so that exactly the
        // stars now due are visible instead of the ones from later.
        showScene();
        if (intoSnapshot)
            starSnapshot_ = view_.picture();
        state_.StarsDrawn = 0;
    }
    for (int n = state_.StarsDrawn; n < state_.StarsWanted; ++n) {
        const PixelPoint p = nextStarPixel(random_, twipsX_, twipsY_);
        view_.setPoint(p.x, p.y, StarColour);
        // A star that comes out during an evening flight goes into the clean
        // background too, so it shows behind the visitor and stays after it.
        if (intoSnapshot && p.x >= 0 && p.y >= 0 && p.x < starSnapshot_.width() &&
            p.y < starSnapshot_.height())
            starSnapshot_.setPixel(p.x, p.y, StarColour | 0xff000000u);
    }
    state_.StarsDrawn = state_.StarsWanted;
}

} // namespace soramado
