#include "moment.h"

#include <cstdio>

namespace soramado {

std::optional<LocalDateTime> parseMoment(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r\n\f\v");
    if (first == std::string_view::npos)
        return std::nullopt;
    text = text.substr(first, text.find_last_not_of(" \t\r\n\f\v") - first + 1);
    // Fixed widths: 0000-00-00 00:00:00.
    constexpr std::string_view Shape = "0000-00-00 00:00:00";
    if (text.size() != Shape.size())
        return std::nullopt;
    for (std::size_t i = 0; i < Shape.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (Shape[i] == '0' ? !digit : text[i] != Shape[i])
            return std::nullopt;
    }
    const auto number = [&](std::size_t at, std::size_t width) {
        int n = 0;
        for (std::size_t i = at; i < at + width; ++i)
            n = n * 10 + (text[i] - '0');
        return n;
    };
    using namespace std::chrono;
    const year_month_day date{year{number(0, 4)}, month{static_cast<unsigned>(number(5, 2))},
                              day{static_cast<unsigned>(number(8, 2))}};
    const int hour = number(11, 2);
    const int minute = number(14, 2);
    const int second = number(17, 2);
    if (!date.ok() || hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    return LocalDateTime{date, secondOfDay(hour, minute, second), 0};
}

std::string momentText(const LocalDateTime& at)
{
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d:%02d",
                  static_cast<int>(at.date.year()), static_cast<unsigned>(at.date.month()),
                  static_cast<unsigned>(at.date.day()), at.secondOfDay / 3600,
                  at.secondOfDay / 60 % 60, at.secondOfDay % 60);
    return text;
}

} // namespace soramado
