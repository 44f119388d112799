#include "common/numbers.h"

#include <array>
#include <cmath>

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

QString dayKeyText(QDate date)
{
    return QStringLiteral("%1/%2/%3")
        .arg(date.year(), 4, 10, QLatin1Char('0'))
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.day(), 2, 10, QLatin1Char('0'));
}

QString dateLabelText(QDate date)
{
    return QStringLiteral("%1年%2月%3日")
        .arg(date.year(), 4, 10, QLatin1Char('0'))
        .arg(date.month())
        .arg(date.day());
}

QString weekdayText(QDate date)
{
    static const std::array<const char*, 7> names = {"Mon", "Tue", "Wed", "Thu",
                                                     "Fri", "Sat", "Sun"};
    return QString::fromLatin1(names[static_cast<std::size_t>(date.dayOfWeek() - 1)]);
}

QString timeText(QTime time)
{
    return QStringLiteral("%1:%2:%3")
        .arg(time.hour())
        .arg(time.minute(), 2, 10, QLatin1Char('0'))
        .arg(time.second(), 2, 10, QLatin1Char('0'));
}

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace soramado
