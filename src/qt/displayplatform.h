#pragma once

#include <string>

namespace soramado {

// What the session offers, as the environment tells it; empty means unset.
struct DisplayEnvironment {
    std::string waylandDisplay; // WAYLAND_DISPLAY
    std::string sessionType;    // XDG_SESSION_TYPE
    std::string x11Display;     // DISPLAY
    std::string qpaPlatform;    // QT_QPA_PLATFORM
};

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
// object exists.
void applyDisplayPlatform(int argc, const char* const* argv);

} // namespace soramado
