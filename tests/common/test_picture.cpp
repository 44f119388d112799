#include "common/picture.h"
#include "sky/viewsurface.h"
#include "support/pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

using namespace soramado;
using namespace soramado::fakes;

namespace {

TEST(CombineMaskAndSprite, IsViewOrMaskAndSpritePerChannelOverTheFrame)
{
    Picture view(4, 3, rgb(0x12, 0x34, 0x56));
    Picture mask(4, 2, rgb(0, 0, 0));
    Picture sprite(4, 2, rgb(255, 255, 255));
    mask.setPixel(1, 0, rgb(255, 255, 255)); // the figure: the sprite's colour shows
    sprite.setPixel(1, 0, rgb(0x80, 0x40, 0x20));
    mask.setPixel(2, 1, rgb(0x0f, 0xf0, 0x00)); // any other values follow the same rule
    sprite.setPixel(2, 1, rgb(0x3c, 0xff, 0x0f));
    combineMaskAndSprite(view, mask, sprite);
    EXPECT_EQ(view.pixel(0, 0), rgb(0x12, 0x34, 0x56)); // black mask, white sprite: unchanged
    EXPECT_EQ(view.pixel(1, 0), rgb(0x80, 0x40, 0x20));
    EXPECT_EQ(view.pixel(2, 1), rgb((0x12 | 0x0f) & 0x3c, (0x34 | 0xf0) & 0xff, (0x56 | 0) & 0x0f));
    // Below the frame's rows nothing changes.
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(view.pixel(x, 2), rgb(0x12, 0x34, 0x56));
}

TEST(CombineMaskAndSprite, SmallerFramesOrViewsNeverReachOutside)
{
    Picture view(2, 2, rgb(1, 2, 3));
    const Picture big(5, 5, rgb(255, 255, 255));
    combineMaskAndSprite(view, big, big);
    EXPECT_EQ(view, Picture(2, 2, rgb(255, 255, 255)));
    Picture empty;
    combineMaskAndSprite(empty, big, big);
    EXPECT_TRUE(empty.isNull());
}

struct Ratio {
    const char* name;
    double ratio;
    int width;
    int height;
};

void PrintTo(const Ratio& ratio, std::ostream* out)
{
    *out << ratio.name;
}

class ScalePixelArt : public ::testing::TestWithParam<Ratio> {};

TEST_P(ScalePixelArt, FillsTheScaledSize)
{
    const Ratio r = GetParam();
    const Picture out = scalePixelArt(noise(), r.ratio);
    EXPECT_EQ(out.width(), r.width);
    EXPECT_EQ(out.height(), r.height);
}

// An output pixel that lies wholly on one source pixel is that pixel, exactly;
// one on a seam mixes only the source pixels it touches.
TEST_P(ScalePixelArt, PixelsStayBlocksWithOnlyTheSeamsMixed)
{
    const Ratio r = GetParam();
    const Picture source = noise();
    const Picture out = scalePixelArt(source, r.ratio);
    const double step = static_cast<double>(source.width()) / out.width();
    int exact = 0;
    for (int y = 0; y < out.height(); ++y) {
        for (int x = 0; x < out.width(); ++x) {
            const int x0 = static_cast<int>(std::floor(x * step + 1e-9));
            const int x1 = std::min(static_cast<int>(std::ceil((x + 1) * step - 1e-9)) - 1,
                                    source.width() - 1);
            const int y0 = static_cast<int>(std::floor(y * step + 1e-9));
            const int y1 = std::min(static_cast<int>(std::ceil((y + 1) * step - 1e-9)) - 1,
                                    source.height() - 1);
            const std::uint32_t got = out.pixel(x, y);
            if (x0 == x1 && y0 == y1) {
                ASSERT_EQ(got, source.pixel(x0, y0)) << "at " << x << "," << y;
                ++exact;
                continue;
            }
            ASSERT_LE(x1 - x0, 1);
            ASSERT_LE(y1 - y0, 1);
            for (const int shift : {16, 8, 0}) {
                const auto channel = [shift](std::uint32_t c) {
                    return static_cast<int>((c >> shift) & 0xff);
                };
                int lo = 255, hi = 0;
                for (int sy = y0; sy <= y1; ++sy)
                    for (int sx = x0; sx <= x1; ++sx) {
                        lo = std::min(lo, channel(source.pixel(sx, sy)));
                        hi = std::max(hi, channel(source.pixel(sx, sy)));
                    }
                ASSERT_GE(channel(got), lo) << "at " << x << "," << y;
                ASSERT_LE(channel(got), hi) << "at " << x << "," << y;
            }
        }
    }
    EXPECT_GT(exact, 0);
}

INSTANTIATE_TEST_SUITE_P(Ratios, ScalePixelArt,
                         ::testing::Values(Ratio{"One", 1.0, 160, 120}, Ratio{"Two", 2.0, 320, 240},
                                           Ratio{"Three", 3.0, 480, 360},
                                           Ratio{"OneAndAHalf", 1.5, 240, 180},
                                           Ratio{"OneAndAQuarter", 1.25, 200, 150},
                                           Ratio{"TwoAndAHalf", 2.5, 400, 300},
                                           Ratio{"OneAndThreeQuarters", 1.75, 280, 210}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ScalePixelArtEdges, WholeRatiosGiveEvenBlocksOfTheSourcePixel)
{
    const Picture source = noise();
    for (const int factor : {2, 3, 4}) {
        const Picture out = scalePixelArt(source, factor);
        ASSERT_EQ(out.width(), source.width() * factor);
        ASSERT_EQ(out.height(), source.height() * factor);
        for (int y = 0; y < out.height(); ++y)
            for (int x = 0; x < out.width(); ++x)
                ASSERT_EQ(out.pixel(x, y), source.pixel(x / factor, y / factor))
                    << "factor " << factor << " at " << x << "," << y;
    }
}

TEST(ScalePixelArtEdges, OneAndAHalfGivesTheSamePatternEverywhere)
{
    // Two source pixels become three: pure, seam, pure; never uneven widths.
    Picture stripes(8, 1);
    for (int x = 0; x < 8; ++x)
        stripes.setPixel(x, 0, x % 2 ? rgb(255, 255, 255) : rgb(0, 0, 0));
    const Picture out = scalePixelArt(stripes, 1.5);
    ASSERT_EQ(out.width(), 12);
    for (int x = 0; x < 12; x += 3) {
        EXPECT_EQ(out.pixel(x, 0), rgb(0, 0, 0)) << x;
        EXPECT_NEAR(double(out.pixel(x + 1, 0) >> 16 & 0xff), 127.5, 0.5) << x;
        EXPECT_EQ(out.pixel(x + 2, 0), rgb(255, 255, 255)) << x;
    }
}

TEST(ScalePixelArtEdges, RatiosBelowOneOrInvalidKeepTheSource)
{
    const Picture source = noise();
    for (const double ratio : {0.5, 0.0, -2.0, std::nan("")}) {
        const Picture out = scalePixelArt(source, ratio);
        EXPECT_EQ(out, source) << ratio;
    }
    EXPECT_TRUE(scalePixelArt(Picture(), 2.0).isNull());
}

} // namespace
