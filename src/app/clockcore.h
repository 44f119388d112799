#pragma once

#include "app/wakeplan.h"
#include "sky/phase.h"
#include "sky/suntimes.h"
#include "sky/viewsurface.h"
#include "visitors/visitors.h"

#include "common/datetime.h"
#include "common/picture.h"

#include <cstdint>
#include <string>

namespace soramado {

class Clock;
class Random;

// What the three clock labels show.
struct ClockFace {
    std::string date;                // "2003年5月1日"
    std::string weekday;             // "Thu"
    std::uint32_t weekdayColour = 0; // 0x00RRGGBB: red on Sunday, blue on Saturday, else black
    std::string time;                // "17:50:30"
};

constexpr std::uint32_t SundayColour = 0x00ff0000u;   // red
constexpr std::uint32_t SaturdayColour = 0x000000ffu; // blue
constexpr std::uint32_t WeekdayColour = 0x00000000u;  // black

// The run-time state of the clock window.
struct ClockState {
    std::int16_t LocationIndex = DefaultLocationIndex;
    std::int16_t Phase = PhaseNone;
    std::int16_t LastPhase = PhaseNone;
    Date TodayKey;
    Date LastDayKey;
    LocationArray Locations{};
    bool AlwaysOnTop = false;
    bool VisitorActive = false;
    VisitorArray VisitorTable{};
    std::int16_t StarsDrawn = 0;
    std::int16_t StarsWanted = 0;
    std::int16_t VisitorTicks = 0;
};

// A copy of what the clock holds inside, for tools and tests that look in:
// nothing changes it, and changing it changes nothing.
struct ClockSnapshot {
    ClockState state;
    SunTimes sunTimes;           // of the last view update
    int sceneSets = 0;           // how often the view's picture was replaced by a scene
    std::uint64_t ticksRun = 0;  // since start-up
    std::int64_t ticksToHit = 0; // the tick of the next visitor hit, from the last tick run
};

// The clock's heart, without widgets: the tick, the labels' texts and the view.
// Time and chance come in through the clock and the random generator, so a
// test can drive it tick by tick and read the pixels.
class ClockCore {
public:
    // No visitor, the visitor and city tables filled: what start-up does before the settings.
    ClockCore(const Clock& clock, Random& random);

    // The rest of start-up, once the stored settings are known: the city, the
    // two date keys, then the first full refresh.
    void startUp(std::int16_t locationIndex);

    // One 100 ms tick: a full refresh after a change of date, else the time only.
    void tick();
    // mode 2: weekday colour, date, weekday and time; any other: the time alone.
    void UpdateClock(int mode);

    // Shift+F9: a visitor is wanted on the next tick.
    void requestVisitor() { state_.VisitorActive = true; }
    // The city for the next tick's view update.
    void setLocationIndex(std::int16_t index) { state_.LocationIndex = index; }
    void setAlwaysOnTop(bool on) { state_.AlwaysOnTop = on; }
    // Something changed that the next tick shows (the city): wake for it soon.
    void requestTick() { tickWanted_ = true; }

    // When the shell should run the next tick, from the clock's reading now:
    // the next tick while a visitor runs or a tick is asked for, else the next
    // whole second or the tick of the visitor's hit, whichever comes first.
    // Ticks in between cannot change anything on screen.
    WakePlan planWake();
    // The screen's twips per pixel, where stars are placed.
    void setTwipsPerPixel(int x, int y);

    const ClockState& state() const { return state_; }
    ClockSnapshot snapshot() const;
    const ClockFace& face() const { return face_; }
    const ViewSurface& view() const { return view_; }
    // The sun times of the last view update.
    const SunTimes& sunTimes() const { return sun_; }
    // How often the view's picture was replaced by a scene.
    int sceneSets() const { return sceneSets_; }
    // Ticks run since start-up.
    std::uint64_t ticksRun() const { return ticksRun_; }
    // The tick of the next visitor hit, counted from the last tick run.
    std::int64_t ticksToHit() const { return chance_.ticksLeft(); }

private:
    void updateClockAt(int mode, const LocalDateTime& now);
    void updateViewAt(const LocalDateTime& now);
    void showScene();
    void starStage(std::int32_t now);
    bool eveningSnapshotHeld() const;

    const Clock& clock_;
    Random& random_;
    ClockState state_;
    ClockFace face_;
    ViewSurface view_;
    Picture starSnapshot_;
    SunTimes sun_;
    Date sunDate_;
    std::int16_t sunLocation_ = -1;
    int twipsX_;
    int twipsY_;
    int sceneSets_ = 0;
    // The chance is counted in ticks of 100 ms, run or slept through.
    VisitorChance chance_{random_};
    std::int64_t lastSlot_ = 0;
    std::int64_t plannedSlot_ = 0;
    std::int64_t ticksThisRun_ = 1;
    std::uint64_t ticksRun_ = 0;
    bool tickWanted_ = false;
};

} // namespace soramado
