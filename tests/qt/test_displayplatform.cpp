#include "qt/displayplatform.h"

#include <gtest/gtest.h>

#include <vector>

using namespace soramado;

namespace {

struct Case {
    const char* name;
    DisplayEnvironment env;
    std::vector<const char*> args;
    DisplayChoice expected;
};

void PrintTo(const Case& c, std::ostream* out)
{
    *out << c.name;
}

class ChooseDisplayPlatform : public ::testing::TestWithParam<Case> {};

TEST_P(ChooseDisplayPlatform, Decides)
{
    const Case& c = GetParam();
    std::vector<const char*> argv{"soramado"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    EXPECT_EQ(chooseDisplayPlatform(c.env, static_cast<int>(argv.size()), argv.data()), c.expected);
}

// Fields: WAYLAND_DISPLAY, XDG_SESSION_TYPE, DISPLAY, QT_QPA_PLATFORM.
INSTANTIATE_TEST_SUITE_P(
    Sessions, ChooseDisplayPlatform,
    ::testing::Values(
        Case{"PlainX11", {"", "x11", ":0", ""}, {}, DisplayChoice::AsIs},
        Case{"NoSessionAtAll", {"", "", "", ""}, {}, DisplayChoice::AsIs},
        Case{"TtyWithXServer", {"", "tty", ":1", ""}, {}, DisplayChoice::AsIs},
        Case{
            "WaylandWithXWayland", {"wayland-0", "wayland", ":0", ""}, {}, DisplayChoice::XWayland},
        Case{"WaylandDisplayOnly", {"wayland-0", "", ":0", ""}, {}, DisplayChoice::XWayland},
        Case{"SessionTypeOnly", {"", "wayland", ":0", ""}, {}, DisplayChoice::XWayland},
        Case{"WaylandWithoutX", {"wayland-0", "wayland", "", ""}, {}, DisplayChoice::NativeWayland},
        Case{"SessionTypeWithoutX", {"", "wayland", "", ""}, {}, DisplayChoice::NativeWayland},
        Case{
            "UserChoseWayland", {"wayland-0", "wayland", ":0", "wayland"}, {}, DisplayChoice::AsIs},
        Case{"UserChoseAList",
             {"wayland-0", "wayland", ":0", "wayland;xcb"},
             {},
             DisplayChoice::AsIs},
        Case{"UserChoseWaylandWithoutX", {"wayland-0", "", "", "wayland"}, {}, DisplayChoice::AsIs},
        Case{"PlatformArgument",
             {"wayland-0", "wayland", ":0", ""},
             {"-platform", "wayland"},
             DisplayChoice::AsIs},
        Case{"PlatformArgumentTwoDashes",
             {"wayland-0", "wayland", ":0", ""},
             {"--platform", "wayland"},
             DisplayChoice::AsIs},
        Case{"PlatformArgumentWithoutX",
             {"wayland-0", "", "", ""},
             {"-platform", "offscreen"},
             DisplayChoice::AsIs},
        Case{"OtherArgumentsDoNotCount",
             {"wayland-0", "wayland", ":0", ""},
             {"-style", "fusion", "platform"},
             DisplayChoice::XWayland},
        Case{"ValueThatLooksLikeTheOption",
             {"wayland-0", "wayland", ":0", ""},
             {"-platformtheme", "gtk3"},
             DisplayChoice::XWayland}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ChooseDisplayPlatformEdges, MissingArgumentListIsNoChoice)
{
    const DisplayEnvironment env{"wayland-0", "wayland", ":0", ""};
    EXPECT_EQ(chooseDisplayPlatform(env, 0, nullptr), DisplayChoice::XWayland);
}

} // namespace
