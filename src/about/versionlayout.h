#pragma once

#include "common/geometry.h"

#include <cstdint>

// The version window as designed, in logical pixels at 96 dpi; colours 0x00RRGGBB.
namespace soramado::about {

inline constexpr const char* Title = "バージョン情報";
inline constexpr PixelSize ClientSize{196, 137};
inline constexpr std::uint32_t WindowColour = 0xffb0d0u; // red 255, green 176, blue 208

// One text of the window: its control's name, text, place, font and colour.
struct TextDesign {
    const char* name;
    const char* text;
    PixelRect rect;
    const char* face;
    double points;
    bool italic; // all of them are bold
    bool centred;
    std::uint32_t colour;
};

inline constexpr TextDesign Name{"Label1", "Soramado", {31, 2, 128, 33}, "Times New Roman", 21.75,
                                 true,     false,      0x800000u};
// The version text itself comes from versionText(); black stands for the
// system's text colour, which a shell may use instead.
inline constexpr TextDesign Version{"labVer", "",   {42, 41, 104, 19}, "Arial", 12,
                                    false,    true, 0x000000u};
inline constexpr std::uint32_t VersionBack = 0xffffc0u; // light yellow, opaque
inline constexpr TextDesign Credit1{
    "Label3", "Program & Pictures", {3, 67, 131, 15}, "Times New Roman", 9, true, false, 0xff0000u};
inline constexpr TextDesign Credit2{
    "Label4", "by Soramado Team", {51, 85, 130, 15}, "Times New Roman", 11.25, true,
    false,    0xff0000u};
inline constexpr TextDesign Button{"cmdOK", "OK", {55, 106, 82, 27}, "Arial", 11.25,
                                   false,   true, 0x000000u};
inline constexpr std::uint32_t ButtonFace = 0xc0ffc0u; // light green

} // namespace soramado::about
