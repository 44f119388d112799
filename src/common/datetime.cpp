#include "common/datetime.h"

namespace soramado {

std::int64_t wallMilliseconds(const LocalDateTime& at)
{
    const std::int64_t days = std::chrono::sys_days{at.date}.time_since_epoch().count();
    return (days * SecondsPerDay + at.secondOfDay) * 1000 + at.millisecond;
}

LocalDateTime fromWallMilliseconds(std::int64_t ms)
{
    constexpr std::int64_t MsPerDay = std::int64_t{SecondsPerDay} * 1000;
    std::int64_t days = ms / MsPerDay;
    std::int64_t rest = ms % MsPerDay;
    if (rest < 0) {
        rest += MsPerDay;
        --days;
    }
    LocalDateTime out;
    out.date = Date{std::chrono::sys_days{std::chrono::days{days}}};
    out.secondOfDay = static_cast<std::int32_t>(rest / 1000);
    out.millisecond = static_cast<std::int32_t>(rest % 1000);
    return out;
}

} // namespace soramado
