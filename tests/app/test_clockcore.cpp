#include "support/rig.h"

#include <gtest/gtest.h>

using namespace soramado;
using namespace soramado::fakes;
using soramado::fakes::at;

namespace {

using Rig = fakes::Rig<fakes::ScriptedRandom>;

TEST(ClockTick, FirstTickAfterMidnightRefreshesTheDateOnce)
{
    Rig rig(at(2000, 12, 30, 23, 59, 59, 850));
    EXPECT_EQ(rig.core.face().date, std::string("2000年12月30日"));
    EXPECT_EQ(rig.core.face().weekday, std::string("Sat"));
    EXPECT_EQ(rig.core.face().weekdayColour, SaturdayColour);

    rig.tickAt(at(2000, 12, 30, 23, 59, 59, 950));
    EXPECT_EQ(rig.core.face().date, std::string("2000年12月30日"));
    rig.tickAt(at(2000, 12, 31, 0, 0, 0, 50));
    EXPECT_EQ(rig.core.face().date, std::string("2000年12月31日"));
    EXPECT_EQ(rig.core.face().weekday, std::string("Sun"));
    EXPECT_EQ(rig.core.face().weekdayColour, SundayColour);
    EXPECT_EQ(rig.core.face().time, std::string("0:00:00"));
}

TEST(ClockTick, OrdinaryTicksChangeOnlyTheTime)
{
    Rig rig(at(2003, 5, 1, 9, 5, 6));
    // A stale date shows that an ordinary tick never recomputes it.
    rig.clock.set(at(2003, 5, 1, 9, 5, 7));
    rig.core.tick();
    EXPECT_EQ(rig.core.face().time, std::string("9:05:07"));
    EXPECT_EQ(rig.core.face().date, std::string("2003年5月1日"));
    EXPECT_EQ(rig.core.face().weekdayColour, WeekdayColour);
}

TEST(ClockTick, SettingTheDateBackAlsoRefreshes)
{
    Rig rig(at(2003, 5, 2, 12, 0, 0));
    rig.tickAt(at(2003, 5, 1, 12, 0, 0));
    EXPECT_EQ(rig.core.face().date, std::string("2003年5月1日"));
    EXPECT_EQ(rig.core.face().weekday, std::string("Thu"));
}

TEST(ClockTick, KeysTrackTheDateEachTickSaw)
{
    Rig rig(at(2003, 5, 1, 12, 0, 0));
    EXPECT_EQ(rig.core.state().TodayKey, ymd(2003, 5, 1));
    EXPECT_EQ(rig.core.state().LastDayKey, ymd(2003, 5, 1));
    rig.tickAt(at(2003, 5, 3, 1, 0, 0));
    EXPECT_EQ(rig.core.state().LastDayKey, ymd(2003, 5, 3));
}

TEST(ClockTick, EveryTickComputesTheSunForTheChosenCity)
{
    Rig rig(at(2003, 5, 1, 12, 0, 0));
    EXPECT_EQ(rig.core.sunTimes().Sunrise, hms(5, 18, 24));
    rig.app.locationCommand(3);
    rig.tickAt(at(2003, 3, 20, 12, 0, 0));
    EXPECT_EQ(rig.core.sunTimes().Sunrise, hms(5, 58, 0));
}

} // namespace
