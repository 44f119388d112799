#pragma once

#include "app/clockapp.h"
#include "platform/clock.h"
#include "platform/fontchooser.h"
#include "platform/screen.h"
#include "platform/settingsstore.h"
#include "platform/topmost.h"

#include <map>
#include <string>

// The clock without a window, for the preview tool, the benchmarks and the
// tests: settings in memory, a font chooser that always cancels, one screen
// at 96 dpi, and a clock that stands where it is put.
namespace soramado {

// Settings that live as long as the object.
class MemorySettingsStore final : public SettingsStore {
public:
    std::optional<std::string> ReadSetting(std::string_view key) override;
    std::optional<std::string> WriteSetting(std::string_view key, std::string_view text) override;

    // Writes fail with the reason until refuseWrites(false).
    void refuseWrites(bool refuse,
                      std::string reason = "the settings are held in memory and refuse writes")
    {
        refusal_ = refuse ? std::move(reason) : std::string();
    }
    std::map<std::string, std::string, std::less<>>& values() { return values_; }
    const std::map<std::string, std::string, std::less<>>& values() const { return values_; }
    int writes() const { return writes_; }

private:
    std::map<std::string, std::string, std::less<>> values_;
    std::string refusal_;
    int writes_ = 0;
};

class NoTopmost final : public TopmostRequest {
public:
    void setTopmost(bool) override {}
};

class CancellingFontChooser final : public FontChooser {
public:
    std::optional<std::string> choose(const std::string&) override { return std::nullopt; }
};

// One 1920 × 1080 screen; the twips per pixel can be set.
class FixedScreen final : public Screen {
public:
    int twipsX = TwipsPerPixel;
    int twipsY = TwipsPerPixel;
    // Filled in the body: g++ 12 took the list's copy for uninitialized.
    std::vector<PixelRect> areas;
    FixedScreen() { areas.push_back(PixelRect{0, 0, 1920, 1080}); }
    int twipsPerPixelX() const override { return twipsX; }
    int twipsPerPixelY() const override { return twipsY; }
    std::vector<PixelRect> availableAreas() const override { return areas; }
};

// A whole program on a settable clock with the given generator. Put settings
// in `store` before startUp() to start as a stored run would.
class HeadlessClock {
public:
    explicit HeadlessClock(Random& random, LocalDateTime start = {}, Warn warn = {})
        : clock(start), app({clock, random, store, topmost, fonts, screen, std::move(warn)})
    {}

    SettableClock clock;
    MemorySettingsStore store;
    NoTopmost topmost;
    CancellingFontChooser fonts;
    FixedScreen screen;
    ClockApp app;
};

} // namespace soramado
