#include "common/numbers.h"
#include "sky/suntimes.h"

#include "support/fakes.h"

#include <gtest/gtest.h>

using namespace soramado;
using namespace soramado::fakes;

namespace {

enum City { Sapporo, Sendai, Tokyo, Osaka, Hiroshima, Fukuoka };

SunTimes sunFor(Date day, int city)
{
    LocationArray locations;
    InitLocations(locations);
    return computeSunTimes(day, locations[static_cast<std::size_t>(city)]);
}

struct SunRow {
    const char* name;
    Date day;
    int city;
    const char* sunrise;
    const char* sunset;
};

class SunTimesTable : public ::testing::TestWithParam<SunRow> {};

TEST_P(SunTimesTable, MatchesWorkedValues)
{
    const SunRow& row = GetParam();
    const SunTimes sun = sunFor(row.day, row.city);
    EXPECT_EQ(timeText(sun.Sunrise), std::string(row.sunrise));
    EXPECT_EQ(timeText(sun.Sunset), std::string(row.sunset));
}

INSTANTIATE_TEST_SUITE_P(
    Examples, SunTimesTable,
    ::testing::Values(
        SunRow{"Tokyo_2003_05_01", ymd(2003, 5, 1), Tokyo, "5:18:24", "18:03:36"},
        SunRow{"Tokyo_equinox_March", ymd(2003, 3, 20), Tokyo, "5:41:00", "17:41:00"},
        SunRow{"Osaka_equinox_March", ymd(2003, 3, 20), Osaka, "5:58:00", "17:58:00"},
        SunRow{"Tokyo_equinox_September", ymd(2003, 9, 20), Tokyo, "5:41:00", "17:41:00"},
        SunRow{"Tokyo_2002_03_21", ymd(2002, 3, 21), Tokyo, "5:40:28", "17:41:32"},
        SunRow{"Tokyo_2002_09_21", ymd(2002, 9, 21), Tokyo, "5:41:32", "17:40:28"},
        SunRow{"Sapporo_solstice_June", ymd(2003, 6, 20), Sapporo, "4:34:43", "18:34:37"},
        SunRow{"Tokyo_solstice_June", ymd(2003, 6, 20), Tokyo, "4:50:09", "18:31:51"},
        SunRow{"Fukuoka_solstice_June", ymd(2003, 6, 20), Fukuoka, "5:28:59", "19:07:01"},
        SunRow{"Tokyo_June_21", ymd(2003, 6, 21), Tokyo, "4:50:45", "18:31:15"},
        SunRow{"Tokyo_solstice_December", ymd(2003, 12, 20), Tokyo, "6:31:51", "16:50:09"},
        SunRow{"Sapporo_solstice_December", ymd(2003, 12, 20), Sapporo, "6:34:37", "16:34:43"},
        SunRow{"Tokyo_2002_12_21", ymd(2002, 12, 21), Tokyo, "6:31:14", "16:50:46"},
        SunRow{"Tokyo_2003_01_01", ymd(2003, 1, 1), Tokyo, "6:24:41", "16:57:19"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SunTimes, LeapYearsStretchTheWinterQuarter)
{
    // 1 March lies 19 days before the equinox in any year, but the winter
    // stretch has 91 days in a leap year: a smaller declination, an earlier sunrise.
    EXPECT_EQ(timeText(sunFor(ymd(2004, 3, 1), Tokyo).Sunrise), std::string("5:51:17"));
    EXPECT_EQ(timeText(sunFor(ymd(2003, 3, 1), Tokyo).Sunrise), std::string("5:51:24"));
    // 29 February is an ordinary winter day.
    EXPECT_EQ(timeText(sunFor(ymd(2004, 2, 29), Tokyo).Sunset), std::string("17:30:10"));
    // The stretch from 20 December 2003 reaches into leap-year 2004.
    EXPECT_EQ(timeText(sunFor(ymd(2003, 12, 31), Tokyo).Sunrise), std::string("6:25:21"));
}

TEST(SunTimes, StayWithinTheirBoundsEveryDayFor41Years)
{
    const std::int32_t earliestRise = hms(4, 34, 43), latestRise = hms(7, 7, 1);
    const std::int32_t earliestSet = hms(16, 34, 43), latestSet = hms(19, 7, 1);
    LocationArray locations;
    InitLocations(locations);
    int checked = 0;
    for (Date day = ymd(2000, 1, 1); day <= ymd(2040, 12, 31);
         day = std::chrono::sys_days{day} + std::chrono::days{1}) {
        for (const Location& location : locations) {
            const SunTimes sun = computeSunTimes(day, location);
            ASSERT_GE(sun.Sunrise, earliestRise) << dateLabelText(day);
            ASSERT_LE(sun.Sunrise, latestRise) << dateLabelText(day);
            ASSERT_GE(sun.Sunset, earliestSet) << dateLabelText(day);
            ASSERT_LE(sun.Sunset, latestSet) << dateLabelText(day);
            ++checked;
        }
    }
    EXPECT_EQ(checked, 14976 * 6);
}

TEST(SunTimes, CitiesAreHeldAsSinglePrecision)
{
    LocationArray locations;
    InitLocations(locations);
    EXPECT_EQ(static_cast<double>(locations[Sapporo].Longitude), static_cast<double>(141.333f));
    EXPECT_NEAR(static_cast<double>(locations[Tokyo].Latitude), 35.40000153, 1e-8);
    EXPECT_EQ(cityName(Fukuoka), std::string("福岡"));
}

} // namespace
