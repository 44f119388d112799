#pragma once

#include "sky/suntimes.h"

#include <cstddef>
#include <string>

// The popup menu's captions (UTF-8, "&" before the access key), in menu order.
namespace soramado::menu {

inline constexpr const char* Title = "メニュー";
inline constexpr const char* Font = "フォントの変更(&F)...";
inline constexpr const char* Location = "現在地の選択(&L)";
// A city's caption from the city table: "札幌(&S)".
inline std::string cityCaption(std::size_t index)
{
    const City& city = Cities[index];
    return std::string(city.name) + "(&" + city.accessKey + ")";
}
inline constexpr const char* AlwaysOnTop = "常に最前面に表示(&T)";
inline constexpr const char* Version = "バージョン情報(&V)...";
inline constexpr const char* Quit = "Soramadoの終了(&Q)";

// The font chooser's title.
inline constexpr const char* FontDialogTitle = "フォントの変更";

} // namespace soramado::menu
