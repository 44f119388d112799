#pragma once

#include "common/datetime.h"

#include <cmath>
#include <cstdint>
#include <string>

// The clock's arithmetic rules, in one place: how reals become integers, how
// 32-bit floats are formed, how differences of dates and times are counted,
// and the text patterns of the labels and keys.
namespace soramado {

// Nearest integer, an exact half going to the even neighbour (2.5 -> 2, 3.5 -> 4).
std::int32_t roundHalfEven(double value);

// Integer part towards minus infinity.
inline double intFloor(double value)
{
    return std::floor(value);
}

// A value that is held as a 32-bit float is rounded to that precision when formed.
inline float toFloat32(double value)
{
    return static_cast<float>(value);
}

// Differences from a to b counted as unit boundaries crossed; negative when b is earlier.
inline int daysBetween(Date a, Date b)
{
    return static_cast<int>((std::chrono::sys_days{b} - std::chrono::sys_days{a}).count());
}
inline int minutesBetween(std::int32_t a, std::int32_t b)
{
    return b / 60 - a / 60;
}

// "yyyy年m月d日": the date label.
std::string dateLabelText(Date date);
// "ddd": the English weekday abbreviation, whatever the user's language.
std::string weekdayText(Date date);
// "h:nn:ss": the time label, one-digit hours before ten.
std::string timeText(std::int32_t secondOfDay);
// "00": at least two decimal digits.
std::string twoDigits(int value);

} // namespace soramado
