#include "platform/posix/systemclock.h"

#include <algorithm>
#include <ctime>
#include <time.h>

namespace soramado {

LocalDateTime SystemClock::now() const
{
    timespec ts{};
    ::clock_gettime(CLOCK_REALTIME, &ts);
    // tzset() looks at /etc/localtime again when TZ is unset, so a zone changed
    // while the clock runs shows on the next tick.
    ::tzset();
    std::tm local{};
    ::localtime_r(&ts.tv_sec, &local);
    using namespace std::chrono;
    LocalDateTime out;
    out.date =
        year_month_day{year{local.tm_year + 1900}, month{static_cast<unsigned>(local.tm_mon + 1)},
                       day{static_cast<unsigned>(local.tm_mday)}};
    // A leap second shows as the last second of the minute.
    out.secondOfDay = local.tm_hour * 3600 + local.tm_min * 60 + std::min(local.tm_sec, 59);
    out.millisecond = static_cast<std::int32_t>(ts.tv_nsec / 1000000);
    return out;
}

} // namespace soramado
