// The picture lookups keep recent decodes: what they hand out must stay the
// pictures themselves, whatever the callers do with them and in whatever order
// they ask.

#include "assets/assets.h"
#include "assets/embedded.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace soramado;

namespace {

Picture decodedFresh(const std::string& path)
{
    return assets::decodePng(assets::embeddedFile(path));
}

std::string framePath(const std::string& key)
{
    return (key.front() == 'M' ? "mask/" : "guest/") + key + ".png";
}

std::string scenePath(int position)
{
    return "view/" + std::to_string(position) + ".png";
}

class AssetCache : public ::testing::Test {
protected:
    void SetUp() override { assets::forgetDecodedPictures(); }
    void TearDown() override { assets::forgetDecodedPictures(); }
};

TEST_F(AssetCache, DrawingOnACopyNeverReachesTheNextLookup)
{
    Picture first = *assets::scene(3);
    first.fill(0xffff00ffu);
    Picture mask = *assets::frame("M0301");
    mask.setPixel(0, 0, 0xff010203u);

    EXPECT_EQ(*assets::scene(3), decodedFresh(scenePath(3)));
    EXPECT_EQ(*assets::frame("M0301"), decodedFresh(framePath("M0301")));
}

// A whole cloud flight's worth of lookups in the order a step makes them,
// far more pictures than are kept, then the same again backwards.
TEST_F(AssetCache, LookupsInAnyOrderGiveThePicturesOfTheirKeys)
{
    std::vector<std::string> keys;
    for (int f = 1; f <= 20; ++f) {
        keys.push_back(assets::frameKey('M', 3, f));
        keys.push_back(assets::frameKey('G', 3, f));
    }
    for (int pass = 0; pass < 2; ++pass) {
        for (const std::string& key : keys) {
            ASSERT_EQ(*assets::frame(key), decodedFresh(framePath(key))) << key;
            ASSERT_EQ(*assets::scene(3), decodedFresh(scenePath(3))) << "after " << key;
        }
        std::reverse(keys.begin(), keys.end());
    }
    for (int p = assets::SceneCount; p >= 1; --p)
        EXPECT_EQ(*assets::scene(p), decodedFresh(scenePath(p))) << "scene " << p;
}

TEST_F(AssetCache, KeysWithoutAPictureGiveNothingAndKeepNothingOut)
{
    const assets::PictureRef day = assets::scene(3);
    for (const char* key : {"M0111", "G0700", "X0101", "M01011", ""})
        EXPECT_FALSE(assets::frame(key)) << key;
    EXPECT_FALSE(assets::scene(0));
    EXPECT_FALSE(assets::scene(7));
    // The day scene is still the one kept: the same pixels, not decoded again.
    EXPECT_EQ(assets::scene(3).get(), day.get());
}

TEST_F(AssetCache, OneStepsPicturesAreDecodedOncePerFrame)
{
    // Mask, sprite and scene, as a step asks for them twice running: the
    // second step gets the very same pixels back.
    const assets::PictureRef mask = assets::frame("M0305");
    const assets::PictureRef sprite = assets::frame("G0305");
    const assets::PictureRef scene = assets::scene(3);
    EXPECT_EQ(assets::frame("M0305").get(), mask.get());
    EXPECT_EQ(assets::frame("G0305").get(), sprite.get());
    EXPECT_EQ(assets::scene(3).get(), scene.get());
}

} // namespace
