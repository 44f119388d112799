// Faults that only show in the exact pixels of a tick: the order of the random
// draws, the evening snapshot when the clock goes back, what a flight leaves
// behind, and the turn of the day.
#include "app/headless.h"
#include "app/wakeplan.h"
#include "support/rig.h"

#include <gtest/gtest.h>

#include <vector>

using namespace soramado;
using namespace soramado::fakes;

namespace {

// 東京, 1 May 2003: dawn until 5:2x, sunset 18:03:36, night from 18:18:36.
LocalDateTime may1(int h, int m, int s, int ms = 0)
{
    return at(2003, 5, 1, h, m, s, ms);
}

Picture withStars(Picture image, const std::vector<PixelPoint>& stars)
{
    for (const PixelPoint& p : stars)
        image.setPixel(p.x, p.y, StarColour);
    return image;
}

// Ticks until the visitor has gone; false if it never does.
template <typename R> bool finishFlight(Rig<R>& rig)
{
    for (int i = 0; i < 600 && rig.inside().state.VisitorActive; ++i)
        rig.tick();
    return !rig.inside().state.VisitorActive;
}

TEST(TickFaults, ANewStarTakesTwoDrawsThenTheVisitorsHitTakesOne)
{
    // The first draw puts the visitor's hit on the very next tick, the one
    // that brings the evening's first star.
    ScriptedRandom random;
    random.queue(0.0);
    HeadlessClock headless(random, may1(17, 5, 59, 900));
    headless.app.startUp();
    ClockApp& app = headless.app;
    ASSERT_EQ(app.snapshot().state.Phase, PhaseEvening);
    ASSERT_EQ(app.snapshot().state.StarsDrawn, 0);
    ASSERT_EQ(app.snapshot().ticksToHit, 1);
    // x, then y of the first star, then the hit's draw of the next wait. Any
    // other order puts the star elsewhere or the next hit somewhere else.
    random.queue(0.0);
    random.queue(0.5);
    random.queue(0.25);
    const int before = random.draws();
    headless.clock.set(may1(17, 6, 0));
    app.tick();
    EXPECT_EQ(random.draws() - before, 3);
    EXPECT_TRUE(app.snapshot().state.VisitorActive);
    EXPECT_EQ(app.view(), composed(withStars(sceneImage(PhaseEvening), {{3, 30}}), 1, 1));
    EXPECT_EQ(app.snapshot().ticksToHit, ticksToHit(0.25));
}

TEST(TickFaults, ClockSetBackDuringAnEveningFlightKeepsOnlyTheStarsNowDue)
{
    Rig<SpreadRandom> rig(may1(17, 50, 0));
    ASSERT_EQ(countStars(rig.view()), 9);
    rig.app.requestVisitor();
    for (int i = 0; i < 10; ++i)
        rig.tick();
    ASSERT_TRUE(rig.inside().state.VisitorActive);

    rig.tickAt(may1(17, 20, 0));
    EXPECT_EQ(rig.inside().state.StarsDrawn, 3);
    ASSERT_TRUE(finishFlight(rig));
    // The clean background the flight restores holds the three stars due now,
    // not the nine from half an hour later.
    EXPECT_EQ(countStars(rig.view()), 3);
    EXPECT_EQ(countPixels(rig.view(), 0xff480404u), 0);
}

struct FlightCase {
    const char* name;
    LocalDateTime start;
    Phase phase;
    std::vector<double> draws; // queued before start-up
    std::vector<PixelPoint> starsBefore;
    std::vector<PixelPoint> starsAfter; // including any that came out mid-flight
};

void PrintTo(const FlightCase& c, std::ostream* os)
{
    *os << c.name;
}

class BirdFlight : public testing::TestWithParam<FlightCase> {};

// The scripted generator answers 0.5 once its queue is empty: every star
// beyond the queued ones lands on (80, 30).
INSTANTIATE_TEST_SUITE_P(
    TickFaults, BirdFlight,
    testing::Values(FlightCase{"Dawn", may1(5, 10, 0), PhaseDawn, {}, {}, {}},
                    // Three stars at start-up, a fourth at 17:21:00 during the flight.
                    FlightCase{"Evening",
                               may1(17, 20, 58),
                               PhaseEvening,
                               {0.0, 0.0, 0.999, 0.999, 0.25, 0.75},
                               {{3, 3}, {156, 56}, {41, 43}},
                               {{3, 3}, {156, 56}, {41, 43}, {80, 30}}},
                    FlightCase{"Dusk",
                               may1(18, 10, 0),
                               PhaseDusk,
                               {0.0, 0.0},
                               {{3, 3}, {80, 30}},
                               {{3, 3}, {80, 30}}}),
    [](const testing::TestParamInfo<FlightCase>& info) { return std::string(info.param.name); });

TEST_P(BirdFlight, LeavesExactlyTheBackgroundWithItsStars)
{
    const FlightCase& c = GetParam();
    Rig<ScriptedRandom> rig(may1(12, 0, 0));
    for (double d : c.draws) // taken by the stars of the jump into the phase
        rig.random.queue(d);
    rig.tickAt(c.start);
    ASSERT_EQ(rig.inside().state.Phase, c.phase);
    const Picture scene = sceneImage(c.phase);
    ASSERT_EQ(rig.view(), withStars(scene, c.starsBefore));

    rig.app.requestVisitor();
    rig.tick();
    EXPECT_EQ(rig.view(), composed(withStars(scene, c.starsBefore), 1, 1));
    ASSERT_TRUE(finishFlight(rig));
    EXPECT_EQ(rig.view(), withStars(scene, c.starsAfter));
}

TEST(TickFaults, TheViewCrossesMidnightUntouched)
{
    // A shooting star that starts before midnight flies on into the new day,
    // and the night scene is not set again because the date changed.
    Rig<ScriptedRandom> rig(may1(23, 59, 59, 800));
    ASSERT_EQ(rig.inside().state.Phase, PhaseNight);
    const int sceneSets = rig.inside().sceneSets;
    rig.app.requestVisitor();
    rig.tick();
    EXPECT_EQ(rig.view(), composed(sceneImage(PhaseNight), 6, 1));
    rig.tick(); // 00:00:00.000 on 2 May
    EXPECT_EQ(rig.inside().state.TodayKey, ymd(2003, 5, 2));
    EXPECT_EQ(rig.view(), composed(sceneImage(PhaseNight), 6, 2));
    ASSERT_TRUE(finishFlight(rig));
    EXPECT_EQ(rig.view(), sceneImage(PhaseNight));
    EXPECT_EQ(rig.inside().sceneSets, sceneSets);
    // The new day's sun is the one the phases now follow.
    const SunTimes next = computeSunTimes(
        ymd(2003, 5, 2),
        rig.inside().state.Locations[static_cast<std::size_t>(DefaultLocationIndex)]);
    EXPECT_EQ(rig.inside().sunTimes.Sunrise, next.Sunrise);
    EXPECT_EQ(rig.inside().sunTimes.Sunset, next.Sunset);
}

} // namespace
