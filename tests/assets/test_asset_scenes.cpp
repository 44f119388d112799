#include "assets/assets.h"

#include <QFile>
#include <QSet>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace soramado;

namespace {

constexpr QRgb Black = 0xff000000;

QSet<QRgb> coloursInRows(const QImage& img, int from, int to)
{
    QSet<QRgb> colours;
    for (int y = from; y <= to; ++y)
        for (int x = 0; x < img.width(); ++x)
            colours.insert(img.pixel(x, y));
    return colours;
}

struct PngInfo {
    quint32 width = 0;
    quint32 height = 0;
    int bitDepth = 0;
    int colourType = 0;
    QStringList chunks;
};

PngInfo readPng(const QString& path)
{
    PngInfo info;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return info;
    const QByteArray data = file.readAll();
    if (!data.startsWith("\x89PNG\r\n\x1a\n"))
        return info;
    qsizetype pos = 8;
    while (pos + 12 <= data.size()) {
        const quint32 length = qFromBigEndian<quint32>(data.constData() + pos);
        const QByteArray type = data.mid(pos + 4, 4);
        if (type == "IHDR") {
            info.width = qFromBigEndian<quint32>(data.constData() + pos + 8);
            info.height = qFromBigEndian<quint32>(data.constData() + pos + 12);
            info.bitDepth = uchar(data.at(pos + 16));
            info.colourType = uchar(data.at(pos + 17));
        }
        info.chunks << QString::fromLatin1(type);
        pos += 12 + qsizetype(length);
    }
    return info;
}

} // namespace

TEST(AssetScenes, SixScenesOfTheViewSize)
{
    for (int p = 1; p <= assets::SceneCount; ++p)
        EXPECT_EQ(assets::scene(p).size(), QSize(160, 120)) << "scene " << p;
    EXPECT_TRUE(assets::scene(0).isNull());
    EXPECT_TRUE(assets::scene(7).isNull());
}

// The visitors fly over rows 0 to 79 and the program paints its stars there, so
// the landscape must not reach into the sky; its top is exactly row 83.
TEST(AssetScenes, LandscapeStartsOnRow83)
{
    for (int p = 1; p <= assets::SceneCount; ++p) {
        SCOPED_TRACE(p);
        const QImage scene = assets::scene(p);
        const QSet<QRgb> sky = coloursInRows(scene, 0, 79);
        const QSet<QRgb> ground = coloursInRows(scene, 100, 119);
        EXPECT_FALSE(sky.intersects(ground)) << "a landscape colour in the sky";
        const QSet<QRgb> edge = coloursInRows(scene, 80, 82);
        for (QRgb c : edge)
            EXPECT_FALSE(ground.contains(c)) << "landscape above row 83";
        bool landAt83 = false;
        for (int x = 0; x < 160; ++x)
            landAt83 |= ground.contains(scene.pixel(x, 83)) || scene.pixel(x, 83) == Black;
        EXPECT_TRUE(landAt83);
    }
}

TEST(AssetScenes, OutlinesOnlyBelowTheSky)
{
    for (int p = 1; p <= 5; ++p) {
        const QImage scene = assets::scene(p);
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
    const QImage night = assets::scene(6);
    const QSet<QRgb> colours = coloursInRows(night, 0, 119);
    EXPECT_EQ(colours.size(), 8);
    EXPECT_TRUE(colours.contains(Black));
    EXPECT_TRUE(colours.contains(qRgb(252, 252, 210)));
}

TEST(AssetScenes, NoSceneUsesTheProgramsStarColour)
{
    for (int p = 1; p <= assets::SceneCount; ++p)
        EXPECT_FALSE(coloursInRows(assets::scene(p), 0, 119).contains(qRgb(255, 255, 224)))
            << "scene " << p;
}

TEST(AssetScenes, SkyGradientEndsAreExact)
{
    struct Corner {
        int position;
        QPoint at;
        QRgb colour;
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
        EXPECT_EQ(assets::scene(c.position).pixel(c.at), c.colour)
            << "scene " << c.position << " at " << c.at.x() << "," << c.at.y();
}

TEST(AssetScenes, SkiesAreSmoothNotStriped)
{
    // A gradient in fine steps: many distinct colours in the open sky.
    for (int p : {1, 2, 4, 5})
        EXPECT_GE(coloursInRows(assets::scene(p), 0, 79).size(), 30) << "scene " << p;
}

TEST(AssetScenes, MorningHasTwoPaleYellowStars)
{
    const QImage morning = assets::scene(2);
    int stars = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 80; ++x)
            stars += morning.pixel(x, y) == qRgb(255, 255, 192);
    EXPECT_EQ(stars, 2);
}

TEST(AssetScenes, DaySkyCannotBeMistakenForTheCloud)
{
    for (QRgb c : coloursInRows(assets::scene(3), 0, 79)) {
        const bool cloudGrey =
            qRed(c) == qGreen(c) && qGreen(c) == qBlue(c) && qRed(c) >= 226 && qRed(c) <= 237;
        EXPECT_FALSE(cloudGrey);
    }
}

TEST(AssetFormat, ScenesAndFramesAreTrueColourWithoutExtraChunks)
{
    QStringList paths;
    for (int p = 1; p <= assets::SceneCount; ++p)
        paths << QStringLiteral(":/soramado/view/%1.png").arg(p);
    paths << QStringLiteral(":/soramado/mask/M0101.png")
          << QStringLiteral(":/soramado/guest/G0320.png")
          << QStringLiteral(":/soramado/guest/G0604.png");
    for (const QString& path : paths) {
        SCOPED_TRACE(path.toStdString());
        const PngInfo png = readPng(path);
        EXPECT_EQ(png.bitDepth, 8);
        EXPECT_EQ(png.colourType, 2);
        EXPECT_EQ(png.chunks.first(), QStringLiteral("IHDR"));
        for (const QString& chunk : png.chunks)
            EXPECT_TRUE(chunk == QLatin1String("IHDR") || chunk == QLatin1String("IDAT") ||
                        chunk == QLatin1String("IEND"))
                << chunk.toStdString();
    }
}

TEST(AssetFormat, IconIsAnOpaquePalettePicture)
{
    const PngInfo png = readPng(QStringLiteral(":/soramado/icon.png"));
    EXPECT_EQ(png.width, 48u);
    EXPECT_EQ(png.height, 48u);
    EXPECT_EQ(png.bitDepth, 8);
    EXPECT_EQ(png.colourType, 3);
    EXPECT_TRUE(png.chunks.contains(QStringLiteral("PLTE")));
    EXPECT_FALSE(png.chunks.contains(QStringLiteral("tRNS")));

    const QImage icon = assets::icon();
    ASSERT_EQ(icon.format(), QImage::Format_Indexed8);
    int blue = 0;
    int pink = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 48; ++x) {
            ASSERT_EQ(qAlpha(icon.pixel(x, y)), 255);
            blue += icon.pixel(x, y) == qRgb(0, 0, 192);
            pink += icon.pixel(x, y) == qRgb(255, 176, 216);
        }
    EXPECT_GT(blue, 40) << "the time digits";
    EXPECT_GT(pink, 200) << "the strip under the picture";
}
