#pragma once

#include <QDate>
#include <QString>
#include <QTime>

#include <array>

namespace soramado {

struct Location {
    float Longitude = 0; // degrees east
    float Latitude = 0;  // degrees north
};

constexpr int LocationCount = 6;
constexpr int DefaultLocationIndex = 2; // 東京
using LocationArray = std::array<Location, LocationCount>;

// Fills the six cities in menu order: 札幌, 仙台, 東京, 大阪, 広島, 福岡.
void InitLocations(LocationArray& locations);

// The city names in menu order, without access keys.
QString cityName(int index);

struct SunTimes {
    QTime Sunrise;
    QTime Sunset;
};

// Approximate sunrise and sunset for one day and place: a declination that
// changes linearly between solstices and equinoxes, and a longitude shift from
// the 135° E meridian of the clock's standard time.
SunTimes computeSunTimes(QDate today, const Location& location);

} // namespace soramado
