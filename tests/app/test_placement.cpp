#include "app/placement.h"

#include <gtest/gtest.h>

#include <climits>

using namespace soramado;

namespace {

constexpr PixelSize Client{169, 172};
constexpr PixelSize Framed{171, 193}; // a 1 px border and a 20 px title bar
constexpr PixelPoint NoFrame{0, 0};
constexpr PixelPoint UnderTitle{1, 20};

struct PlaceCase {
    const char* name;
    PixelPoint stored;
    PixelSize frame;
    PixelPoint clientOffset;
    std::vector<PixelRect> areas;
    bool usable;
};

const std::vector<PixelRect> Xga{{0, 0, 1024, 768}};
const std::vector<PixelRect> Vga{{0, 0, 640, 480}};
const std::vector<PixelRect> Tiny{{0, 0, 320, 240}};

void PrintTo(const PlaceCase& c, std::ostream* os)
{
    *os << c.name;
}

class Placement : public testing::TestWithParam<PlaceCase> {};

TEST_P(Placement, KeepsTheStoredPlaceOnlyWhereAPersonCanReachTheWindow)
{
    const PlaceCase& c = GetParam();
    const std::optional<PixelPoint> place =
        usableFramePosition(c.stored, c.frame, c.clientOffset, c.areas);
    if (c.usable) {
        ASSERT_TRUE(place.has_value());
        EXPECT_EQ(*place, c.stored);
    } else {
        EXPECT_FALSE(place.has_value());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Screens, Placement,
    testing::Values(
        PlaceCase{"DesignPlace", {160, 128}, Client, NoFrame, Xga, true},
        PlaceCase{"DesignPlaceOnATinyScreen", {160, 128}, Framed, UnderTitle, Tiny, true},
        // One pixel of the window on the screen is not enough.
        PlaceCase{"LastPixelOfTheScreen", {1023, 767}, Client, NoFrame, Xga, false},
        PlaceCase{"TitleBarRowBelowTheScreen", {639, 479}, Framed, UnderTitle, Vga, false},
        // The picture's corner just fits, then one pixel too far either way.
        PlaceCase{"PictureCornerFits", {604, 458}, Client, NoFrame, Vga, true},
        PlaceCase{"PictureCornerOnePixelRight", {605, 458}, Client, NoFrame, Vga, false},
        PlaceCase{"PictureCornerOnePixelDown", {604, 459}, Client, NoFrame, Vga, false},
        PlaceCase{"PictureCornerOnePixelLeftOfTheScreen", {-5, 100}, Client, NoFrame, Vga, false},
        // With the picture below the screen the title bar still serves, if
        // 32 px of it are there at its full height.
        PlaceCase{"TitleBarAlone", {600, 460}, Framed, UnderTitle, Vga, true},
        PlaceCase{"TitleBarOnly31Wide", {609, 460}, Framed, UnderTitle, Vga, false},
        PlaceCase{"TitleBarAboveTheScreen", {100, -1}, Framed, UnderTitle, Vga, true},
        PlaceCase{"TitleBarHalfBelow", {600, 470}, Framed, UnderTitle, Vga, false},
        // A panel's strip is not a place to reach.
        PlaceCase{"UnderABottomPanel", {100, 730}, Client, NoFrame, {{0, 0, 1024, 740}}, false},
        PlaceCase{"LeftMonitorAtNegativeX",
                  {-1270, 100},
                  Client,
                  NoFrame,
                  {{-1280, 0, 1280, 1024}, {0, 0, 1920, 1080}},
                  true},
        // The picture's corner split between two screens of different heights.
        PlaceCase{"GripAcrossTwoScreens",
                  {1000, 700},
                  Client,
                  NoFrame,
                  {{0, 0, 1024, 768}, {1024, 0, 1024, 600}},
                  false},
        PlaceCase{"UnpluggedMonitor", {2000, 100}, Client, NoFrame, Xga, false},
        PlaceCase{"NoScreens", {160, 128}, Client, NoFrame, {}, false},
        PlaceCase{"FarBeyondAnyScreen", {INT_MAX - 5, INT_MAX - 5}, Framed, UnderTitle, Xga, false},
        PlaceCase{"FarBeforeAnyScreen", {INT_MIN, INT_MIN}, Framed, UnderTitle, Xga, false}),
    [](const testing::TestParamInfo<PlaceCase>& info) { return std::string(info.param.name); });

} // namespace
