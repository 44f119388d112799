#include "visitors/visitors.h"

#include "support/rig.h"

#include <gtest/gtest.h>

#include <cstring>

#include <vector>

using namespace soramado;
using namespace soramado::fakes;

namespace {

using ScriptRig = Rig<ScriptedRandom>;
using SpreadRig = Rig<SpreadRandom>;

// 東京, 1 May 2003: sunrise 5:18:24, sunset 18:03:36.
const LocalDateTime Night = at(2003, 5, 1, 22, 0, 0);
const LocalDateTime Morning = at(2003, 5, 1, 5, 30, 0);
const LocalDateTime Noon = at(2003, 5, 1, 12, 0, 0);
const LocalDateTime Evening = at(2003, 5, 1, 17, 30, 0);

// The frame on each drawing step, until the ending step (0).
std::vector<int> schedule(int ticksPerFrame, int frameCount)
{
    std::vector<int> frames;
    for (std::int16_t ticks = 0;; ++ticks) {
        const int frame = frameForTicks(ticks, static_cast<std::int16_t>(ticksPerFrame));
        if (frame > frameCount)
            return frames;
        frames.push_back(frame);
    }
}

TEST(VisitorSchedule, FramesFollowTheHalfToEvenRounding)
{
    EXPECT_EQ(schedule(1, 4), (std::vector<int>{1, 2, 3, 4}));

    const auto bird = schedule(5, 10);
    ASSERT_EQ(bird.size(), 48u);
    for (int step = 1; step <= 48; ++step) {
        const int expected = step <= 3 ? 1 : (step + 6) / 5; // frame k on steps 5k−6 … 5k−2
        EXPECT_EQ(bird[static_cast<std::size_t>(step - 1)], expected) << "step " << step;
    }

    const auto cloud = schedule(20, 20);
    ASSERT_EQ(cloud.size(), 391u);
    std::vector<int> lengths(21, 0);
    for (const int frame : cloud)
        ++lengths[static_cast<std::size_t>(frame)];
    EXPECT_EQ(lengths[1], 10);
    for (int frame = 2; frame <= 20; ++frame)
        EXPECT_EQ(lengths[static_cast<std::size_t>(frame)], frame % 2 == 0 ? 21 : 19) << frame;
    EXPECT_EQ(cloud[30], 2); // step 31: 2.5 rounds to 2
    EXPECT_EQ(cloud[50], 4); // step 51: 3.5 rounds to 4
}

// Runs a requested flight to its end; returns the number of steps that drew.
int fly(ScriptRig& rig, std::vector<Picture>* views = nullptr)
{
    rig.app.requestVisitor();
    int drawing = 0;
    for (int guard = 0; guard < 1000; ++guard) {
        rig.tick();
        if (!rig.inside().state.VisitorActive)
            return drawing;
        ++drawing;
        if (views)
            views->push_back(rig.view());
    }
    return -1;
}

TEST(Visitors, EachPhaseFliesItsOwnVisitorForItsSteps)
{
    const struct {
        const char* name;
        LocalDateTime start;
        int visitor;
        int ticksPerFrame;
        int frames;
        int drawingSteps;
    } rows[] = {
        {"shooting star at night", Night, 6, 1, 4, 4},
        {"bird in the morning", Morning, 1, 5, 10, 48},
        {"cloud by day", Noon, 3, 20, 20, 391},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ScriptRig rig(row.start);
        const int phase = rig.inside().state.Phase;
        std::vector<Picture> views;
        EXPECT_EQ(fly(rig, &views), row.drawingSteps);
        const auto frames = schedule(row.ticksPerFrame, row.frames);
        ASSERT_EQ(views.size(), frames.size());
        for (std::size_t i = 0; i < views.size(); ++i)
            ASSERT_EQ(views[i], composed(sceneImage(phase), row.visitor, frames[i]))
                << "step " << i + 1;
        // The ending step leaves the clean scene, and nothing is left counting.
        EXPECT_EQ(rig.view(), sceneImage(phase));
        EXPECT_EQ(rig.inside().state.VisitorTicks, 0);
    }
}

TEST(Visitors, NeverTouchTheLandscape)
{
    ScriptRig rig(Noon);
    const Picture scene = sceneImage(PhaseDay);
    rig.app.requestVisitor();
    for (int step = 0; step < 392; ++step) {
        rig.tick();
        for (int y = 80; y < 120; ++y)
            ASSERT_EQ(0,
                      std::memcmp(rig.view().row(y), scene.row(y),
                                  sizeof(std::uint32_t) * static_cast<std::size_t>(scene.width())))
                << "row " << y << " step " << step;
    }
}

TEST(Visitors, ShiftF9RequestsAreTakenOnlyWhenIdleAndInAnUnchangedPhase)
{
    ScriptRig rig(Night);
    rig.app.requestVisitor();
    rig.tick();
    EXPECT_EQ(rig.view(), composed(sceneImage(PhaseNight), 6, 1));
    rig.tick();
    rig.app.requestVisitor(); // while running: no restart
    rig.tick();
    EXPECT_EQ(rig.view(), composed(sceneImage(PhaseNight), 6, 3));
    EXPECT_EQ(rig.inside().state.VisitorTicks, 3);

    // A request on the tick before a phase change is dropped by that change.
    ScriptRig late(at(2003, 5, 1, 5, 3, 23, 900)); // dawn begins at 5:03:24
    late.app.requestVisitor();
    late.tick();
    EXPECT_EQ(late.inside().state.Phase, PhaseDawn);
    EXPECT_FALSE(late.inside().state.VisitorActive);
    EXPECT_EQ(late.view(), sceneImage(PhaseDawn));
}

TEST(Visitors, APhaseChangeCancelsAFlightAtOnce)
{
    ScriptRig rig(at(2003, 5, 1, 17, 3, 30)); // day, six seconds before the evening
    rig.app.requestVisitor();
    for (int i = 0; i < 50; ++i)
        rig.tick();
    ASSERT_TRUE(rig.inside().state.VisitorActive);
    rig.tickAt(at(2003, 5, 1, 17, 3, 36));
    EXPECT_EQ(rig.inside().state.Phase, PhaseEvening);
    EXPECT_FALSE(rig.inside().state.VisitorActive);
    EXPECT_EQ(rig.inside().state.VisitorTicks, 0);
    EXPECT_EQ(rig.view(), sceneImage(PhaseEvening));
}

TEST(Visitors, ChanceStartsOnItsTickButNothingOnAPhaseChange)
{
    // The first view update draws which tick holds the first hit; a draw
    // below 1/3000 puts it on the very next tick.
    ScriptedRandom random;
    random.queue(0.0);
    HeadlessClock headless(random, Noon);
    SettableClock& clock = headless.clock;
    ClockApp& app = headless.app;
    headless.app.startUp();
    EXPECT_FALSE(app.snapshot().state.VisitorActive);
    EXPECT_EQ(app.view(), sceneImage(PhaseDay));
    EXPECT_EQ(app.snapshot().ticksToHit, 1);

    clock.advanceMs(100);
    app.tick();
    EXPECT_TRUE(app.snapshot().state.VisitorActive);
    EXPECT_EQ(app.snapshot().state.VisitorTicks, 1);
    // The hit drew the next one.
    EXPECT_EQ(random.draws(), 2);

    // A hit on the tick that enters the evening (17:03:36) starts nothing.
    SettableClock late(at(2003, 5, 1, 17, 3, 35, 950));
    ScriptedRandom lateRandom;
    lateRandom.queue(0.0);
    ClockCore evening(late, lateRandom);
    evening.startUp(DefaultLocationIndex);
    ASSERT_EQ(evening.state().Phase, PhaseDay);
    late.advanceMs(100);
    evening.tick();
    EXPECT_EQ(evening.state().Phase, PhaseEvening);
    EXPECT_FALSE(evening.state().VisitorActive);
    EXPECT_EQ(evening.view().image(), sceneImage(PhaseEvening));
}

TEST(Visitors, EveningStarsStayBehindTheBirdAndAfterIt)
{
    SpreadRig rig(Evening); // 17:30: five stars out, the sixth due at 17:31:00
    ASSERT_EQ(countStars(rig.view()), 5);
    rig.tickAt(at(2003, 5, 1, 17, 30, 58));
    rig.app.requestVisitor();
    int steps = 0;
    while (steps < 60) {
        rig.tick();
        ++steps;
        if (!rig.inside().state.VisitorActive)
            break;
        // The stars behind the bird: five until 17:31:00, six after.
        EXPECT_GE(countStars(rig.view()), 4); // the bird may hide one
    }
    EXPECT_EQ(steps, 49);
    // The star that came out mid-flight is there after the bird has gone.
    EXPECT_EQ(rig.inside().state.StarsDrawn, 6);
    EXPECT_EQ(countStars(rig.view()), 6);
}

} // namespace
