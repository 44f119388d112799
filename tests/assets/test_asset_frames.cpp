#include "assets/assets.h"

#include "assets/embedded.h"
#include "common/geometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace soramado;

namespace {

struct Visitor {
    int number;
    int frames;
};
constexpr Visitor Visitors[] = {{1, 10}, {3, 20}, {6, 4}};

std::string key(char list, int visitor, int frameNo)
{
    return assets::frameKey(list, visitor, frameNo);
}

// The frame under a key, or an empty picture.
Picture frameOf(const std::string& k)
{
    const assets::PictureRef picture = assets::frame(k);
    return picture ? *picture : Picture();
}

// A rectangle by its edges, right and bottom included; empty when right < left.
struct Box {
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;
    bool empty() const { return right < left || bottom < top; }
    bool operator==(const Box&) const = default;
    bool contains(const Box& o) const
    {
        return o.left >= left && o.right <= right && o.top >= top && o.bottom <= bottom;
    }
};

Box box(int x, int y, int width, int height)
{
    return {x, y, x + width - 1, y + height - 1};
}

Box intersected(const Box& a, const Box& b)
{
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

bool isWhite(std::uint32_t c)
{
    return (c & 0xffffff) == 0xffffff;
}

bool isBlack(std::uint32_t c)
{
    return (c & 0xffffff) == 0;
}

constexpr std::uint32_t rgb(int r, int g, int b)
{
    return 0xff000000u | std::uint32_t(r) << 16 | std::uint32_t(g) << 8 | std::uint32_t(b);
}
constexpr int red(std::uint32_t c)
{
    return int(c >> 16 & 0xff);
}
constexpr int green(std::uint32_t c)
{
    return int(c >> 8 & 0xff);
}
constexpr int blue(std::uint32_t c)
{
    return int(c & 0xff);
}

// The pixels where the mask is white.
std::vector<PixelPoint> figure(const Picture& mask)
{
    std::vector<PixelPoint> points;
    for (int y = 0; y < mask.height(); ++y)
        for (int x = 0; x < mask.width(); ++x)
            if (isWhite(mask.pixel(x, y)))
                points.push_back({x, y});
    return points;
}

Box bounds(const std::vector<PixelPoint>& points)
{
    if (points.empty())
        return {};
    Box r{points[0].x, points[0].y, points[0].x, points[0].y};
    for (const PixelPoint& p : points)
        r = {std::min(r.left, p.x), std::min(r.top, p.y), std::max(r.right, p.x),
             std::max(r.bottom, p.y)};
    return r;
}

std::vector<std::string> expectedFiles(const std::string& folder, char list)
{
    std::vector<std::string> names;
    for (const Visitor& v : Visitors)
        for (int f = 1; f <= v.frames; ++f)
            names.push_back(folder + "/" + key(list, v.number, f) + ".png");
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> embeddedUnder(const std::string& folder)
{
    std::vector<std::string> names;
    for (std::size_t i = 0; i < assets::EmbeddedFileCount; ++i) {
        const std::string name = assets::EmbeddedFiles[i].name;
        if (name.rfind(folder + "/", 0) == 0)
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(AssetFrames, TheProgramHoldsExactlyTheFrameKeys)
{
    EXPECT_EQ(embeddedUnder("mask"), expectedFiles("mask", 'M'));
    EXPECT_EQ(embeddedUnder("guest"), expectedFiles("guest", 'G'));
    EXPECT_FALSE(assets::frame("M0111"));
    EXPECT_FALSE(assets::frame("G0605"));
    EXPECT_FALSE(assets::frame("X0101"));
    EXPECT_FALSE(assets::frame("M01011"));
}

TEST(AssetFrames, EveryPairIsFrameSizedAndAgrees)
{
    for (const Visitor& v : Visitors) {
        for (int f = 1; f <= v.frames; ++f) {
            SCOPED_TRACE(key('M', v.number, f));
            const Picture mask = frameOf(key('M', v.number, f));
            const Picture sprite = frameOf(key('G', v.number, f));
            ASSERT_EQ(mask.width(), 160);
            ASSERT_EQ(mask.height(), 80);
            ASSERT_EQ(sprite.width(), 160);
            ASSERT_EQ(sprite.height(), 80);
            int marked = 0;
            for (int y = 0; y < 80; ++y) {
                for (int x = 0; x < 160; ++x) {
                    const std::uint32_t m = mask.pixel(x, y);
                    const std::uint32_t s = sprite.pixel(x, y);
                    ASSERT_TRUE(isWhite(m) || isBlack(m)) << "mask colour at " << x << "," << y;
                    // The sprite carries colour exactly where the mask is white.
                    ASSERT_EQ(isWhite(m), !isWhite(s)) << "at " << x << "," << y;
                    marked += isWhite(m);
                }
            }
            EXPECT_GT(marked, 0);
        }
    }
}

struct Placement {
    int visitor;
    int frameNo;
    Box box;    // the whole figure, before the frame edge cuts it
    int pixels; // what is left inside the frame
};

// clang-format off
const Placement Placements[] = {
    {1, 1, box(126, 22, 21, 10), 28}, {1, 2, box(114, 18, 21, 10), 28}, {1, 3, box(98, 21, 21, 10), 28},
    {1, 4, box(85, 10, 21, 10), 28},  {1, 5, box(66, 9, 21, 10), 28},   {1, 6, box(54, 17, 21, 10), 28},
    {1, 7, box(41, 21, 21, 10), 28},  {1, 8, box(27, 25, 21, 10), 28},  {1, 9, box(15, 26, 21, 10), 28},
    {1, 10, box(-1, 18, 21, 10), 26},
    {3, 1, box(-41, 36, 50, 20), -1}, {3, 2, box(-24, 36, 50, 20), -1}, {3, 3, box(-13, 38, 50, 20), -1},
    {3, 4, box(4, 38, 50, 20), 717},  {3, 5, box(11, 38, 50, 20), 717}, {3, 6, box(19, 40, 50, 20), 717},
    {3, 7, box(28, 41, 50, 20), 717}, {3, 8, box(35, 39, 50, 20), 717}, {3, 9, box(45, 44, 50, 20), 717},
    {3, 10, box(55, 43, 50, 20), 717}, {3, 11, box(62, 43, 50, 20), 717}, {3, 12, box(66, 42, 50, 20), 717},
    {3, 13, box(73, 44, 50, 20), 717}, {3, 14, box(78, 44, 50, 20), 717}, {3, 15, box(86, 43, 50, 20), 717},
    {3, 16, box(94, 43, 50, 20), 717}, {3, 17, box(106, 45, 50, 20), 717},
    {3, 18, box(120, 46, 50, 20), -1}, {3, 19, box(133, 46, 50, 20), -1}, {3, 20, box(148, 52, 50, 20), -1},
    {6, 1, box(81, 7, 11, 11), 11},   {6, 2, box(53, 15, 31, 31), 31},  {6, 3, box(39, 41, 19, 19), 19},
    {6, 4, box(34, 62, 3, 3), 3},
};
// clang-format on

TEST(AssetFrames, FiguresSitWhereTheFlightPutsThem)
{
    const Box frameRect = box(0, 0, 160, 80);
    for (const Placement& p : Placements) {
        SCOPED_TRACE(key('M', p.visitor, p.frameNo));
        const std::vector<PixelPoint> points = figure(frameOf(key('M', p.visitor, p.frameNo)));
        const Box seen = bounds(points);
        const Box visible = intersected(p.box, frameRect);
        if (p.pixels >= 0) {
            EXPECT_EQ(seen, visible);
            EXPECT_EQ(int(points.size()), p.pixels);
        } else {
            // Cut by the frame edge: the columns left may not span the full height.
            EXPECT_TRUE(visible.contains(seen));
            EXPECT_EQ(seen.left, visible.left);
            EXPECT_EQ(seen.right, visible.right);
        }
    }
}

// The bird and the cloud keep their shape: each frame is the same figure moved,
// cut only by the frame edge, in the same colours.
TEST(AssetFrames, BirdAndCloudAreOneFigureMoved)
{
    struct Reference {
        int visitor;
        int frameNo; // a frame showing the whole figure
    };
    for (const Reference ref : {Reference{1, 1}, Reference{3, 4}}) {
        const Placement* home = nullptr;
        for (const Placement& p : Placements)
            if (p.visitor == ref.visitor && p.frameNo == ref.frameNo)
                home = &p;
        ASSERT_NE(home, nullptr);
        const Picture refSprite = frameOf(key('G', ref.visitor, ref.frameNo));
        for (const Placement& p : Placements) {
            if (p.visitor != ref.visitor)
                continue;
            SCOPED_TRACE(key('G', p.visitor, p.frameNo));
            const Picture sprite = frameOf(key('G', p.visitor, p.frameNo));
            const int shiftX = p.box.left - home->box.left;
            const int shiftY = p.box.top - home->box.top;
            for (int y = 0; y < 80; ++y)
                for (int x = 0; x < 160; ++x) {
                    const int fromX = x - shiftX;
                    const int fromY = y - shiftY;
                    const std::uint32_t expected =
                        fromX >= 0 && fromX < 160 && fromY >= 0 && fromY < 80
                            ? refSprite.pixel(fromX, fromY)
                            : 0xffffffffu;
                    ASSERT_EQ(sprite.pixel(x, y), expected) << "at " << x << "," << y;
                }
        }
    }
}

TEST(AssetFrames, FigureColoursKeepToTheirVisitor)
{
    for (const Visitor& v : Visitors) {
        for (int f = 1; f <= v.frames; ++f) {
            SCOPED_TRACE(key('G', v.number, f));
            const Picture sprite = frameOf(key('G', v.number, f));
            for (const PixelPoint& p : figure(frameOf(key('M', v.number, f)))) {
                const std::uint32_t c = sprite.pixel(p.x, p.y);
                if (v.number == 1) {
                    ASSERT_EQ(c, rgb(72, 4, 4));
                } else if (v.number == 3) {
                    ASSERT_TRUE(red(c) == green(c) && green(c) == blue(c));
                    ASSERT_TRUE(red(c) >= 226 && red(c) <= 237) << red(c);
                } else {
                    // A streak at 45 degrees on one line, in one pale yellow from head to tail.
                    ASSERT_EQ(p.x + p.y, 98);
                    ASSERT_EQ(c, rgb(255, 255, 192));
                }
            }
        }
    }
}

TEST(AssetFrames, CombiningChangesNothingOutsideTheFigure)
{
    for (int position = 1; position <= assets::SceneCount; ++position) {
        const Picture scene = *assets::scene(position);
        for (const Visitor& v : Visitors) {
            for (int f = 1; f <= v.frames; ++f) {
                const Picture mask = frameOf(key('M', v.number, f));
                const Picture sprite = frameOf(key('G', v.number, f));
                for (int y = 0; y < 80; ++y)
                    for (int x = 0; x < 160; ++x) {
                        const std::uint32_t shown =
                            (scene.pixel(x, y) | mask.pixel(x, y)) & sprite.pixel(x, y);
                        const std::uint32_t expected =
                            isWhite(mask.pixel(x, y)) ? sprite.pixel(x, y) : scene.pixel(x, y);
                        ASSERT_EQ(shown, expected)
                            << "scene " << position << " visitor " << v.number << " frame " << f
                            << " at " << x << "," << y;
                    }
            }
        }
    }
}
