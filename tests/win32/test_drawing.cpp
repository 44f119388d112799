// What GDI and USER are handed: the popup menu as built, the view's pixels as
// painted into a bitmap.
#include "app/menu.h"
#include "win32/popupmenu.h"
#include "win32/text.h"
#include "win32/viewbitmap.h"

#include <gtest/gtest.h>

#include <vector>

namespace soramado::win32 {
namespace {

std::wstring caption(HMENU menu, UINT position)
{
    wchar_t text[128] = {};
    GetMenuStringW(menu, position, text, 127, MF_BYPOSITION);
    return text;
}

bool checked(HMENU menu, UINT position)
{
    return (GetMenuState(menu, position, MF_BYPOSITION) & MF_CHECKED) != 0;
}

bool isSeparator(HMENU menu, UINT position)
{
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(menu, position, TRUE, &info);
    return (info.fType & MFT_SEPARATOR) != 0;
}

TEST(PopupMenu, CaptionsAccessKeysAndSeparatorsInOrder)
{
    const Menu menu = buildPopupMenu(2, false);
    ASSERT_EQ(GetMenuItemCount(menu.get()), 9);
    EXPECT_EQ(caption(menu.get(), 0), widen(menu::Font));
    EXPECT_TRUE(isSeparator(menu.get(), 1));
    EXPECT_EQ(caption(menu.get(), 2), widen(menu::Location));
    EXPECT_TRUE(isSeparator(menu.get(), 3));
    EXPECT_EQ(caption(menu.get(), 4), widen(menu::AlwaysOnTop));
    EXPECT_TRUE(isSeparator(menu.get(), 5));
    EXPECT_EQ(caption(menu.get(), 6), widen(menu::Version));
    EXPECT_TRUE(isSeparator(menu.get(), 7));
    EXPECT_EQ(caption(menu.get(), 8), widen(menu::Quit));
    EXPECT_EQ(caption(menu.get(), 8), L"Soramadoの終了(&Q)");
    EXPECT_EQ(GetMenuItemID(menu.get(), 8), static_cast<UINT>(QuitCommandId));

    const HMENU cities = GetSubMenu(menu.get(), 2);
    ASSERT_NE(cities, nullptr);
    ASSERT_EQ(GetMenuItemCount(cities), 6);
    const wchar_t* expected[] = {L"札幌(&S)", L"仙台(&D)", L"東京(&T)",
                                 L"大阪(&O)", L"広島(&H)", L"福岡(&F)"};
    for (UINT i = 0; i < 6; ++i) {
        EXPECT_EQ(caption(cities, i), expected[i]);
        EXPECT_EQ(commandFor(GetMenuItemID(cities, static_cast<int>(i)))->city,
                  static_cast<int>(i));
    }
}

TEST(PopupMenu, ExactlyTheCurrentCityAndTheAlwaysOnTopStateAreChecked)
{
    for (int city = 0; city < 6; ++city) {
        for (bool onTop : {false, true}) {
            const Menu menu = buildPopupMenu(city, onTop);
            const HMENU cities = GetSubMenu(menu.get(), 2);
            for (int i = 0; i < 6; ++i)
                EXPECT_EQ(checked(cities, static_cast<UINT>(i)), i == city) << city << " " << i;
            EXPECT_EQ(checked(menu.get(), 4), onTop);
            EXPECT_FALSE(checked(menu.get(), 0));
            EXPECT_FALSE(checked(menu.get(), 8));
        }
    }
}

TEST(ViewRevision, RepaintOnlyWhenTheRevisionChanges)
{
    ViewBitmap view;
    EXPECT_TRUE(view.takeRevision(0)); // the first showing always paints
    EXPECT_FALSE(view.takeRevision(0));
    EXPECT_TRUE(view.takeRevision(1));
    EXPECT_FALSE(view.takeRevision(1));
    view.forget(); // a new density: everything again
    EXPECT_TRUE(view.takeRevision(1));
}

// A 32-bit DIB section to paint into, read back pixel by pixel.
class Canvas {
public:
    Canvas(int width, int height) : width_(width)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
    }
    ~Canvas()
    {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    std::uint32_t at(int x, int y) const
    {
        GdiFlush();
        return static_cast<const std::uint32_t*>(bits_)[y * width_ + x] & 0x00FFFFFFu;
    }

private:
    int width_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
    void* bits_ = nullptr;
};

Picture testPicture()
{
    Picture picture(160, 120);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 160; ++x)
            picture.setPixel(x, y,
                             0xFF000000u | static_cast<std::uint32_t>(x << 16 | y << 8 | (x ^ y)));
    return picture;
}

TEST(ViewPainting, AtDesignDensityEveryPixelLandsUnchangedInPlace)
{
    const Picture picture = testPicture();
    Canvas canvas(170, 125);
    ViewBitmap::paint(canvas.dc(), picture, RECT{4, 2, 164, 122}, true);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 160; ++x)
            ASSERT_EQ(canvas.at(x + 4, y + 2), picture.pixel(x, y) & 0xFFFFFFu) << x << "," << y;
    EXPECT_EQ(canvas.at(3, 2), 0u); // nothing outside the view
}

TEST(ViewPainting, AtTwiceTheDensityEachPixelBecomesTwoByTwo)
{
    const Picture picture = testPicture();
    Canvas canvas(330, 250);
    ViewBitmap::paint(canvas.dc(), picture, RECT{8, 4, 328, 244}, true);
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x)
            ASSERT_EQ(canvas.at(x + 8, y + 4), picture.pixel(x / 2, y / 2) & 0xFFFFFFu)
                << x << "," << y;
}

} // namespace
} // namespace soramado::win32
