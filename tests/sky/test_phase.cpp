#include "sky/phase.h"
#include "sky/stars.h"

#include "support/fakes.h"

#include <gtest/gtest.h>

using namespace soramado;

namespace {

const SunTimes TokyoMay1{QTime(5, 18, 24), QTime(18, 3, 36)};

TEST(Phase, ThresholdsAreHalfOpen)
{
    const struct {
        QTime now;
        Phase phase;
    } rows[] = {
        {QTime(5, 3, 23), PhaseNight},    {QTime(5, 3, 24), PhaseDawn},
        {QTime(5, 18, 23), PhaseDawn},    {QTime(5, 18, 24), PhaseMorning},
        {QTime(6, 18, 24), PhaseDay},     {QTime(17, 3, 35), PhaseDay},
        {QTime(17, 3, 36), PhaseEvening}, {QTime(18, 3, 36), PhaseDusk},
        {QTime(18, 18, 35), PhaseDusk},   {QTime(18, 18, 36), PhaseNight},
    };
    for (const auto& row : rows)
        EXPECT_EQ(phaseAt(row.now, TokyoMay1), row.phase) << row.now.toString().toStdString();
}

TEST(Phase, MidnightIsNightEverywhereAllYear)
{
    LocationArray locations;
    InitLocations(locations);
    for (QDate day(2003, 1, 1); day <= QDate(2004, 12, 31); day = day.addDays(1)) {
        for (const Location& location : locations) {
            const SunTimes sun = computeSunTimes(day, location);
            ASSERT_EQ(phaseAt(QTime(0, 0, 0), sun), PhaseNight);
            ASSERT_EQ(phaseAt(QTime(23, 59, 59), sun), PhaseNight);
        }
    }
}

TEST(Stars, WantedCountFollowsMinuteBoundaries)
{
    const QTime sunset = TokyoMay1.Sunset; // the evening ends at 18:18:36
    const struct {
        QTime now;
        int wanted;
    } rows[] = {
        {QTime(17, 3, 36), 0},   {QTime(17, 5, 59), 0}, {QTime(17, 6, 0), 1},
        {QTime(17, 10, 59), 1},  {QTime(17, 11, 0), 2}, {QTime(18, 1, 0), 12},
        {QTime(18, 3, 36), 12},  {QTime(18, 6, 0), 13}, {QTime(18, 16, 0), 15},
        {QTime(18, 18, 35), 15},
    };
    for (const auto& row : rows)
        EXPECT_EQ(starsWantedAt(row.now, sunset), row.wanted) << row.now.toString().toStdString();
}

TEST(Stars, LandInsideTheirBandWhateverTheDraws)
{
    // Extremes of the draws and of the screen's resolution.
    for (const int twips : {15, 12, 10, 8}) {
        for (const double r : {0.0, 0.999999999, 0.5}) {
            fakes::ScriptedRandom random;
            random.queue(r);
            random.queue(r);
            const QPoint p = nextStarPixel(random, twips, twips);
            EXPECT_GE(p.x(), 3);
            EXPECT_LE(p.x(), 156);
            EXPECT_GE(p.y(), 3);
            EXPECT_LE(p.y(), 56);
            EXPECT_EQ(random.draws(), 2);
        }
    }
    fakes::ScriptedRandom random;
    random.queue(0.5);
    random.queue(0.25);
    // Column 3 + Int(0.5 × 154), row 3 + Int(0.25 × 54).
    EXPECT_EQ(nextStarPixel(random, 15, 15), QPoint(80, 16));
}

} // namespace
