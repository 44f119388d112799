#include "win32/systemclock.h"

namespace soramado::win32 {

LocalDateTime fromSystemTime(const SYSTEMTIME& time)
{
    using namespace std::chrono;
    LocalDateTime at;
    at.date = year_month_day{year{time.wYear}, month{time.wMonth}, day{time.wDay}};
    at.secondOfDay = time.wHour * 3600 + time.wMinute * 60 + time.wSecond;
    at.millisecond = time.wMilliseconds;
    return at;
}

LocalDateTime SystemClock::now() const
{
    SYSTEMTIME time{};
    GetLocalTime(&time);
    return fromSystemTime(time);
}

} // namespace soramado::win32
