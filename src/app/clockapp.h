#pragma once

#include "app/clockcore.h"
#include "app/settings.h"
#include "common/geometry.h"
#include "common/picture.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace soramado {

class Clock;
class FontChooser;
class Random;
class Screen;
class SettingsStore;
class TopmostRequest;

// The window-independent program: start-up, the tick and the commands, with
// everything they store. A shell shows what it holds and routes events to it.
class ClockApp {
public:
    struct Seams {
        const Clock& clock;
        Random& random;
        SettingsStore& store;
        TopmostRequest& topmost;
        FontChooser& fonts;
        const Screen& screen;
        Warn warn; // empty: stderr
    };
    explicit ClockApp(Seams seams);

    // The whole start-up in its order: visitor table, city table, the stored settings (city,
    // font, position, always-on-top applied as its command applies it), the date keys, the
    // first full refresh.
    void startUp();
    void tick(); // one 100 ms tick
    // When the shell should run the next tick; ticks in between cannot change
    // anything on screen. Asked after each tick and after Shift+F9 or a city.
    WakePlan planWake() { return core_.planWake(); }
    void requestVisitor();                // Shift+F9
    void fontCommand();                   // chooser; on OK only the face, at 20 pt; writes "Font"
    void locationCommand(int index);      // writes "Location", next tick uses it; ignores bad index
    void alwaysOnTopCommand();            // flips, writes "AlwaysTop", asks the TopmostRequest
    void unload(PixelPoint frameTopLeft); // writes "Left" then "Top" in twips, once per run

    // What the shell shows:
    const ClockFace& face() const { return core_.face(); }
    const Picture& view() const { return core_.view().image(); }
    // Bumps on every change of the view's pixels.
    std::uint64_t viewRevision() const { return core_.view().revision(); }
    // The view's pixels and revision together, for a widget that follows them.
    const ViewSurface& viewSurface() const { return core_.view(); }
    int phase() const { return core_.state().Phase; } // 1..6; 0 before start-up
    int locationIndex() const { return core_.state().LocationIndex; }
    bool alwaysOnTop() const { return core_.state().AlwaysOnTop; }
    const std::string& clockFontFace() const { return clockFontFace_; }
    double clockFontPoints() const { return clockFontPoints_; }
    // The stored frame position in pixels when both "Left" and "Top" are above 0, else nothing.
    std::optional<PixelPoint> storedFramePosition() const { return storedPosition_; }
    // The stored texts that start-up could not use (each also warned about).
    const std::vector<UnusableSetting>& unusableSettings() const { return unusableSettings_; }
    // Where the window's frame opens: the stored position when a person can still reach
    // the window there on one of the screens, so an unplugged monitor or a smaller screen
    // never leaves the clock out of reach. Nothing means the design place
    // (layout::DesignPlace for the client area). The frame's size and the client area's
    // place in it are the shell's; (0, 0) while the window manager's frame is unknown.
    std::optional<PixelPoint> reachableFramePosition(PixelSize frame,
                                                     PixelPoint clientInFrame) const;

    // For tools and tests that look inside: a copy, so that nothing outside can change the state.
    ClockSnapshot snapshot() const { return core_.snapshot(); }

private:
    // Keeps the window above the others or not, checked and written, as the command leaves it.
    void applyAlwaysOnTop(bool on);

    Seams seams_;
    ClockCore core_;
    Settings settings_;
    std::string clockFontFace_;
    double clockFontPoints_;
    std::optional<PixelPoint> storedPosition_;
    std::vector<UnusableSetting> unusableSettings_;
    bool unloaded_ = false;
};

} // namespace soramado
