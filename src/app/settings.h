#pragma once

#include "app/layout.h"
#include "common/geometry.h"
#include "common/warn.h"

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace soramado {

class SettingsStore;

// The five keys of the section "Setting".
namespace SettingKey {
inline constexpr std::string_view Location = "Location";
inline constexpr std::string_view Font = "Font";
inline constexpr std::string_view Left = "Left";
inline constexpr std::string_view Top = "Top";
inline constexpr std::string_view AlwaysTop = "AlwaysTop";
} // namespace SettingKey

// The text forms of the store. Each reader gives nothing for a text it cannot read.
// A decimal number, rounded half to even, in the signed 16-bit range.
std::optional<std::int16_t> textToInt16(std::string_view text);
// A decimal number held in single precision.
std::optional<float> textToSingle(std::string_view text);
// "True" or "False" in any case, or a number (0 is false, any other true).
std::optional<bool> textToBool(std::string_view text);
std::string boolText(bool value);

// A stored text that the settings step could not use; its default stood in.
struct UnusableSetting {
    std::string key;
    std::string text;
    bool operator==(const UnusableSetting&) const = default;
};

// What the settings step of start-up found, defaults filled in.
struct StoredSettings {
    std::int16_t LocationIndex;
    std::string Font;
    float Left = -255;
    float Top = -255;
    bool AlwaysOnTop = false;
    // In the order read, for a shell that tells the user in its own words.
    std::vector<UnusableSetting> unusable;

    StoredSettings();
    // The window frame's top-left in pixels, when both edges are stored above 0.
    std::optional<PixelPoint> framePosition() const;
};

// The one typed way to the store: reads the settings step's five keys and
// writes each setting in its text form. A store that cannot be read, a stored
// text that cannot be used and a write that fails are each reported for what
// they are through the warning sink (stderr by default) and never stop the
// program.
class Settings {
public:
    explicit Settings(SettingsStore& store, Warn warn = {});

    // "Location", "Font", "Left", "Top", "AlwaysTop", in that order.
    StoredSettings read();

    void writeLocation(std::int16_t index);
    void writeFont(const std::string& face);
    void writeAlwaysTop(bool on);
    // "Left" and then "Top" of the window frame, given in pixels.
    void writePosition(PixelPoint framePixels);

private:
    void write(std::string_view key, const std::string& text);
    void warnBadText(StoredSettings& s, std::string_view key, const std::string& text,
                     const char* why, const std::string& fallback);

    SettingsStore& store_;
    Warn warn_;
    // Key and cause of each write failure told: a broken disk must not flood the
    // log, but a new failure is news.
    std::set<std::pair<std::string, std::string>> reportedFailures_;
};

} // namespace soramado
