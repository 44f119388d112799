#include "common/numbers.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace soramado {

std::int32_t roundHalfEven(double value)
{
    const double down = std::floor(value);
    const double fraction = value - down;
    double result = down;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(down, 2.0) != 0.0))
        result = down + 1.0;
    return static_cast<std::int32_t>(result);
}

std::string dateLabelText(Date date)
{
    char text[48];
    std::snprintf(text, sizeof text, "%04d年%u月%u日", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return text;
}

std::string weekdayText(Date date)
{
    static const std::array<const char*, 7> names = {"Mon", "Tue", "Wed", "Thu",
                                                     "Fri", "Sat", "Sun"};
    return names[static_cast<std::size_t>(isoWeekday(date) - 1)];
}

std::string timeText(std::int32_t secondOfDay)
{
    // Built by hand: this runs ten times a second.
    char text[8];
    std::size_t n = 0;
    const int hour = secondOfDay / 3600;
    const int minute = secondOfDay / 60 % 60;
    const int second = secondOfDay % 60;
    if (hour >= 10)
        text[n++] = static_cast<char>('0' + hour / 10);
    text[n++] = static_cast<char>('0' + hour % 10);
    for (const int part : {minute, second}) {
        text[n++] = ':';
        text[n++] = static_cast<char>('0' + part / 10);
        text[n++] = static_cast<char>('0' + part % 10);
    }
    return std::string(text, n);
}

std::string twoDigits(int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

} // namespace soramado
