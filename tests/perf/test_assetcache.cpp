// The picture lookups keep recent decodes: what they hand out must stay the
// pictures themselves, whatever the callers do with them and in whatever order
// they ask.

#include "assets/assets.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QImage>
#include <QString>

using namespace soramado;

namespace {

QImage decodedFresh(const QString& path)
{
    return QImage(path);
}

QString framePath(const QString& key)
{
    const QString folder =
        key.startsWith(QLatin1Char('M')) ? QStringLiteral("mask") : QStringLiteral("guest");
    return QStringLiteral(":/soramado/%1/%2.png").arg(folder, key);
}

class AssetCache : public ::testing::Test {
protected:
    void SetUp() override { assets::forgetDecodedPictures(); }
    void TearDown() override { assets::forgetDecodedPictures(); }
};

TEST_F(AssetCache, DrawingOnAPictureNeverReachesTheNextLookup)
{
    QImage first = assets::scene(3);
    first.fill(Qt::magenta);
    QImage mask = assets::frame(QStringLiteral("M0301"));
    mask.setPixel(0, 0, qRgb(1, 2, 3));

    EXPECT_EQ(assets::scene(3), decodedFresh(QStringLiteral(":/soramado/view/3.png")));
    EXPECT_EQ(assets::frame(QStringLiteral("M0301")), decodedFresh(framePath("M0301")));
}

// A whole cloud flight's worth of lookups in the order a step makes them,
// far more pictures than are kept, then the same again backwards.
TEST_F(AssetCache, LookupsInAnyOrderGiveThePicturesOfTheirKeys)
{
    QStringList keys;
    for (int f = 1; f <= 20; ++f) {
        keys << assets::frameKey(QLatin1Char('M'), 3, f)
             << assets::frameKey(QLatin1Char('G'), 3, f);
    }
    for (int pass = 0; pass < 2; ++pass) {
        for (const QString& key : keys) {
            ASSERT_EQ(assets::frame(key), decodedFresh(framePath(key))) << qPrintable(key);
            ASSERT_EQ(assets::scene(3), decodedFresh(QStringLiteral(":/soramado/view/3.png")))
                << "after " << qPrintable(key);
        }
        std::reverse(keys.begin(), keys.end());
    }
    for (int p = assets::SceneCount; p >= 1; --p)
        EXPECT_EQ(assets::scene(p), decodedFresh(QStringLiteral(":/soramado/view/%1.png").arg(p)))
            << "scene " << p;
}

TEST_F(AssetCache, KeysWithoutAPictureStayNullAndKeepNothingOut)
{
    const QImage day = assets::scene(3);
    for (const char* key : {"M0111", "G0700", "X0101", "M01011", ""})
        EXPECT_TRUE(assets::frame(QString::fromLatin1(key)).isNull()) << key;
    EXPECT_TRUE(assets::scene(0).isNull());
    EXPECT_TRUE(assets::scene(7).isNull());
    // The day scene is still the one kept: the same pixels, not decoded again.
    EXPECT_EQ(assets::scene(3).constBits(), day.constBits());
}

TEST_F(AssetCache, OneStepsPicturesAreDecodedOncePerFrame)
{
    // Mask, sprite and scene, as a step asks for them twice running: the
    // second step gets the very same pixels back.
    const QImage mask = assets::frame(QStringLiteral("M0305"));
    const QImage sprite = assets::frame(QStringLiteral("G0305"));
    const QImage scene = assets::scene(3);
    EXPECT_EQ(assets::frame(QStringLiteral("M0305")).constBits(), mask.constBits());
    EXPECT_EQ(assets::frame(QStringLiteral("G0305")).constBits(), sprite.constBits());
    EXPECT_EQ(assets::scene(3).constBits(), scene.constBits());
}

} // namespace
