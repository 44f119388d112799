#pragma once

#include "common/datetime.h"
#include "sky/cities.h"

#include <array>
#include <cstdint>
#include <string>

namespace soramado {

struct Location {
    float Longitude = 0; // degrees east
    float Latitude = 0;  // degrees north
};

constexpr int LocationCount = static_cast<int>(Cities.size());
constexpr int DefaultLocationIndex = 2; // 東京
using LocationArray = std::array<Location, LocationCount>;

// Fills the six cities' places from the city table, in menu order.
void InitLocations(LocationArray& locations);

// The city names in menu order, without access keys.
std::string cityName(int index);

struct SunTimes {
    std::int32_t Sunrise = 0; // seconds since local midnight
    std::int32_t Sunset = 0;
};

// Approximate sunrise and sunset for one day and place: a declination that
// changes linearly between solstices and equinoxes, and a longitude shift from
// the 135° E meridian of the clock's standard time.
SunTimes computeSunTimes(Date today, const Location& location);

} // namespace soramado
