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

TEST(RequestedPlatform, ArgumentThenEnvironmentThenXcb)
{
    const char* const plain[] = {"soramado"};
    const char* const chosen[] = {"soramado", "-platform", "offscreen"};
    EXPECT_EQ(requestedPlatform({"", "", ":0", ""}, 1, plain), "xcb");
    EXPECT_EQ(requestedPlatform({"", "", ":0", "wayland;xcb"}, 1, plain), "wayland");
    EXPECT_EQ(requestedPlatform({"", "", "", "vnc:size=800x600"}, 1, plain), "vnc");
    EXPECT_EQ(requestedPlatform({"", "", ":0", "wayland"}, 3, chosen), "offscreen");
}

struct FailureCase {
    const char* name;
    DisplayEnvironment env;
    const char* platform;
    std::vector<std::string> said;
    std::string expected;
};

class DisplayFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(DisplayFailure, OneLineSaysWhatIsActuallyWrong)
{
    const FailureCase& c = GetParam();
    EXPECT_EQ(displayFailureLine("soramado", c.env, c.platform, c.said), c.expected);
}

const std::string NoPlugin =
    "This application failed to start because no Qt platform plugin could be initialized. "
    "Reinstalling the application may fix this problem.\n\nAvailable platform plugins are: "
    "offscreen, xcb.";

INSTANTIATE_TEST_SUITE_P(
    Failures, DisplayFailure,
    ::testing::Values(
        FailureCase{"UnknownPlatformWithAWorkingDisplay",
                    {"", "", ":0", "bogus"},
                    "bogus",
                    {"Could not find the Qt platform plugin \"bogus\" in \"\"", NoPlugin},
                    "soramado: the display platform \"bogus\" is not available, as Qt has no "
                    "plugin for it (it has offscreen, xcb)"},
        FailureCase{"WaylandWithoutItsPluginNorX",
                    {"wayland-0", "", "", "wayland"},
                    "wayland",
                    {"Could not find the Qt platform plugin \"wayland\" in \"\"", NoPlugin},
                    "soramado: the display platform \"wayland\" is not available, as Qt has no "
                    "plugin for it (it has offscreen, xcb); DISPLAY is not set either, so X11 "
                    "cannot stand in"},
        FailureCase{"WaylandWithoutCompositor",
                    {"wayland-9", "", "", "wayland"},
                    "wayland",
                    {"Failed to create wl_display (No such file or directory)",
                     "Could not load the Qt platform plugin \"wayland\" in \"\" even though it "
                     "was found.",
                     NoPlugin},
                    "soramado: cannot connect to the Wayland compositor (WAYLAND_DISPLAY="
                    "wayland-9); DISPLAY is not set either, so X11 cannot stand in"},
        FailureCase{"NoDisplayAtAll",
                    {"", "", "", ""},
                    "xcb",
                    {"could not connect to display ", NoPlugin},
                    "soramado: cannot open a display to show the clock on (DISPLAY is not set)"},
        FailureCase{"DeadXServer",
                    {"", "", ":78", ""},
                    "xcb",
                    {"could not connect to display :78", NoPlugin},
                    "soramado: cannot open a display to show the clock on (DISPLAY=:78)"},
        FailureCase{"EscapesInTheEnvironment",
                    {"", "", "\x1b[2J", ""},
                    "xcb",
                    {NoPlugin},
                    "soramado: cannot open a display to show the clock on (DISPLAY=\\x1b[2J)"},
        FailureCase{"AnotherPlatformsOwnReason",
                    {"", "", ":0", "linuxfb"},
                    "linuxfb",
                    {"Failed to open /dev/fb0\nmore"},
                    "soramado: cannot start the display platform \"linuxfb\": Failed to open "
                    "/dev/fb0"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
