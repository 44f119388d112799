#pragma once

#include <chrono>
#include <cstdint>

// Calendar dates and times of day as the clock uses them: a local date from
// <chrono> and whole seconds since local midnight.
namespace soramado {

using Date = std::chrono::year_month_day;

constexpr std::int32_t SecondsPerDay = 24 * 60 * 60;

// A local moment as the system clock tells it.
struct LocalDateTime {
    std::chrono::year_month_day date; // the local calendar date
    std::int32_t secondOfDay = 0;     // 0 .. 86399
    std::int32_t millisecond = 0;     // 0 .. 999
    bool operator==(const LocalDateTime&) const = default;
};

constexpr std::int32_t secondOfDay(int hour, int minute, int second)
{
    return hour * 3600 + minute * 60 + second;
}

// A time of day moved by some seconds, wrapping around midnight.
constexpr std::int32_t addSeconds(std::int32_t timeOfDay, std::int64_t seconds)
{
    const std::int64_t t = (timeOfDay + seconds) % SecondsPerDay;
    return static_cast<std::int32_t>(t < 0 ? t + SecondsPerDay : t);
}

// Milliseconds from 1970-01-01 00:00 on the same wall clock; for seeds and arithmetic.
std::int64_t wallMilliseconds(const LocalDateTime& at);
LocalDateTime fromWallMilliseconds(std::int64_t ms);

inline LocalDateTime addMilliseconds(const LocalDateTime& at, std::int64_t ms)
{
    return fromWallMilliseconds(wallMilliseconds(at) + ms);
}

// Monday 1 … Sunday 7.
inline int isoWeekday(Date date)
{
    return static_cast<int>(std::chrono::weekday{std::chrono::sys_days{date}}.iso_encoding());
}

} // namespace soramado
