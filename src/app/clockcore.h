#pragma once

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

// The clock's heart, without widgets: the tick, the labels' texts and the view.
// Time and chance come in through the clock and the random generator, so a
// test can drive it tick by tick and read the pixels.
class ClockCore {
public:
    ClockCore(const Clock& clock, Random& random);

    // Start-up before the stored settings are applied: no visitor, tables filled.
    void startUp();
    // Start-up after the settings: the two date keys, then the first full refresh.
    void finishStartUp();

    // One 100 ms tick: a full refresh after a change of date, else the time only.
    void tick();
    // mode 2: weekday colour, date, weekday and time; any other: the time alone.
    void UpdateClock(int mode);

    // Shift+F9: a visitor is wanted on the next tick.
    void requestVisitor() { state_.VisitorActive = true; }
    // The city for the next tick's view update.
    void setLocationIndex(std::int16_t index) { state_.LocationIndex = index; }
    // The screen's twips per pixel, where stars are placed.
    void setTwipsPerPixel(int x, int y);

    const ClockState& state() const { return state_; }
    ClockState& state() { return state_; }
    const ClockFace& face() const { return face_; }
    const ViewSurface& view() const { return view_; }
    // The sun times of the last view update.
    const SunTimes& sunTimes() const { return sun_; }
    // How often the view's picture was replaced by a scene.
    int sceneSets() const { return sceneSets_; }

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
};

} // namespace soramado
