#pragma once

#include <QDate>
#include <QString>
#include <QTime>

#include <cmath>
#include <cstdint>

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
inline int daysBetween(QDate a, QDate b)
{
    return static_cast<int>(a.daysTo(b));
}
inline int minutesBetween(QTime a, QTime b)
{
    return (b.hour() * 60 + b.minute()) - (a.hour() * 60 + a.minute());
}
inline int secondsBetween(QTime a, QTime b)
{
    return (b.hour() * 3600 + b.minute() * 60 + b.second()) -
           (a.hour() * 3600 + a.minute() * 60 + a.second());
}

// "yyyy/mm/dd": the day key.
QString dayKeyText(QDate date);
// "yyyy年m月d日": the date label.
QString dateLabelText(QDate date);
// "ddd": the English weekday abbreviation, whatever the user's language.
QString weekdayText(QDate date);
// "h:nn:ss": the time label, one-digit hours before ten.
QString timeText(QTime time);
// "00": at least two decimal digits.
QString twoDigits(int value);

} // namespace soramado
