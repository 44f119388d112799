#pragma once

#include "win32/handles.h"

#include <functional>
#include <span>
#include <string>

namespace soramado::win32 {

// Where a designed face is missing (Windows without the Japanese fonts, Wine)
// the labels take the first installed face of these, in order: the Japanese
// Windows faces under their English names, Meiryo and Yu Gothic of newer
// Windows, then the free Japanese Gothic faces that Wine finds on the system.
inline constexpr const wchar_t* LabelFaceFallbacks[] = {
    L"MS PGothic",  L"Meiryo",     L"Yu Gothic",        L"IPAPGothic",
    L"IPAexGothic", L"VL PGothic", L"Noto Sans CJK JP", L"Takao PGothic",
};
// The clock face is fixed-pitch by design: its fallbacks are too, where they can be.
inline constexpr const wchar_t* ClockFaceFallbacks[] = {
    L"MS Gothic",    L"IPAGothic", L"VL Gothic", L"Noto Sans Mono CJK JP",
    L"Takao Gothic", L"Meiryo",    L"Yu Gothic", L"IPAPGothic",
};

// The version window's faces, where Windows' own are missing (Wine): first
// the faces made to the same metrics, so that the texts fit their places.
inline constexpr const wchar_t* SerifFallbacks[] = {L"Liberation Serif", L"Tinos", L"DejaVu Serif",
                                                    L"Noto Serif"};
inline constexpr const wchar_t* SansFallbacks[] = {L"Liberation Sans", L"Arimo", L"DejaVu Sans",
                                                   L"Noto Sans"};

using FaceInstalled = std::function<bool(const std::wstring&)>;

// The wanted face when installed, else the first installed fallback, else the
// wanted face anyway (the font mapper then picks what it can).
std::wstring pickFace(const std::wstring& wanted, std::span<const wchar_t* const> fallbacks,
                      const FaceInstalled& installed);

// Whether GDI knows a font family of this name (EnumFontFamiliesExW).
bool faceInstalled(const std::wstring& face);

// The face the time is drawn with when `stored` is the clock font's face name.
std::wstring clockFaceDrawn(const std::wstring& stored,
                            const FaceInstalled& installed = faceInstalled);

struct FontRequest {
    std::wstring face;
    double points = 9;
    bool bold = false;
    bool italic = false;
};

Font createFont(const FontRequest& request, UINT dpi);

} // namespace soramado::win32
