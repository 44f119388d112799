// The shell's own small rules: scaling, twips, key filter, menu ids, font
// fallback, the version window's place, the clock's reading of SYSTEMTIME,
// the wake timer's period.
#include "win32/dpi.h"
#include "win32/keys.h"
#include "win32/labelfonts.h"
#include "win32/popupmenu.h"
#include "win32/systemclock.h"
#include "win32/versionwindow.h"
#include "win32/waketimer.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace soramado::win32 {
namespace {

struct DpiCase {
    UINT dpi;
    int twips;
    int factor;
    bool exact;
};

class DpiRules : public ::testing::TestWithParam<DpiCase> {};

TEST_P(DpiRules, TwipsWholeFactorAndExactness)
{
    const DpiCase c = GetParam();
    EXPECT_EQ(twipsPerPixel(c.dpi), c.twips);
    EXPECT_EQ(wholeFactor(c.dpi), c.factor);
    EXPECT_EQ(scalesExactly(c.dpi), c.exact);
}

INSTANTIATE_TEST_SUITE_P(Densities, DpiRules,
                         ::testing::Values(DpiCase{96, 15, 1, true}, DpiCase{0, 15, 1, true},
                                           DpiCase{120, 12, 1, false}, DpiCase{144, 10, 1, false},
                                           // 1440 / 192 = 7.5: half to even
                                           DpiCase{192, 8, 2, true},
                                           // 1440 / 576 = 2.5: half to even again
                                           DpiCase{576, 2, 6, true}, DpiCase{72, 20, 1, true}),
                         [](const auto& info) { return "Dpi" + std::to_string(info.param.dpi); });

TEST(Scaling, LayoutGrowsWithDensityAndFontsKeepPoints)
{
    const RECT at96 = scaledRect(PixelRect{4, 140, 162, 29}, 96);
    EXPECT_EQ(at96.left, 4);
    EXPECT_EQ(at96.right, 166);
    EXPECT_EQ(at96.bottom, 169);
    const RECT at144 = scaledRect(PixelRect{4, 2, 160, 120}, 144);
    EXPECT_EQ(at144.left, 6);
    EXPECT_EQ(at144.top, 3);
    EXPECT_EQ(at144.right - at144.left, 240);
    EXPECT_EQ(at144.bottom - at144.top, 180);
    EXPECT_EQ(fontHeight(20.25, 96), -27);
    EXPECT_EQ(fontHeight(11.25, 96), -15);
    EXPECT_EQ(fontHeight(20.25, 192), -54);
}

TEST(VisitorKey, ShiftF9Only)
{
    EXPECT_TRUE(isVisitorKey(VK_F9, true, false, false));
    EXPECT_FALSE(isVisitorKey(VK_F9, false, false, false));
    EXPECT_FALSE(isVisitorKey(VK_F9, true, true, false));
    EXPECT_FALSE(isVisitorKey(VK_F9, true, false, true));
    EXPECT_FALSE(isVisitorKey(VK_F9, true, true, true));
    EXPECT_FALSE(isVisitorKey(VK_F8, true, false, false));
    EXPECT_FALSE(isVisitorKey(VK_F10, true, false, false));
}

TEST(MenuCommands, EveryIdMapsBackAndStrangersAreNothing)
{
    using Kind = MenuCommand::Kind;
    EXPECT_EQ(commandFor(FontCommandId), (MenuCommand{Kind::Font}));
    EXPECT_EQ(commandFor(FrontCommandId), (MenuCommand{Kind::Front}));
    EXPECT_EQ(commandFor(VersionCommandId), (MenuCommand{Kind::Version}));
    EXPECT_EQ(commandFor(QuitCommandId), (MenuCommand{Kind::Quit}));
    for (int city = 0; city < 6; ++city)
        EXPECT_EQ(commandFor(CityFirstId + static_cast<UINT>(city)),
                  (MenuCommand{Kind::City, city}));
    // 0 is what TrackPopupMenu gives back when the menu was dismissed.
    EXPECT_EQ(commandFor(0), std::nullopt);
    EXPECT_EQ(commandFor(CityFirstId + 6), std::nullopt);
    EXPECT_EQ(commandFor(CityFirstId - 1), std::nullopt);
}

TEST(FontFallback, WantedFaceThenFallbacksInOrderThenWantedAnyway)
{
    const auto installedOf = [](std::set<std::wstring> faces) {
        return [faces](const std::wstring& face) { return faces.contains(face); };
    };
    const std::wstring wanted = L"ＭＳ Ｐゴシック";
    EXPECT_EQ(pickFace(wanted, LabelFaceFallbacks, installedOf({wanted, L"IPAPGothic"})), wanted);
    EXPECT_EQ(pickFace(wanted, LabelFaceFallbacks, installedOf({L"IPAPGothic", L"Meiryo"})),
              L"Meiryo");
    EXPECT_EQ(
        pickFace(wanted, LabelFaceFallbacks, installedOf({L"Noto Sans CJK JP", L"IPAPGothic"})),
        L"IPAPGothic");
    EXPECT_EQ(pickFace(wanted, LabelFaceFallbacks, installedOf({L"Arial"})), wanted);
    // A chosen clock face that exists is kept even when it is no Japanese one.
    EXPECT_EQ(pickFace(L"Arial", ClockFaceFallbacks, installedOf({L"Arial", L"MS Gothic"})),
              L"Arial");
    EXPECT_EQ(pickFace(L"Gone", ClockFaceFallbacks, installedOf({L"IPAGothic", L"IPAPGothic"})),
              L"IPAGothic");
}

TEST(FontFallback, FaceLookupAnswersForRealFaces)
{
    EXPECT_FALSE(faceInstalled(L""));
    EXPECT_FALSE(faceInstalled(L"No Such Face Soramado"));
    EXPECT_FALSE(faceInstalled(std::wstring(40, L'x'))); // longer than LOGFONT holds
}

TEST(VersionWindowPlace, CentredOverTheOwnersFrame)
{
    const POINT at = centredOver(RECT{157, 109, 332, 303}, SIZE{202, 156});
    EXPECT_EQ(at.x, 157 + (175 - 202) / 2);
    EXPECT_EQ(at.y, 109 + (194 - 156) / 2);
    const POINT inside = centredOver(RECT{0, 0, 400, 300}, SIZE{200, 100});
    EXPECT_EQ(inside.x, 100);
    EXPECT_EQ(inside.y, 100);
}

TEST(SystemClockReading, LocalTimeBecomesDateSecondAndMillisecond)
{
    using namespace std::chrono;
    SYSTEMTIME t{};
    t.wYear = 2003;
    t.wMonth = 5;
    t.wDay = 1;
    t.wHour = 17;
    t.wMinute = 50;
    t.wSecond = 30;
    t.wMilliseconds = 999;
    const LocalDateTime at = fromSystemTime(t);
    EXPECT_EQ(at.date, year{2003} / May / day{1});
    EXPECT_EQ(at.secondOfDay, 17 * 3600 + 50 * 60 + 30);
    EXPECT_EQ(at.millisecond, 999);
    t.wHour = 23;
    t.wMinute = 59;
    t.wSecond = 59;
    EXPECT_EQ(fromSystemTime(t).secondOfDay, 86399);
}

TEST(WakePeriod, AWholeSecondFromEarlyInItsFirstTickRepeatsAnyOtherPlanIsItsDelay)
{
    struct Case {
        std::int32_t millisecond;
        bool visitor;
        std::int64_t toHit;
        UINT period;
    };
    const Case cases[] = {
        {0, false, 377, 1000},  // on the second
        {3, false, 377, 1000},  // a wake a little late still lands in the first tick
        {49, false, 377, 1000}, // the last millisecond counted on time
        {50, false, 377, 950},  // later: the next second's own delay
        {120, false, 377, 880}, // the first tick after the start, mid-second
        {999, false, 377, 1},   // a wake just before its second
        {3, false, 4, 397},     // a hit before the second
        {3, false, 10, 1000},   // a hit on the second's own tick
        {0, true, 377, 100},    // a visitor flies: the next tick
        {3, true, 377, 97},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(periodFor(planWake(c.millisecond, c.visitor, c.toHit)), c.period)
            << c.millisecond << " ms, visitor " << c.visitor << ", hit in " << c.toHit;
    }
}

} // namespace
} // namespace soramado::win32
