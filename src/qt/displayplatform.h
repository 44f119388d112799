#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace soramado {

// What the session offers, as the environment tells it; empty means unset.
struct DisplayEnvironment {
    std::string waylandDisplay; // WAYLAND_DISPLAY
    std::string sessionType;    // XDG_SESSION_TYPE
    std::string x11Display;     // DISPLAY
    std::string qpaPlatform;    // QT_QPA_PLATFORM
};

// The environment as it is now.
DisplayEnvironment currentDisplayEnvironment();

enum class DisplayChoice {
    AsIs,          // not Wayland, or the user chose a platform: leave it to Qt
    XWayland,      // Wayland with an X server beside it: run on X11
    NativeWayland, // Wayland alone: run there and say what is lost
};

// Under Wayland no client may place its window or keep it on top, so the clock
// prefers XWayland when it can have it, unless the user picked a platform
// (QT_QPA_PLATFORM or a -platform argument).
DisplayChoice chooseDisplayPlatform(const DisplayEnvironment& env, int argc,
                                    const char* const* argv);

// Reads the environment and applies the choice; call before the application
// object exists and after guardDisplayConnection(), so that the note about
// native Wayland is only given when the window system was reached.
void applyDisplayPlatform(int argc, const char* const* argv);

// The platform Qt is asked for: a -platform argument, else QT_QPA_PLATFORM
// (its first choice, without options), else Qt's default here, "xcb".
std::string requestedPlatform(const DisplayEnvironment& env, int argc, const char* const* argv);

// The one line that says why the window system could not be reached, from the
// environment, the platform asked for and what Qt said meanwhile (its fatal
// message last).
std::string displayFailureLine(std::string_view program, const DisplayEnvironment& env,
                               std::string_view platform, const std::vector<std::string>& said);

} // namespace soramado
