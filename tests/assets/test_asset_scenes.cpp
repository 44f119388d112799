#include "assets/assets.h"

#include "assets/embedded.h"
#include "common/geometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

using namespace soramado;

namespace {

constexpr std::uint32_t Black = 0xff000000;

constexpr std::uint32_t qRgb(int r, int g, int b)
{
    return 0xff000000u | std::uint32_t(r) << 16 | std::uint32_t(g) << 8 | std::uint32_t(b);
}
constexpr int qRed(std::uint32_t c)
{
    return int(c >> 16 & 0xff);
}
constexpr int qGreen(std::uint32_t c)
{
    return int(c >> 8 & 0xff);
}
constexpr int qBlue(std::uint32_t c)
{
    return int(c & 0xff);
}

using Colours = std::set<std::uint32_t>;

bool intersects(const Colours& a, const Colours& b)
{
    return std::any_of(a.begin(), a.end(), [&](std::uint32_t c) { return b.count(c) > 0; });
}

Picture sceneAt(int position)
{
    const assets::PictureRef picture = assets::scene(position);
    return picture ? *picture : Picture();
}

Colours coloursInRows(const Picture& img, int from, int to)
{
    Colours colours;
    for (int y = from; y <= to; ++y)
        for (int x = 0; x < img.width(); ++x)
            colours.insert(img.pixel(x, y));
    return colours;
}

struct PngInfo {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int bitDepth = 0;
    int colourType = 0;
    std::vector<std::string> chunks;
};

std::uint32_t bigEndian(const unsigned char* p)
{
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

// The chunks of an embedded PNG.
PngInfo readPng(const std::string& name)
{
    PngInfo info;
    const std::span<const unsigned char> data = assets::embeddedFile(name);
    static const unsigned char signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (data.size() < 8 || !std::equal(signature, signature + 8, data.begin()))
        return info;
    std::size_t pos = 8;
    while (pos + 12 <= data.size()) {
        const std::uint32_t length = bigEndian(data.data() + pos);
        const std::string type(reinterpret_cast<const char*>(data.data() + pos + 4), 4);
        if (type == "IHDR") {
            info.width = bigEndian(data.data() + pos + 8);
            info.height = bigEndian(data.data() + pos + 12);
            info.bitDepth = data[pos + 16];
            info.colourType = data[pos + 17];
        }
        info.chunks.push_back(type);
        pos += 12 + std::size_t(length);
    }
    return info;
}

bool has(const std::vector<std::string>& list, const std::string& item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}

} // namespace

TEST(AssetScenes, SixScenesOfTheViewSize)
{
    for (int p = 1; p <= assets::SceneCount; ++p) {
        EXPECT_EQ(sceneAt(p).width(), 160) << "scene " << p;
        EXPECT_EQ(sceneAt(p).height(), 120) << "scene " << p;
    }
    EXPECT_FALSE(assets::scene(0));
    EXPECT_FALSE(assets::scene(7));
}

// The visitors fly over rows 0 to 79 and the program paints its stars there, so
// the landscape must not reach into the sky; its top is exactly row 83.
TEST(AssetScenes, LandscapeStartsOnRow83)
{
    for (int p = 1; p <= assets::SceneCount; ++p) {
        SCOPED_TRACE(p);
        const Picture scene = sceneAt(p);
        const Colours sky = coloursInRows(scene, 0, 79);
        const Colours ground = coloursInRows(scene, 100, 119);
        EXPECT_FALSE(intersects(sky, ground)) << "a landscape colour in the sky";
        const Colours edge = coloursInRows(scene, 80, 82);
        for (std::uint32_t c : edge)
            EXPECT_FALSE(ground.count(c) > 0) << "landscape above row 83";
        bool landAt83 = false;
        for (int x = 0; x < 160; ++x)
            landAt83 |= ground.count(scene.pixel(x, 83)) > 0 || scene.pixel(x, 83) == Black;
        EXPECT_TRUE(landAt83);
    }
}

TEST(AssetScenes, OutlinesOnlyBelowTheSky)
{
    for (int p = 1; p <= 5; ++p) {
        const Picture scene = sceneAt(p);
        int black = 0;
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 160; ++x)
                if (scene.pixel(x, y) == Black) {
                    ASSERT_GE(y, 83) << "scene " << p << " at " << x;
                    ++black;
                }
        EXPECT_EQ(black, 663) << "scene " << p;
    }
}

TEST(AssetScenes, NightHasEightColours)
{
    const Picture night = sceneAt(6);
    const Colours colours = coloursInRows(night, 0, 119);
    EXPECT_EQ(colours.size(), 8u);
    EXPECT_TRUE(colours.count(Black));
    EXPECT_TRUE(colours.count(qRgb(252, 252, 210)));
}

TEST(AssetScenes, NoSceneUsesTheProgramsStarColour)
{
    for (int p = 1; p <= assets::SceneCount; ++p)
        EXPECT_FALSE(coloursInRows(sceneAt(p), 0, 119).count(qRgb(255, 255, 224))) << "scene " << p;
}

TEST(AssetScenes, SkyGradientEndsAreExact)
{
    struct Corner {
        int position;
        PixelPoint at;
        std::uint32_t colour;
    };
    const Corner corners[] = {
        {1, {0, 0}, qRgb(0, 0, 128)},      {1, {159, 82}, qRgb(208, 172, 182)},
        {2, {0, 0}, qRgb(226, 100, 133)},  {2, {159, 82}, qRgb(249, 223, 212)},
        {3, {0, 0}, qRgb(184, 255, 255)},  {3, {159, 0}, qRgb(184, 255, 255)},
        {3, {0, 82}, qRgb(184, 255, 255)}, {4, {159, 0}, qRgb(246, 107, 52)},
        {4, {0, 82}, qRgb(253, 230, 220)}, {5, {159, 0}, qRgb(0, 0, 128)},
        {5, {0, 82}, qRgb(182, 142, 227)}, {6, {0, 0}, Black},
    };
    for (const Corner& c : corners)
        EXPECT_EQ(sceneAt(c.position).pixel(c.at.x, c.at.y), c.colour)
            << "scene " << c.position << " at " << c.at.x << "," << c.at.y;
}

TEST(AssetScenes, SkiesAreSmoothNotStriped)
{
    // A gradient in fine steps: many distinct colours in the open sky.
    for (int p : {1, 2, 4, 5})
        EXPECT_GE(coloursInRows(sceneAt(p), 0, 79).size(), 30u) << "scene " << p;
}

TEST(AssetScenes, MorningHasTwoPaleYellowStars)
{
    const Picture morning = sceneAt(2);
    int stars = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 80; ++x)
            stars += morning.pixel(x, y) == qRgb(255, 255, 192);
    EXPECT_EQ(stars, 2);
}

TEST(AssetScenes, DaySkyCannotBeMistakenForTheCloud)
{
    for (std::uint32_t c : coloursInRows(sceneAt(3), 0, 79)) {
        const bool cloudGrey =
            qRed(c) == qGreen(c) && qGreen(c) == qBlue(c) && qRed(c) >= 226 && qRed(c) <= 237;
        EXPECT_FALSE(cloudGrey);
    }
}

TEST(AssetFormat, ScenesAndFramesAreTrueColourWithoutExtraChunks)
{
    std::vector<std::string> paths;
    for (int p = 1; p <= assets::SceneCount; ++p)
        paths.push_back("view/" + std::to_string(p) + ".png");
    paths.push_back("mask/M0101.png");
    paths.push_back("guest/G0320.png");
    paths.push_back("guest/G0604.png");
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        const PngInfo png = readPng(path);
        EXPECT_EQ(png.bitDepth, 8);
        EXPECT_EQ(png.colourType, 2);
        ASSERT_FALSE(png.chunks.empty());
        EXPECT_EQ(png.chunks.front(), "IHDR");
        for (const std::string& chunk : png.chunks)
            EXPECT_TRUE(chunk == "IHDR" || chunk == "IDAT" || chunk == "IEND") << chunk;
    }
}

TEST(AssetFormat, IconIsAnOpaquePalettePicture)
{
    const PngInfo png = readPng("icon.png");
    EXPECT_EQ(png.width, 48u);
    EXPECT_EQ(png.height, 48u);
    EXPECT_EQ(png.bitDepth, 8);
    EXPECT_EQ(png.colourType, 3);
    EXPECT_TRUE(has(png.chunks, "PLTE"));
    EXPECT_FALSE(has(png.chunks, "tRNS"));

    const Picture icon = assets::decodePng(assets::iconPng());
    ASSERT_EQ(icon.width(), 48);
    int blue = 0;
    int pink = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 48; ++x) {
            blue += icon.pixel(x, y) == qRgb(0, 0, 192);
            pink += icon.pixel(x, y) == qRgb(255, 176, 216);
        }
    EXPECT_GT(blue, 40) << "the time digits";
    EXPECT_GT(pink, 200) << "the strip under the picture";
}
