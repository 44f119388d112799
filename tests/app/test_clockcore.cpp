#include "support/rig.h"

#include <gtest/gtest.h>

#include <type_traits>
#include <utility>

using namespace soramado;
using namespace soramado::fakes;
using soramado::fakes::at;

namespace {

// Outside the core the state can be read, never written.
static_assert(
    std::is_const_v<std::remove_reference_t<decltype(std::declval<ClockCore&>().state())>>);
static_assert(std::is_same_v<decltype(std::declval<ClockApp&>().snapshot()), ClockSnapshot>);

using Rig = fakes::Rig<fakes::ScriptedRandom>;

TEST(ClockTick, FirstTickAfterMidnightRefreshesTheDateOnce)
{
    Rig rig(at(2000, 12, 30, 23, 59, 59, 850));
    EXPECT_EQ(rig.app.face().date, std::string("2000年12月30日"));
    EXPECT_EQ(rig.app.face().weekday, std::string("Sat"));
    EXPECT_EQ(rig.app.face().weekdayColour, SaturdayColour);

    rig.tickAt(at(2000, 12, 30, 23, 59, 59, 950));
    EXPECT_EQ(rig.app.face().date, std::string("2000年12月30日"));
    rig.tickAt(at(2000, 12, 31, 0, 0, 0, 50));
    EXPECT_EQ(rig.app.face().date, std::string("2000年12月31日"));
    EXPECT_EQ(rig.app.face().weekday, std::string("Sun"));
    EXPECT_EQ(rig.app.face().weekdayColour, SundayColour);
    EXPECT_EQ(rig.app.face().time, std::string("0:00:00"));
}

TEST(ClockTick, OrdinaryTicksChangeOnlyTheTime)
{
    Rig rig(at(2003, 5, 1, 9, 5, 6));
    // A stale date shows that an ordinary tick never recomputes it.
    rig.clock.set(at(2003, 5, 1, 9, 5, 7));
    rig.app.tick();
    EXPECT_EQ(rig.app.face().time, std::string("9:05:07"));
    EXPECT_EQ(rig.app.face().date, std::string("2003年5月1日"));
    EXPECT_EQ(rig.app.face().weekdayColour, WeekdayColour);
}

TEST(ClockTick, SettingTheDateBackAlsoRefreshes)
{
    Rig rig(at(2003, 5, 2, 12, 0, 0));
    rig.tickAt(at(2003, 5, 1, 12, 0, 0));
    EXPECT_EQ(rig.app.face().date, std::string("2003年5月1日"));
    EXPECT_EQ(rig.app.face().weekday, std::string("Thu"));
}

TEST(ClockTick, KeysTrackTheDateEachTickSaw)
{
    Rig rig(at(2003, 5, 1, 12, 0, 0));
    EXPECT_EQ(rig.inside().state.TodayKey, ymd(2003, 5, 1));
    EXPECT_EQ(rig.inside().state.LastDayKey, ymd(2003, 5, 1));
    rig.tickAt(at(2003, 5, 3, 1, 0, 0));
    EXPECT_EQ(rig.inside().state.LastDayKey, ymd(2003, 5, 3));
}

TEST(ClockTick, EveryTickComputesTheSunForTheChosenCity)
{
    Rig rig(at(2003, 5, 1, 12, 0, 0));
    EXPECT_EQ(rig.inside().sunTimes.Sunrise, hms(5, 18, 24));
    rig.app.locationCommand(3);
    rig.tickAt(at(2003, 3, 20, 12, 0, 0));
    EXPECT_EQ(rig.inside().sunTimes.Sunrise, hms(5, 58, 0));
}

} // namespace
