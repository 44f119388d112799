#include "app/settings.h"

#include "app/layout.h"
#include "common/numbers.h"
#include "common/quoting.h"
#include "platform/settingsstore.h"
#include "sky/suntimes.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace soramado {

namespace {

constexpr float NoPosition = -255;
// A coordinate beyond this lies off every screen anyway; it keeps int conversions sound.
constexpr double FarAway = 1.0e6;

std::string_view trimmed(std::string_view text)
{
    const auto space = [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
    };
    while (!text.empty() && space(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && space(text.back()))
        text.remove_suffix(1);
    return text;
}

// A plain decimal number: sign, digits with at most one point, an optional
// exponent. No hexadecimal, no words such as "inf".
std::optional<double> plainDecimal(std::string_view text, char point)
{
    std::string digits;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-')
            digits += '-';
        ++i;
    }
    bool mantissa = false;
    bool pointSeen = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            mantissa = true;
            digits += c;
        } else if (c == point && !pointSeen) {
            pointSeen = true;
            digits += '.';
        } else {
            break;
        }
    }
    if (!mantissa)
        return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        digits += 'e';
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            digits += text[i++];
        bool exponent = false;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
            exponent = true;
            digits += text[i];
        }
        if (!exponent)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<double> textToDouble(std::string_view text)
{
    text = trimmed(text);
    if (text.empty())
        return std::nullopt;
    // The point only: the clock never writes a comma, and "1,5" could be
    // one and a half or fifteen.
    return plainDecimal(text, '.');
}

int pixelsFromTwips(float twips)
{
    const double pixels = std::clamp(static_cast<double>(twips) / TwipsPerPixel, -FarAway, FarAway);
    return roundHalfEven(pixels);
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

} // namespace

std::optional<std::int16_t> textToInt16(std::string_view text)
{
    const std::optional<double> value = textToDouble(text);
    // -32768.5 rounds to the even -32768; 32767.5 would round up out of range.
    if (!value || *value < -32768.5 || *value >= 32767.5)
        return std::nullopt;
    return static_cast<std::int16_t>(roundHalfEven(*value));
}

std::optional<float> textToSingle(std::string_view text)
{
    const std::optional<double> value = textToDouble(text);
    if (!value || std::fabs(*value) > std::numeric_limits<float>::max())
        return std::nullopt;
    return toFloat32(*value);
}

std::optional<bool> textToBool(std::string_view text)
{
    const std::string_view word = trimmed(text);
    if (equalsIgnoringCase(word, "True"))
        return true;
    if (equalsIgnoringCase(word, "False"))
        return false;
    const std::optional<double> value = textToDouble(word);
    if (!value)
        return std::nullopt;
    return *value != 0.0;
}

std::string boolText(bool value)
{
    return value ? "True" : "False";
}

StoredSettings::StoredSettings() : LocationIndex(DefaultLocationIndex), Font(layout::ClockFontFace)
{}

std::optional<PixelPoint> StoredSettings::framePosition() const
{
    if (!(Left > 0 && Top > 0))
        return std::nullopt;
    return PixelPoint{pixelsFromTwips(Left), pixelsFromTwips(Top)};
}

Settings::Settings(SettingsStore& store, Warn warn) : store_(store), warn_(std::move(warn))
{
    if (!warn_)
        warn_ = [](const std::string& message) { std::fprintf(stderr, "%s\n", message.c_str()); };
}

StoredSettings Settings::read()
{
    StoredSettings s;

    if (const auto text = store_.ReadSetting(SettingKey::Location)) {
        const std::optional<std::int16_t> index = textToInt16(*text);
        if (index && *index >= 0 && *index < LocationCount)
            s.LocationIndex = *index;
        else
            warnBadText(s, SettingKey::Location, *text,
                        ("is not a city index 0 to " + std::to_string(LocationCount - 1)).c_str(),
                        std::to_string(s.LocationIndex));
    }
    if (const auto text = store_.ReadSetting(SettingKey::Font))
        s.Font = *text;

    const auto readEdge = [this, &s](std::string_view key) {
        const auto text = store_.ReadSetting(key);
        if (!text)
            return NoPosition;
        if (const std::optional<float> value = textToSingle(*text))
            return *value;
        warnBadText(s, key, *text, "is not a number", "no position");
        return NoPosition;
    };
    s.Left = readEdge(SettingKey::Left);
    s.Top = readEdge(SettingKey::Top);

    if (const auto text = store_.ReadSetting(SettingKey::AlwaysTop)) {
        if (const std::optional<bool> on = textToBool(*text))
            s.AlwaysOnTop = *on;
        else
            warnBadText(s, SettingKey::AlwaysTop, *text, "is neither True nor False",
                        boolText(false));
    }
    for (const std::string& problem : store_.readProblems())
        warn_("Soramado: " + problem);
    return s;
}

void Settings::writeLocation(std::int16_t index)
{
    write(SettingKey::Location, std::to_string(index));
}

void Settings::writeFont(const std::string& face)
{
    write(SettingKey::Font, face);
}

void Settings::writeAlwaysTop(bool on)
{
    write(SettingKey::AlwaysTop, boolText(on));
}

void Settings::writePosition(PixelPoint framePixels)
{
    write(SettingKey::Left, std::to_string(std::int64_t{framePixels.x} * TwipsPerPixel));
    write(SettingKey::Top, std::to_string(std::int64_t{framePixels.y} * TwipsPerPixel));
}

void Settings::write(std::string_view key, const std::string& text)
{
    const std::optional<std::string> failure = store_.WriteSetting(key, text);
    if (!failure || !reportedFailures_.emplace(std::string(key), *failure).second)
        return;
    warn_("Soramado: could not save the setting \"" + std::string(key) + "\": " + *failure +
          ". The clock goes on, but this change is not kept.");
}

void Settings::warnBadText(StoredSettings& s, std::string_view key, const std::string& text,
                           const char* why, const std::string& fallback)
{
    s.unusable.push_back(UnusableSetting{std::string(key), text});
    warn_("Soramado: the stored setting \"" + std::string(key) + "\" = \"" + quoteForMessage(text) +
          "\" " + why + "; using " + fallback + " instead.");
}

} // namespace soramado
