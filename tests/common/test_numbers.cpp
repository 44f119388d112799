#include "common/numbers.h"

#include <gtest/gtest.h>

using namespace soramado;

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
    EXPECT_EQ(minutesBetween(QTime(10, 59, 59), QTime(11, 0, 0)), 1);
    EXPECT_EQ(minutesBetween(QTime(11, 0, 0), QTime(11, 0, 59)), 0);
    EXPECT_EQ(minutesBetween(QTime(11, 0, 0), QTime(10, 59, 59)), -1);
    EXPECT_EQ(secondsBetween(QTime(5, 3, 24), QTime(5, 3, 23)), -1);
    EXPECT_EQ(daysBetween(QDate(2003, 5, 1), QDate(2003, 3, 20)), -42);
    EXPECT_EQ(daysBetween(QDate(2000, 12, 31), QDate(2001, 1, 1)), 1);
}

TEST(Numbers, TextPatterns)
{
    EXPECT_EQ(dayKeyText(QDate(2003, 5, 1)), QStringLiteral("2003/05/01"));
    EXPECT_EQ(dateLabelText(QDate(2000, 12, 31)), QStringLiteral("2000年12月31日"));
    EXPECT_EQ(dateLabelText(QDate(2003, 5, 1)), QStringLiteral("2003年5月1日"));
    EXPECT_EQ(weekdayText(QDate(2000, 12, 31)), QStringLiteral("Sun"));
    EXPECT_EQ(weekdayText(QDate(2003, 5, 3)), QStringLiteral("Sat"));
    EXPECT_EQ(timeText(QTime(9, 5, 7)), QStringLiteral("9:05:07"));
    EXPECT_EQ(timeText(QTime(0, 0, 0)), QStringLiteral("0:00:00"));
    EXPECT_EQ(timeText(QTime(23, 59, 59)), QStringLiteral("23:59:59"));
    EXPECT_EQ(twoDigits(7), QStringLiteral("07"));
    EXPECT_EQ(twoDigits(20), QStringLiteral("20"));
}
