#include "common/numbers.h"
#include "support/rig.h"

#include <gtest/gtest.h>

using namespace soramado;
using namespace soramado::fakes;

namespace {

using SpreadRig = Rig<SpreadRandom>;

// 東京, 1 May 2003: sunset 18:03:36, the evening runs 17:03:36 – 18:18:36.
LocalDateTime may1(int h, int m, int s, int ms = 0)
{
    return at(2003, 5, 1, h, m, s, ms);
}

TEST(EveningStars, ComeOutOneByOneThroughTheEvening)
{
    SpreadRig rig(may1(17, 3, 35));
    EXPECT_EQ(rig.inside().state.Phase, PhaseDay);

    rig.tickAt(may1(17, 3, 36));
    EXPECT_EQ(rig.inside().state.Phase, PhaseEvening);
    EXPECT_EQ(rig.view(), sceneImage(PhaseEvening));

    // Star n comes out at the full minute, never a tick earlier.
    const std::int32_t dueTimes[] = {hms(17, 6),  hms(17, 11), hms(17, 16), hms(17, 21),
                                     hms(17, 26), hms(17, 31), hms(17, 36), hms(17, 41),
                                     hms(17, 46), hms(17, 51), hms(17, 56), hms(18, 1)};
    int expected = 0;
    for (const std::int32_t due : dueTimes) {
        const LocalDateTime moment = at(ymd(2003, 5, 1), due);
        rig.tickAt(addMilliseconds(moment, -100));
        EXPECT_EQ(countStars(rig.view()), expected) << timeText(due);
        rig.tickAt(moment);
        EXPECT_EQ(countStars(rig.view()), ++expected) << timeText(due);
    }

    // Sunset: the dusk scene wipes the twelve and twelve new ones come at once.
    rig.tickAt(may1(18, 3, 35, 900));
    EXPECT_EQ(rig.inside().state.Phase, PhaseEvening);
    rig.tickAt(may1(18, 3, 36));
    EXPECT_EQ(rig.inside().state.Phase, PhaseDusk);
    EXPECT_EQ(countStars(rig.view()), 12);

    for (const auto& [due, count] : {std::pair{hms(18, 6, 0), 13}, std::pair{hms(18, 11, 0), 14},
                                     std::pair{hms(18, 16, 0), 15}}) {
        rig.tickAt(addMilliseconds(at(ymd(2003, 5, 1), due), -100));
        EXPECT_EQ(countStars(rig.view()), count - 1);
        rig.tickAt(at(ymd(2003, 5, 1), due));
        EXPECT_EQ(countStars(rig.view()), count);
    }

    rig.tickAt(may1(18, 18, 36));
    EXPECT_EQ(rig.inside().state.Phase, PhaseNight);
    EXPECT_EQ(rig.inside().state.StarsWanted, 0);
    EXPECT_EQ(countStars(rig.view()), 0);
    EXPECT_EQ(rig.view(), sceneImage(PhaseNight));
}

TEST(EveningStars, StartingLateShowsEveryStarDueAtOnce)
{
    SpreadRig rig(may1(18, 10, 0));
    EXPECT_EQ(rig.inside().state.Phase, PhaseDusk);
    EXPECT_EQ(countStars(rig.view()), 13);
    EXPECT_EQ(rig.inside().state.StarsDrawn, 13);
}

TEST(EveningStars, ClockSetForwardDrawsTheMissingStarsInOneRun)
{
    SpreadRig rig(may1(17, 10, 0));
    EXPECT_EQ(countStars(rig.view()), 1);
    const int drawsBefore = rig.random.draws();
    rig.tickAt(may1(17, 40, 0));
    EXPECT_EQ(countStars(rig.view()), 7);
    // Two draws per new star, x then y; the visitor's chance draws only on a hit.
    EXPECT_EQ(rig.random.draws() - drawsBefore, 6 * 2);
}

TEST(EveningStars, ClockSetBackShowsOnlyTheStarsNowDue)
{
    SpreadRig rig(may1(17, 50, 0));
    EXPECT_EQ(countStars(rig.view()), 9);
    rig.tickAt(may1(17, 20, 0));
    EXPECT_EQ(rig.inside().state.StarsWanted, 3);
    EXPECT_EQ(rig.inside().state.StarsDrawn, 3);
    EXPECT_EQ(countStars(rig.view()), 3);
    rig.tickAt(may1(17, 21, 0));
    EXPECT_EQ(countStars(rig.view()), 4);
}

TEST(EveningStars, ClockSetBackAcrossSunsetRebuildsTheEvening)
{
    SpreadRig rig(may1(18, 10, 0));
    rig.tickAt(may1(17, 53, 36)); // sunset − 10 min
    EXPECT_EQ(rig.inside().state.Phase, PhaseEvening);
    EXPECT_EQ(countStars(rig.view()), 10);
}

TEST(EveningStars, AnotherCityCanBringTheEveningAtOnce)
{
    // At 17:20 on 20 December it is night in 札幌 and evening in 福岡.
    SpreadRig rig(at(2003, 12, 20, 17, 20, 0), 0);
    EXPECT_EQ(rig.inside().state.Phase, PhaseNight);
    rig.app.locationCommand(5);
    rig.tickAt(at(2003, 12, 20, 17, 20, 0, 100));
    EXPECT_EQ(rig.inside().state.Phase, PhaseEvening);
    EXPECT_EQ(countStars(rig.view()), 10);
}

TEST(EveningStars, StayInTheUpperBandWithAnyGeneratorAndScreen)
{
    for (const int twips : {15, 12, 10}) {
        for (const std::uint64_t seed : {1u, 2u, 3u, 42u, 2003u}) {
            SeededRandom random(seed);
            HeadlessClock headless(random, may1(18, 18, 0));
            headless.screen.twipsX = twips;
            headless.screen.twipsY = twips;
            headless.app.startUp();
            const Picture& view = headless.app.view();
            int stars = 0;
            for (int y = 0; y < view.height(); ++y)
                for (int x = 0; x < view.width(); ++x)
                    if (view.pixel(x, y) == StarColour) {
                        ++stars;
                        EXPECT_TRUE(x >= 3 && x <= 156 && y >= 3 && y <= 56) << x << "," << y;
                    }
            EXPECT_GE(stars, 13);
        }
    }
}

TEST(Scene, IsSetOnlyWhenThePhaseChanges)
{
    // A whole day, one tick a second: the start plus six changes.
    SpreadRig rig(at(2003, 5, 1, 0, 0, 0));
    for (int s = 1; s < 24 * 3600; ++s)
        rig.tickAt(addSecs(at(2003, 5, 1), s));
    EXPECT_EQ(rig.inside().sceneSets, 7);
    EXPECT_EQ(rig.inside().state.Phase, PhaseNight);
}

TEST(Scene, FollowsThePhaseEvenWhenTheClockJumps)
{
    SpreadRig rig(may1(12, 0, 0));
    EXPECT_EQ(rig.view(), sceneImage(PhaseDay));
    const struct {
        std::int32_t time;
        Phase phase;
    } jumps[] = {{hms(20, 0), PhaseNight},
                 {hms(5, 10), PhaseDawn},
                 {hms(5, 30), PhaseMorning},
                 {hms(12, 0), PhaseDay},
                 {hms(3, 0), PhaseNight}};
    for (const auto& jump : jumps) {
        rig.tickAt(at(ymd(2003, 5, 1), jump.time));
        EXPECT_EQ(rig.inside().state.Phase, jump.phase);
        EXPECT_EQ(rig.view(), sceneImage(jump.phase));
    }
}

} // namespace
