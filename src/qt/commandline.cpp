#include "qt/commandline.h"

#include "app/commandline.h"
#include "platform/settingsstore.h"
#include "qt/autostart.h"

#include <QtGlobal>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace soramado {

namespace {

// The options QGuiApplication, QApplication and the xcb platform take for
// themselves, each with one dash or two, as Qt reads them.
constexpr std::array<std::string_view, 16> QtValueOptions = {"platform",
                                                             "platformpluginpath",
                                                             "platformtheme",
                                                             "plugin",
                                                             "qwindowgeometry",
                                                             "geometry",
                                                             "qwindowtitle",
                                                             "title",
                                                             "qwindowicon",
                                                             "icon",
                                                             "session",
                                                             "display",
                                                             "name",
                                                             "visual",
                                                             "style",
                                                             "stylesheet"};
constexpr std::array<std::string_view, 5> QtFlags = {"reverse", "widgetcount", "nograb", "dograb",
                                                     "testability"};
// Taken only as -qmljsdebugger=VALUE.
constexpr std::string_view QtEqualsOnly = "qmljsdebugger";

std::vector<std::string> qtOptionNames()
{
    std::vector<std::string> names;
    const auto both = [&names](std::string_view name) {
        names.push_back("-" + std::string(name));
        names.push_back("--" + std::string(name));
    };
    for (std::string_view name : QtValueOptions)
        both(name);
    for (std::string_view name : QtFlags)
        both(name);
    both(QtEqualsOnly);
    return names;
}

std::vector<KnownOption> qtOptions(const std::vector<std::string>& names)
{
    std::vector<KnownOption> options;
    for (const std::string& name : names) {
        const std::string_view bare = std::string_view(name).substr(name.starts_with("--") ? 2 : 1);
        const bool flag = std::find(QtFlags.begin(), QtFlags.end(), bare) != QtFlags.end();
        options.push_back({name, !flag});
    }
    return options;
}

std::string settingsPlace()
{
    const std::string section(StoreSection);
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    const std::string file = std::string(StoreApplication) + ".conf";
    return "$XDG_CONFIG_HOME/" + file + " (usually ~/.config/" + file + "), group [" + section +
           "]";
#else
    return "Qt's native settings store of this user, group " + section;
#endif
}

} // namespace

CommandLine answerCommandLine(int argc, const char* const* argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    const std::vector<std::string> names = qtOptionNames();
    const std::vector<KnownOption> toolkit = qtOptions(names);
    const std::string place = settingsPlace();
    const ClockCommandLineFacts facts{
        "soramado", place, toolkit,
        "Qt's own options, such as -platform, -display and -style, work too.", AutostartOffered};
    const ClockRequest request = readClockCommandLine(args, facts);

    CommandLine answer;
    switch (request.action) {
    case ClockRequest::Action::Run: {
        const ParsedArguments parsed = parseArguments(facts.program, args, toolkit);
        for (const char* name : {"-display", "--display"}) {
            if (const std::string* display = parsed.value(name))
                answer.display = *display;
        }
        return answer;
    }
    case ClockRequest::Action::Refuse:
        std::fprintf(stderr, "%s\n", request.text.c_str());
        break;
    case ClockRequest::Action::Help:
    case ClockRequest::Action::Version:
        std::printf("%s%s", request.text.c_str(), request.text.ends_with('\n') ? "" : "\n");
        break;
    case ClockRequest::Action::Autostart:
        answer.exitStatus = setAutostart(request.autostartOn);
        return answer;
    }
    answer.exitStatus = std::fflush(stdout) == 0 ? request.exitStatus() : 1;
    return answer;
}

} // namespace soramado
