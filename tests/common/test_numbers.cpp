#include "common/numbers.h"

#include "support/fakes.h"

#include <gtest/gtest.h>

using namespace soramado;
using namespace soramado::fakes;

TEST(Numbers, RoundsHalvesToTheEvenNeighbour)
{
    const struct {
        double in;
        int out;
    } rows[] = {{2.5, 2},    {3.5, 4},          {0.5, 0},   {1.5, 2},
                {-0.5, 0},   {-1.5, -2},        {-2.5, -2}, {2.4999, 2},
                {2.5001, 3}, {1356.2416, 1356}, {-3.7, -4}, {3596.7496, 3597}};
    for (const auto& row : rows)
        EXPECT_EQ(roundHalfEven(row.in), row.out) << row.in;
}

TEST(Numbers, IntGoesTowardsMinusInfinity)
{
    EXPECT_EQ(intFloor(2.9), 2.0);
    EXPECT_EQ(intFloor(-0.1), -1.0);
    EXPECT_EQ(intFloor(-2.0), -2.0);
}

TEST(Numbers, DifferencesCountBoundariesCrossed)
{
    // 10:59:59 to 11:00:00 crosses one minute boundary though only a second passes.
    EXPECT_EQ(minutesBetween(hms(10, 59, 59), hms(11, 0, 0)), 1);
    EXPECT_EQ(minutesBetween(hms(11, 0, 0), hms(11, 0, 59)), 0);
    EXPECT_EQ(minutesBetween(hms(11, 0, 0), hms(10, 59, 59)), -1);
    EXPECT_EQ(daysBetween(ymd(2003, 5, 1), ymd(2003, 3, 20)), -42);
    EXPECT_EQ(daysBetween(ymd(2000, 12, 31), ymd(2001, 1, 1)), 1);
}

TEST(Numbers, TextPatterns)
{
    EXPECT_EQ(dateLabelText(ymd(2000, 12, 31)), std::string("2000年12月31日"));
    EXPECT_EQ(dateLabelText(ymd(2003, 5, 1)), std::string("2003年5月1日"));
    EXPECT_EQ(weekdayText(ymd(2000, 12, 31)), std::string("Sun"));
    EXPECT_EQ(weekdayText(ymd(2003, 5, 3)), std::string("Sat"));
    EXPECT_EQ(timeText(hms(9, 5, 7)), std::string("9:05:07"));
    EXPECT_EQ(timeText(hms(0, 0, 0)), std::string("0:00:00"));
    EXPECT_EQ(timeText(hms(23, 59, 59)), std::string("23:59:59"));
    EXPECT_EQ(twoDigits(7), std::string("07"));
    EXPECT_EQ(twoDigits(20), std::string("20"));
}
