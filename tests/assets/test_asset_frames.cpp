#include "assets/assets.h"

#include <QDir>
#include <QRect>
#include <QSet>
#include <gtest/gtest.h>

#include <vector>

using namespace soramado;

namespace {

struct Visitor {
    int number;
    int frames;
};
constexpr Visitor Visitors[] = {{1, 10}, {3, 20}, {6, 4}};

QString key(QChar list, int visitor, int frameNo)
{
    return assets::frameKey(list, visitor, frameNo);
}

bool isWhite(QRgb c)
{
    return (c & 0xffffff) == 0xffffff;
}

bool isBlack(QRgb c)
{
    return (c & 0xffffff) == 0;
}

// The pixels where the mask is white.
std::vector<QPoint> figure(const QImage& mask)
{
    std::vector<QPoint> points;
    for (int y = 0; y < mask.height(); ++y)
        for (int x = 0; x < mask.width(); ++x)
            if (isWhite(mask.pixel(x, y)))
                points.push_back({x, y});
    return points;
}

QRect bounds(const std::vector<QPoint>& points)
{
    QRect r;
    for (const QPoint& p : points)
        r |= QRect(p, QSize(1, 1));
    return r;
}

QStringList expectedFiles(QChar list)
{
    QStringList names;
    for (const Visitor& v : Visitors)
        for (int f = 1; f <= v.frames; ++f)
            names << key(list, v.number, f) + QStringLiteral(".png");
    names.sort();
    return names;
}

} // namespace

TEST(AssetFrames, ResourcesHoldExactlyTheFrameKeys)
{
    QStringList masks = QDir(QStringLiteral(":/soramado/mask")).entryList(QDir::Files);
    QStringList sprites = QDir(QStringLiteral(":/soramado/guest")).entryList(QDir::Files);
    masks.sort();
    sprites.sort();
    EXPECT_EQ(masks, expectedFiles(QLatin1Char('M')));
    EXPECT_EQ(sprites, expectedFiles(QLatin1Char('G')));
    EXPECT_TRUE(assets::frame(QStringLiteral("M0111")).isNull());
    EXPECT_TRUE(assets::frame(QStringLiteral("G0605")).isNull());
}

TEST(AssetFrames, EveryPairIsFrameSizedAndAgrees)
{
    for (const Visitor& v : Visitors) {
        for (int f = 1; f <= v.frames; ++f) {
            SCOPED_TRACE(key(QLatin1Char('M'), v.number, f).toStdString());
            const QImage mask = assets::frame(key(QLatin1Char('M'), v.number, f));
            const QImage sprite = assets::frame(key(QLatin1Char('G'), v.number, f));
            ASSERT_EQ(mask.size(), QSize(160, 80));
            ASSERT_EQ(sprite.size(), QSize(160, 80));
            int marked = 0;
            for (int y = 0; y < 80; ++y) {
                for (int x = 0; x < 160; ++x) {
                    const QRgb m = mask.pixel(x, y);
                    const QRgb s = sprite.pixel(x, y);
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
    QRect box;  // the whole figure, before the frame edge cuts it
    int pixels; // what is left inside the frame
};

// clang-format off
const Placement Placements[] = {
    {1, 1, {126, 22, 21, 10}, 28}, {1, 2, {114, 18, 21, 10}, 28}, {1, 3, {98, 21, 21, 10}, 28},
    {1, 4, {85, 10, 21, 10}, 28},  {1, 5, {66, 9, 21, 10}, 28},   {1, 6, {54, 17, 21, 10}, 28},
    {1, 7, {41, 21, 21, 10}, 28},  {1, 8, {27, 25, 21, 10}, 28},  {1, 9, {15, 26, 21, 10}, 28},
    {1, 10, {-1, 18, 21, 10}, 26},
    {3, 1, {-41, 36, 50, 20}, -1}, {3, 2, {-24, 36, 50, 20}, -1}, {3, 3, {-13, 38, 50, 20}, -1},
    {3, 4, {4, 38, 50, 20}, 717},  {3, 5, {11, 38, 50, 20}, 717}, {3, 6, {19, 40, 50, 20}, 717},
    {3, 7, {28, 41, 50, 20}, 717}, {3, 8, {35, 39, 50, 20}, 717}, {3, 9, {45, 44, 50, 20}, 717},
    {3, 10, {55, 43, 50, 20}, 717}, {3, 11, {62, 43, 50, 20}, 717}, {3, 12, {66, 42, 50, 20}, 717},
    {3, 13, {73, 44, 50, 20}, 717}, {3, 14, {78, 44, 50, 20}, 717}, {3, 15, {86, 43, 50, 20}, 717},
    {3, 16, {94, 43, 50, 20}, 717}, {3, 17, {106, 45, 50, 20}, 717},
    {3, 18, {120, 46, 50, 20}, -1}, {3, 19, {133, 46, 50, 20}, -1}, {3, 20, {148, 52, 50, 20}, -1},
    {6, 1, {81, 7, 11, 11}, 11},   {6, 2, {53, 15, 31, 31}, 31},  {6, 3, {39, 41, 19, 19}, 19},
    {6, 4, {34, 62, 3, 3}, 3},
};
// clang-format on

TEST(AssetFrames, FiguresSitWhereTheFlightPutsThem)
{
    const QRect frameRect(0, 0, 160, 80);
    for (const Placement& p : Placements) {
        SCOPED_TRACE(key(QLatin1Char('M'), p.visitor, p.frameNo).toStdString());
        const std::vector<QPoint> points =
            figure(assets::frame(key(QLatin1Char('M'), p.visitor, p.frameNo)));
        const QRect seen = bounds(points);
        const QRect visible = p.box & frameRect;
        if (p.pixels >= 0) {
            EXPECT_EQ(seen, visible);
            EXPECT_EQ(int(points.size()), p.pixels);
        } else {
            // Cut by the frame edge: the columns left may not span the full height.
            EXPECT_TRUE(visible.contains(seen));
            EXPECT_EQ(seen.left(), visible.left());
            EXPECT_EQ(seen.right(), visible.right());
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
        const QImage refSprite = assets::frame(key(QLatin1Char('G'), ref.visitor, ref.frameNo));
        for (const Placement& p : Placements) {
            if (p.visitor != ref.visitor)
                continue;
            SCOPED_TRACE(key(QLatin1Char('G'), p.visitor, p.frameNo).toStdString());
            const QImage sprite = assets::frame(key(QLatin1Char('G'), p.visitor, p.frameNo));
            const QPoint shift = p.box.topLeft() - home->box.topLeft();
            for (int y = 0; y < 80; ++y)
                for (int x = 0; x < 160; ++x) {
                    const QPoint from = QPoint(x, y) - shift;
                    const QRgb expected = QRect(0, 0, 160, 80).contains(from)
                                              ? refSprite.pixel(from)
                                              : qRgb(255, 255, 255);
                    ASSERT_EQ(sprite.pixel(x, y), expected) << "at " << x << "," << y;
                }
        }
    }
}

TEST(AssetFrames, FigureColoursKeepToTheirVisitor)
{
    for (const Visitor& v : Visitors) {
        for (int f = 1; f <= v.frames; ++f) {
            SCOPED_TRACE(key(QLatin1Char('G'), v.number, f).toStdString());
            const QImage sprite = assets::frame(key(QLatin1Char('G'), v.number, f));
            for (const QPoint& p : figure(assets::frame(key(QLatin1Char('M'), v.number, f)))) {
                const QRgb c = sprite.pixel(p);
                if (v.number == 1) {
                    ASSERT_EQ(c, qRgb(72, 4, 4));
                } else if (v.number == 3) {
                    ASSERT_TRUE(qRed(c) == qGreen(c) && qGreen(c) == qBlue(c));
                    ASSERT_TRUE(qRed(c) >= 226 && qRed(c) <= 237) << qRed(c);
                } else {
                    // A streak at 45 degrees on one line, in one pale yellow from head to tail.
                    ASSERT_EQ(p.x() + p.y(), 98);
                    ASSERT_EQ(c, qRgb(255, 255, 192));
                }
            }
        }
    }
}

TEST(AssetFrames, CombiningChangesNothingOutsideTheFigure)
{
    for (int position = 1; position <= assets::SceneCount; ++position) {
        const QImage scene = assets::scene(position).convertToFormat(QImage::Format_RGB32);
        for (const Visitor& v : Visitors) {
            for (int f = 1; f <= v.frames; ++f) {
                const QImage mask = assets::frame(key(QLatin1Char('M'), v.number, f));
                const QImage sprite = assets::frame(key(QLatin1Char('G'), v.number, f));
                for (int y = 0; y < 80; ++y)
                    for (int x = 0; x < 160; ++x) {
                        const QRgb shown =
                            (scene.pixel(x, y) | mask.pixel(x, y)) & sprite.pixel(x, y);
                        const QRgb expected =
                            isWhite(mask.pixel(x, y)) ? sprite.pixel(x, y) : scene.pixel(x, y);
                        ASSERT_EQ(shown, expected)
                            << "scene " << position << " visitor " << v.number << " frame " << f
                            << " at " << x << "," << y;
                    }
            }
        }
    }
}
