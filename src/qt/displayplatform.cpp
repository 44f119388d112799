#include "qt/displayplatform.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <string_view>

namespace soramado {

DisplayChoice chooseDisplayPlatform(const DisplayEnvironment& env, int argc,
                                    const char* const* argv)
{
    if (!env.qpaPlatform.empty())
        return DisplayChoice::AsIs;
    for (int i = 1; i < argc && argv[i]; ++i) {
        const std::string_view arg = argv[i];
        // Qt takes its options with one dash or two.
        if (arg == "-platform" || arg == "--platform")
            return DisplayChoice::AsIs;
    }
    const bool wayland = !env.waylandDisplay.empty() || env.sessionType == "wayland";
    if (!wayland)
        return DisplayChoice::AsIs;
    return env.x11Display.empty() ? DisplayChoice::NativeWayland : DisplayChoice::XWayland;
}

void applyDisplayPlatform(int argc, const char* const* argv)
{
    // The Qt shell runs on Linux and other X11/Wayland systems only.
    const auto read = [](const char* name) { return qEnvironmentVariable(name).toStdString(); };
    const DisplayEnvironment env{read("WAYLAND_DISPLAY"), read("XDG_SESSION_TYPE"), read("DISPLAY"),
                                 read("QT_QPA_PLATFORM")};
    switch (chooseDisplayPlatform(env, argc, argv)) {
    case DisplayChoice::XWayland:
        qputenv("QT_QPA_PLATFORM", "xcb");
        break;
    case DisplayChoice::NativeWayland:
        std::fprintf(stderr, "soramado: running natively on Wayland; the window's position and "
                             "always-on-top are left to the compositor\n");
        break;
    case DisplayChoice::AsIs:
        break;
    }
}

} // namespace soramado
