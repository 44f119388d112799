#include "common/numbers.h"
#include "sky/phase.h"
#include "sky/stars.h"

#include "support/fakes.h"

#include <gtest/gtest.h>

using namespace soramado;
using namespace soramado::fakes;

namespace {

const SunTimes TokyoMay1{hms(5, 18, 24), hms(18, 3, 36)};

TEST(Phase, ThresholdsAreHalfOpen)
{
    const struct {
        std::int32_t now;
        Phase phase;
    } rows[] = {
        {hms(5, 3, 23), PhaseNight},    {hms(5, 3, 24), PhaseDawn},  {hms(5, 18, 23), PhaseDawn},
        {hms(5, 18, 24), PhaseMorning}, {hms(6, 18, 24), PhaseDay},  {hms(17, 3, 35), PhaseDay},
        {hms(17, 3, 36), PhaseEvening}, {hms(18, 3, 36), PhaseDusk}, {hms(18, 18, 35), PhaseDusk},
        {hms(18, 18, 36), PhaseNight},
    };
    for (const auto& row : rows)
        EXPECT_EQ(phaseAt(row.now, TokyoMay1), row.phase) << timeText(row.now);
}

TEST(Phase, MidnightIsNightEverywhereAllYear)
{
    LocationArray locations;
    InitLocations(locations);
    for (Date day = ymd(2003, 1, 1); day <= ymd(2004, 12, 31);
         day = std::chrono::sys_days{day} + std::chrono::days{1}) {
        for (const Location& location : locations) {
            const SunTimes sun = computeSunTimes(day, location);
            ASSERT_EQ(phaseAt(hms(0, 0, 0), sun), PhaseNight);
            ASSERT_EQ(phaseAt(hms(23, 59, 59), sun), PhaseNight);
        }
    }
}

TEST(Stars, WantedCountFollowsMinuteBoundaries)
{
    const std::int32_t sunset = TokyoMay1.Sunset; // the evening ends at 18:18:36
    const struct {
        std::int32_t now;
        int wanted;
    } rows[] = {
        {hms(17, 3, 36), 0},  {hms(17, 5, 59), 0},   {hms(17, 6, 0), 1},   {hms(17, 10, 59), 1},
        {hms(17, 11, 0), 2},  {hms(18, 1, 0), 12},   {hms(18, 3, 36), 12}, {hms(18, 6, 0), 13},
        {hms(18, 16, 0), 15}, {hms(18, 18, 35), 15},
    };
    for (const auto& row : rows)
        EXPECT_EQ(starsWantedAt(row.now, sunset), row.wanted) << timeText(row.now);
}

TEST(Stars, LandInsideTheirBandWhateverTheDraws)
{
    // Extremes of the draws and of the screen's resolution.
    for (const int twips : {15, 12, 10, 8}) {
        for (const double r : {0.0, 0.999999999, 0.5}) {
            fakes::ScriptedRandom random;
            random.queue(r);
            random.queue(r);
            const PixelPoint p = nextStarPixel(random, twips, twips);
            EXPECT_GE(p.x, 3);
            EXPECT_LE(p.x, 156);
            EXPECT_GE(p.y, 3);
            EXPECT_LE(p.y, 56);
            EXPECT_EQ(random.draws(), 2);
        }
    }
    fakes::ScriptedRandom random;
    random.queue(0.5);
    random.queue(0.25);
    // Column 3 + Int(0.5 × 154), row 3 + Int(0.25 × 54).
    EXPECT_EQ(nextStarPixel(random, 15, 15), (PixelPoint{80, 16}));
}

} // namespace
