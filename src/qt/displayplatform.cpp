#include "qt/displayplatform.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include "common/quoting.h"

#include <QtDebug>

#include <optional>
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

DisplayEnvironment currentDisplayEnvironment()
{
    const auto read = [](const char* name) { return qEnvironmentVariable(name).toStdString(); };
    return {read("WAYLAND_DISPLAY"), read("XDG_SESSION_TYPE"), read("DISPLAY"),
            read("QT_QPA_PLATFORM")};
}

void applyDisplayPlatform(int argc, const char* const* argv)
{
    // The Qt shell runs on Linux and other X11/Wayland systems only.
    switch (chooseDisplayPlatform(currentDisplayEnvironment(), argc, argv)) {
    case DisplayChoice::XWayland:
        qputenv("QT_QPA_PLATFORM", "xcb");
        break;
    case DisplayChoice::NativeWayland:
        // Asked for by name: left alone, Qt would try X11, which is not there.
        qputenv("QT_QPA_PLATFORM", "wayland");
        qInfo().noquote() << "soramado: running natively on Wayland; the window's position and "
                             "always-on-top are left to the compositor";
        break;
    case DisplayChoice::AsIs:
        break;
    }
}

std::string requestedPlatform(const DisplayEnvironment& env, int argc, const char* const* argv)
{
    std::string platform = env.qpaPlatform;
    for (int i = 1; i + 1 < argc && argv[i]; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "-platform" || arg == "--platform")
            platform = argv[i + 1];
    }
    platform = platform.substr(0, platform.find(';'));
    platform = platform.substr(0, platform.find(':'));
    return platform.empty() ? "xcb" : platform;
}

std::string displayFailureLine(std::string_view program, const DisplayEnvironment& env,
                               std::string_view platform, const std::vector<std::string>& said)
{
    const auto after = [&said](std::string_view marker, char end) -> std::optional<std::string> {
        for (const std::string& message : said) {
            const std::size_t at = message.find(marker);
            if (at == std::string::npos)
                continue;
            const std::size_t from = at + marker.size();
            return message.substr(from, message.find(end, from) - from);
        }
        return std::nullopt;
    };
    const auto value = [](std::string_view name, const std::string& text) {
        return text.empty() ? std::string(name) + " is not set"
                            : std::string(name) + "=" + quoteForMessage(text);
    };
    std::string line(program);
    const bool wayland = platform.starts_with("wayland");
    if (const auto missing = after("Could not find the Qt platform plugin \"", '"')) {
        line += ": the display platform \"" + quoteForMessage(*missing) +
                "\" is not available, as Qt has no plugin for it";
        if (const auto available = after("Available platform plugins are: ", '.'))
            line += " (it has " + *available + ")";
        if (wayland && env.x11Display.empty())
            line += "; DISPLAY is not set either, so X11 cannot stand in";
    } else if (wayland) {
        line += ": cannot connect to the Wayland compositor (" +
                value("WAYLAND_DISPLAY", env.waylandDisplay) + ")";
        if (env.x11Display.empty())
            line += "; DISPLAY is not set either, so X11 cannot stand in";
    } else if (platform == "xcb") {
        line += ": cannot open a display to show the clock on (" +
                value("DISPLAY", env.x11Display) + ")";
    } else {
        // Another platform's own reason is the best there is: its first line.
        const std::string reason = said.empty() ? std::string("it failed") : said.back();
        line += ": cannot start the display platform \"" + quoteForMessage(platform) +
                "\": " + quoteForMessage(reason.substr(0, reason.find('\n')));
    }
    return line;
}

} // namespace soramado
