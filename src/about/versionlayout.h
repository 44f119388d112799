#pragma once

#include "common/geometry.h"

#include <cstdint>

// The version window as designed, in logical pixels; every shell lays it out from here.
namespace soramado::versionlayout {

inline constexpr const char* Title = "バージョン情報";
constexpr PixelSize ClientSize{196, 137};

// 0x00RRGGBB
constexpr std::uint32_t WindowColour = 0xffb0d0u; // red 255, green 176, blue 208
constexpr std::uint32_t NameColour = 0x800000u;   // maroon
constexpr std::uint32_t CreditColour = 0xff0000u; // red
constexpr std::uint32_t VersionBack = 0xffffc0u;  // light yellow
constexpr std::uint32_t ButtonFace = 0xc0ffc0u;   // light green

// A line of text: where, what, in which face and size; all bold.
struct Text {
    PixelRect place;
    const char* text;
    const char* face;
    double points;
    bool italic;
};

constexpr Text Name{{31, 2, 128, 33}, "Soramado", "Times New Roman", 21.75, true};
constexpr Text Program{{3, 67, 131, 15}, "Program & Pictures", "Times New Roman", 9, true};
constexpr Text Credit{{51, 85, 130, 15}, "by Soramado Team", "Times New Roman", 11.25, true};
// The version text (versionText()), centred on its own background.
constexpr Text Version{{42, 41, 104, 19}, "", "Arial", 12, false};
// The OK button: Enter, Space, Escape and the close box all close the window.
constexpr Text OkButton{{55, 106, 82, 27}, "OK", "Arial", 11.25, false};

} // namespace soramado::versionlayout
