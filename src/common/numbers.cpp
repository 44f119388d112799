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
    // Built by hand: this runs ten times a second.
    char16_t text[8];
    int n = 0;
    const int hour = time.hour();
    if (hour >= 10)
        text[n++] = static_cast<char16_t>(u'0' + hour / 10);
    text[n++] = static_cast<char16_t>(u'0' + hour % 10);
    for (const int part : {time.minute(), time.second()}) {
        text[n++] = u':';
        text[n++] = static_cast<char16_t>(u'0' + part / 10);
        text[n++] = static_cast<char16_t>(u'0' + part % 10);
    }
    return QString(reinterpret_cast<const QChar*>(text), n);
}

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace soramado
