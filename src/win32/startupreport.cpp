#include "win32/startupreport.h"

#include "common/quoting.h"
#include "sky/suntimes.h"
#include "win32/text.h"

#include <algorithm>
#include <array>
#include <utility>

namespace soramado::win32 {

namespace {

// What was wrong with the text and what the clock does instead.
std::string consequence(const std::string& key)
{
    if (key == SettingKey::Location)
        return "は都市の番号 (0～" + std::to_string(LocationCount - 1) + ") ではありません。" +
               cityName(DefaultLocationIndex) + "を使います。";
    if (key == SettingKey::Left || key == SettingKey::Top)
        return "は数値ではありません。保存した位置は使わず、既定の位置に表示します。";
    if (key == SettingKey::AlwaysTop)
        return "は True でも False でもありません。最前面には表示しません。";
    return "は使えません。既定の値を使います。";
}

// Lines in the order start-up reads the keys, whichever way each went wrong.
int readingOrder(const std::string& key)
{
    constexpr std::array keys = {SettingKey::Location, SettingKey::Font, SettingKey::Left,
                                 SettingKey::Top, SettingKey::AlwaysTop};
    return static_cast<int>(std::find(keys.begin(), keys.end(), key) - keys.begin());
}

} // namespace

std::wstring startUpReport(const std::vector<UnusableSetting>& unusable,
                           const std::vector<UnreadableValue>& unreadable,
                           const std::string& location)
{
    if (unusable.empty() && unreadable.empty())
        return {};
    std::vector<std::pair<int, std::string>> lines;
    for (const UnusableSetting& setting : unusable)
        lines.emplace_back(readingOrder(setting.key), "・" + setting.key + " の値 " +
                                                          quotedForMessage(setting.text) + " " +
                                                          consequence(setting.key));
    for (const UnreadableValue& value : unreadable) {
        const std::string why = value.error == ERROR_UNSUPPORTED_TYPE
                                    ? "文字列 (REG_SZ) ではありません"
                                    : systemMessage(value.error);
        lines.emplace_back(readingOrder(value.key), "・" + value.key + " の値を読めません (" + why +
                                                        ")。既定の値を使います。");
    }
    std::stable_sort(lines.begin(), lines.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::string text =
        "保存されている設定の一部を読めなかったため、既定の値で動いています。\n" + location + "\n";
    for (const auto& line : lines)
        text += "\n" + line.second;
    return widen(text);
}

void showReportBox(HWND owner, const std::wstring& text)
{
    MessageBoxW(owner, text.c_str(), L"Soramado", MB_OK | MB_ICONWARNING);
}

} // namespace soramado::win32
