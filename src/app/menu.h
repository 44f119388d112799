#pragma once

#include "sky/suntimes.h"

#include <array>

// The popup menu's captions (UTF-8, "&" before the access key), in menu order.
namespace soramado::menu {

inline constexpr const char* Title = "メニュー";
inline constexpr const char* Font = "フォントの変更(&F)...";
inline constexpr const char* Location = "現在地の選択(&L)";
inline constexpr std::array<const char*, LocationCount> Cities = {
    "札幌(&S)", "仙台(&D)", "東京(&T)", "大阪(&O)", "広島(&H)", "福岡(&F)"};
inline constexpr const char* AlwaysOnTop = "常に最前面に表示(&T)";
inline constexpr const char* Version = "バージョン情報(&V)...";
inline constexpr const char* Quit = "Soramadoの終了(&Q)";

// The font chooser's title.
inline constexpr const char* FontDialogTitle = "フォントの変更";

} // namespace soramado::menu
