// Long runs of the clock core on simulated time: every 100 ms of one evening
// and every minute of a leap year for all six cities, with visitor requests
// sprinkled in. After every tick the state and the view must still make sense.

#include "app/clockcore.h"
#include "app/headless.h"
#include "app/wakeplan.h"
#include "common/numbers.h"

#include "assets/assets.h"
#include "platform/clock.h"
#include "platform/random.h"
#include "sky/stars.h"
#include "sky/viewsurface.h"

#include "support/rig.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <optional>
#include <string>

using namespace soramado;
using namespace soramado::fakes;
using soramado::fakes::at;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool Sanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool Sanitized = true;
#else
constexpr bool Sanitized = false;
#endif
#else
constexpr bool Sanitized = false;
#endif

// Under the sanitizers every tick costs several times more; a sample of the
// year's days still crosses every season and both solstices.
constexpr int YearDayStep = Sanitized ? 7 : 1;

// The steps that draw a frame: bird 48, cloud 391, shooting star 4.
constexpr std::array<int, 7> DrawingSteps{0, 48, 48, 391, 48, 48, 4};

constexpr int StarLeft = 3;
constexpr int StarRight = 156;
constexpr int StarTop = 3;
constexpr int StarBottom = 56;
constexpr int GroundTop = 80;

std::string describe(const LocalDateTime& when, int city)
{
    return dateLabelText(when.date) + " " + timeText(when.secondOfDay) + "." +
           std::to_string(when.millisecond) + " city " + std::to_string(city) + ": ";
}

// Follows a core tick by tick and reports the first thing that is out of place.
class Watch {
public:
    Watch()
    {
        for (int phase = 1; phase <= assets::SceneCount; ++phase)
            scenes_[static_cast<std::size_t>(phase)] = *assets::scene(phase);
    }

    std::optional<std::string> check(const ClockApp& app)
    {
        const ClockSnapshot inside = app.snapshot();
        const ClockState& s = inside.state;
        const int phase = s.Phase;
        if (phase < PhaseDawn || phase > PhaseNight)
            return "phase " + std::to_string(phase);

        // A steady clock walks through the phases in order, never skipping one,
        // and each change sets the new scene exactly once.
        if (lastPhase_ != PhaseNone && phase != lastPhase_) {
            if (phase != lastPhase_ % 6 + 1)
                return "phase " + std::to_string(lastPhase_) + " -> " + std::to_string(phase);
            if (inside.sceneSets == lastSceneSets_)
                return "phase changed without a new scene";
            ++phaseChanges_;
        }

        if (isEveningPhase(phase)) {
            if (s.StarsDrawn != s.StarsWanted)
                return "StarsDrawn " + std::to_string(s.StarsDrawn) + " != StarsWanted " +
                       std::to_string(s.StarsWanted);
            if (s.StarsWanted < 0 || s.StarsWanted > MaxStars)
                return "StarsWanted " + std::to_string(s.StarsWanted);
            maxStars_ = std::max<int>(maxStars_, s.StarsWanted);
        } else if (s.StarsWanted != 0) {
            return "StarsWanted " + std::to_string(s.StarsWanted) + " outside the evening";
        }

        if (!s.VisitorActive && s.VisitorTicks != 0)
            return "VisitorTicks " + std::to_string(s.VisitorTicks) + " while idle";
        if (s.VisitorTicks < 0 || s.VisitorTicks > DrawingSteps[static_cast<std::size_t>(phase)])
            return "VisitorTicks " + std::to_string(s.VisitorTicks) + " in phase " +
                   std::to_string(phase);
        if (s.VisitorTicks != 0 && s.VisitorTicks != lastVisitorTicks_ + 1)
            return "VisitorTicks " + std::to_string(lastVisitorTicks_) + " -> " +
                   std::to_string(s.VisitorTicks);
        if (s.VisitorTicks == 1)
            ++flights_;

        const Picture& view = app.view();
        const Picture& scene = scenes_[static_cast<std::size_t>(phase)];
        if (view.width() != scene.width() || view.height() != scene.height())
            return "view is not a 160 x 120 picture";
        for (int y = GroundTop; y < ViewSurface::Height; ++y) {
            if (std::memcmp(view.row(y), scene.row(y),
                            sizeof(std::uint32_t) * static_cast<std::size_t>(view.width())) != 0)
                return "row " + std::to_string(y) + " differs from scene " + std::to_string(phase);
        }

        // The sky is looked at whole only when its pixels changed.
        if (app.viewRevision() != lastRevision_ && s.VisitorTicks == 0) {
            if (auto fault = checkSky(view, scene, s))
                return fault;
        }

        lastPhase_ = phase;
        lastSceneSets_ = inside.sceneSets;
        lastVisitorTicks_ = s.VisitorTicks;
        lastRevision_ = app.viewRevision();
        return std::nullopt;
    }

    int phaseChanges() const { return phaseChanges_; }
    int flights() const { return flights_; }
    int maxStars() const { return maxStars_; }

private:
    // With no visitor on it the view is the scene plus at most StarsDrawn
    // stars, all inside their band and only in the evening.
    static std::optional<std::string> checkSky(const Picture& view, const Picture& scene,
                                               const ClockState& s)
    {
        int stars = 0;
        for (int y = 0; y < GroundTop; ++y) {
            const std::uint32_t* shown = view.row(y);
            const std::uint32_t* painted = scene.row(y);
            for (int x = 0; x < ViewSurface::Width; ++x) {
                if (shown[x] == painted[x])
                    continue;
                const std::string at = " at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
                if ((shown[x] | 0xff000000u) != StarColour)
                    return "stray pixel" + at;
                if (!isEveningPhase(s.Phase))
                    return "star outside the evening" + at;
                if (x < StarLeft || x > StarRight || y < StarTop || y > StarBottom)
                    return "star outside its band" + at;
                ++stars;
            }
        }
        if (stars > s.StarsDrawn)
            return std::to_string(stars) + " stars shown, " + std::to_string(s.StarsDrawn) +
                   " drawn";
        return std::nullopt;
    }

    std::array<Picture, 7> scenes_;
    int lastPhase_ = PhaseNone;
    int lastSceneSets_ = 0;
    int lastVisitorTicks_ = 0;
    std::uint64_t lastRevision_ = 0;
    int phaseChanges_ = 0;
    int flights_ = 0;
    int maxStars_ = 0;
};

// Seeded draws that never put a visitor's hit on the very next tick. With a
// tick a minute here, flights by chance stay rare (one in about 3000 minutes)
// and the run stays short: every visitor step decodes its frames afresh.
class NoChanceRandom final : public Random {
public:
    explicit NoChanceRandom(std::uint64_t seed) : random_(seed) {}
    double next() override
    {
        const double r = random_.next();
        return r * 3000 < 1 ? r + 1.0 / 3000 : r;
    }

private:
    SeededRandom random_;
};

// The whole program as it starts in a city, watched tick by tick.
template <typename R> struct Soak : Rig<R> {
    using Rig<R>::Rig;
    Watch watch;
};

TEST(Soak, EveryTenthOfASecondOfOneEvening)
{
    // 東京, 2003/5/1: sunset 18:03:36, so day until 17:03:36, night from 18:18:36.
    const LocalDateTime start = at(2003, 5, 1, 16, 50, 0);
    const LocalDateTime end = at(2003, 5, 1, 18, 30, 0);
    // Real chance here: flights also start by themselves, about once in 3000 ticks.
    Soak<SeededRandom> soak(start, DefaultLocationIndex, 20030501);
    ASSERT_EQ(soak.inside().state.Phase, PhaseDay);

    int tick = 0;
    while (wallMilliseconds(soak.clock.now()) < wallMilliseconds(end)) {
        soak.clock.advanceMs(100);
        // A person pressing Shift+F9 now and then, also during a flight.
        if (++tick % 617 == 0)
            soak.app.requestVisitor();
        soak.app.tick();
        if (auto fault = soak.watch.check(soak.app))
            FAIL() << describe(soak.clock.now(), DefaultLocationIndex) << *fault;
    }
    EXPECT_EQ(soak.inside().state.Phase, PhaseNight);
    EXPECT_EQ(soak.watch.phaseChanges(), 3);
    EXPECT_EQ(soak.watch.maxStars(), MaxStars);
    EXPECT_GT(soak.watch.flights(), 10);
}

// What a person sees at a moment: the labels, the picture and the counters.
std::optional<std::string> sameSight(const ClockApp& sleeping, const ClockApp& ticking)
{
    const ClockFace& a = sleeping.face();
    const ClockFace& b = ticking.face();
    if (a.date != b.date || a.weekday != b.weekday || a.weekdayColour != b.weekdayColour ||
        a.time != b.time)
        return "labels " + a.time + " / " + b.time;
    const ClockState s = sleeping.snapshot().state;
    const ClockState t = ticking.snapshot().state;
    if (s.Phase != t.Phase || s.StarsDrawn != t.StarsDrawn || s.StarsWanted != t.StarsWanted ||
        s.VisitorActive != t.VisitorActive || s.VisitorTicks != t.VisitorTicks)
        return "state: phase " + std::to_string(s.Phase) + "/" + std::to_string(t.Phase) +
               " stars " + std::to_string(s.StarsDrawn) + "/" + std::to_string(t.StarsDrawn) +
               " visitor " + std::to_string(s.VisitorTicks) + "/" + std::to_string(t.VisitorTicks);
    if (sleeping.view() != ticking.view())
        return "the pictures differ";
    return std::nullopt;
}

// A clock that sleeps between planned wakes beside one that ticks every
// 100 ms, from the same moment with the same seed: at every wake both must
// show the same. Shift+F9 now and then, on both, right after a wake.
void sleepBesideTicking(const LocalDateTime& start, const LocalDateTime& end, int city,
                        std::uint64_t seed, int* wakes, int* flights)
{
    Soak<SeededRandom> sleeping(start, city, seed);
    Soak<SeededRandom> ticking(start, city, seed);
    int wake = 0;
    int tickingFlights = 0;
    while (wallMilliseconds(sleeping.clock.now()) < wallMilliseconds(end)) {
        const WakePlan plan = sleeping.app.planWake();
        ASSERT_GE(plan.delayMs, 1);
        ASSERT_LE(plan.delayMs, 1000);
        sleeping.clock.advanceMs(plan.delayMs);
        sleeping.app.tick();
        while (wallMilliseconds(ticking.clock.now()) < wallMilliseconds(sleeping.clock.now())) {
            ticking.clock.advanceMs(100);
            ticking.app.tick();
            tickingFlights += ticking.inside().state.VisitorTicks == 1;
        }
        ASSERT_TRUE(ticking.clock.now() == sleeping.clock.now());
        if (auto fault = sleeping.watch.check(sleeping.app))
            FAIL() << describe(sleeping.clock.now(), city) << *fault;
        if (auto fault = sameSight(sleeping.app, ticking.app))
            FAIL() << describe(sleeping.clock.now(), city) << *fault;
        if (++wake % 3001 == 0) {
            sleeping.app.requestVisitor();
            ticking.app.requestVisitor();
        }
    }
    *wakes = wake;
    *flights = sleeping.watch.flights();
    EXPECT_EQ(tickingFlights, *flights);
}

TEST(Soak, ASleepingClockShowsAtEveryWakeWhatTheTickingOneShows)
{
    int wakes = 0;
    int flights = 0;
    // A whole day of 東京 in May, midnight to midnight; under the sanitizers
    // from midnight past sunrise, through dawn and morning into the day.
    const int seconds = Sanitized ? 8 * 3600 : 86400;
    sleepBesideTicking(at(2003, 5, 1, 0, 0, 0), addSecs(at(2003, 5, 1, 0, 0, 0), seconds),
                       DefaultLocationIndex, 20030501, &wakes, &flights);
    if (HasFatalFailure())
        return;
    // A wake a second, and one per tick of every flight.
    EXPECT_GT(flights, seconds / 1000);
    EXPECT_GE(wakes, seconds);
    EXPECT_LT(wakes, seconds + flights * 392 + 100);

    // A winter evening of 札幌, stars and all.
    sleepBesideTicking(at(2003, 12, 20, 15, 30, 0), at(2003, 12, 20, 17, 0, 0), 0, 20031220, &wakes,
                       &flights);
}

class SoakYear : public ::testing::TestWithParam<int> {};

TEST_P(SoakYear, EveryMinuteOfALeapYear)
{
    const int city = GetParam();
    const LocalDateTime start = at(2004, 1, 1, 0, 0, 0);
    Soak<NoChanceRandom> soak(start, city, 2004u + static_cast<unsigned>(city));
    ASSERT_EQ(soak.inside().state.Phase, PhaseNight);

    int days = 0;
    int tick = 0;
    for (Date day = start.date; day.year() == std::chrono::year{2004};
         day = std::chrono::sys_days{day} + std::chrono::days{YearDayStep}) {
        // Each sampled day starts at midnight, in the night phase like the last.
        soak.clock.set(at(day, hms(0, 0)));
        for (int minute = 0; minute < 24 * 60; ++minute) {
            if (minute > 0)
                soak.clock.advanceMs(60 * 1000);
            // About every third day, each time 577 minutes later in the day,
            // so requests fall into every phase and onto its edges.
            if (++tick % (3 * 24 * 60 + 577) == 0)
                soak.app.requestVisitor();
            soak.app.tick();
            if (auto fault = soak.watch.check(soak.app))
                FAIL() << describe(soak.clock.now(), city) << *fault;
        }
        ++days;
    }
    EXPECT_EQ(days, Sanitized ? 53 : 366);
    // Dawn, morning, day, evening, dusk and night, once each every day.
    EXPECT_EQ(soak.watch.phaseChanges(), 6 * days);
    EXPECT_EQ(soak.watch.maxStars(), MaxStars);
    EXPECT_GT(soak.watch.flights(), days / 4);
}

INSTANTIATE_TEST_SUITE_P(AllCities, SoakYear, ::testing::Range(0, LocationCount),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "City" + std::to_string(info.param);
                         });

} // namespace
