#include "sky/suntimes.h"

#include "common/numbers.h"

#include <cmath>

namespace soramado {

void InitLocations(LocationArray& locations)
{
    for (std::size_t i = 0; i < Cities.size(); ++i)
        locations[i] = {Cities[i].longitude, Cities[i].latitude};
}

std::string cityName(int index)
{
    if (index < 0 || index >= LocationCount)
        return {};
    return Cities[static_cast<std::size_t>(index)].name;
}

namespace {

constexpr double MaxDeclination = 23.43929;
constexpr float Pi32 = 3.1415927f;

struct Quarter {
    Date solstice;
    Date equinox;
    double sign;
};

Quarter seasonQuarter(Date today)
{
    using namespace std::chrono;
    const year y = today.year();
    const Date mar20{y, March, day{20}};
    const Date jun20{y, June, day{20}};
    const Date sep20{y, September, day{20}};
    const Date dec20{y, December, day{20}};
    if (today <= mar20)
        return {Date{y - years{1}, December, day{20}}, mar20, -1.0};
    if (today <= jun20)
        return {jun20, mar20, +1.0};
    if (today <= sep20)
        return {jun20, sep20, +1.0};
    if (today <= dec20)
        return {dec20, sep20, -1.0};
    return {dec20, Date{y + years{1}, March, day{20}}, -1.0};
}

} // namespace

SunTimes computeSunTimes(Date today, const Location& location)
{
    const Quarter q = seasonQuarter(today);
    const double a = daysBetween(today, q.equinox);
    const double b = daysBetween(q.solstice, q.equinox);
    const double ratio = std::fabs(a) / std::fabs(b);
    const float declination = toFloat32(ratio * (q.sign * MaxDeclination));

    const float x = toFloat32((static_cast<double>(declination) * -1.0) /
                              (90.0 - static_cast<double>(location.Latitude)));
    const double xd = x;
    // The arc cosine, in the arctangent form the model was written with.
    const float hourAngle =
        toFloat32(std::atan(-xd / std::sqrt(-xd * xd + 1.0)) + 2.0 * std::atan(1.0));
    const float halfTurns = toFloat32(static_cast<double>(hourAngle) / static_cast<double>(Pi32));
    const int offset = roundHalfEven((static_cast<double>(halfTurns) - 0.5) * 12 * 60 * 60 / 2);

    const double correction = (static_cast<double>(location.Longitude) - 135.0) / 15.0 * -3600.0;
    const int shift = roundHalfEven(correction);

    SunTimes times;
    times.Sunrise = addSeconds(secondOfDay(6, 0, 0), -offset + shift);
    times.Sunset = addSeconds(secondOfDay(18, 0, 0), offset + shift);
    return times;
}

} // namespace soramado
