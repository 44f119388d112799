#pragma once

#include <array>

namespace soramado {

// One of the clock's cities: what the menu shows, the key that picks it there, and
// where its sun is worked out from.
struct City {
    const char* name; // UTF-8, without the access key
    char accessKey;   // the menu's "&" letter
    float longitude;  // degrees east
    float latitude;   // degrees north
};

// The six cities in menu order; the stored "Location" is an index into this table.
inline constexpr std::array<City, 6> Cities{{
    {"札幌", 'S', 141.333f, 43.083f},
    {"仙台", 'D', 140.833f, 38.25f},
    {"東京", 'T', 139.75f, 35.4f},
    {"大阪", 'O', 135.5f, 34.4f},
    {"広島", 'H', 132.5f, 34.5f},
    {"福岡", 'F', 130.5f, 33.5f},
}};

} // namespace soramado
