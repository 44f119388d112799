// make-assets OUTDIR          writes every picture the program embeds
// make-assets --sheet FILE    writes a contact sheet to look the pictures over

#include "icon.h"
#include "landscape.h"
#include "pixelart.h"
#include "visitors.h"

#include <QCoreApplication>
#include <QPainter>
#include <QSet>

#include <algorithm>
#include <cstdio>

using namespace makeassets;

namespace {

constexpr Rgb ProgramStar{255, 255, 224};

// The view as the program shows it with a visitor laid over the top.
QImage combine(QImage view, const FramePair& f)
{
    for (int y = 0; y < FrameHeight; ++y)
        for (int x = 0; x < FrameWidth; ++x) {
            const Rgb v = at(view, x, y);
            const Rgb m = at(f.mask, x, y);
            const Rgb s = at(f.sprite, x, y);
            put(view, x, y, {(v.r | m.r) & s.r, (v.g | m.g) & s.g, (v.b | m.b) & s.b});
        }
    return view;
}

int sceneForVisitor(const QString& key)
{
    if (key.startsWith(QLatin1String("01")))
        return 2;
    if (key.startsWith(QLatin1String("03")))
        return 3;
    return 6;
}

// Reports what the pictures hold and whether they keep to the program's rules.
bool report(const QImage& scene, int position)
{
    bool ok = true;
    int black = 0;
    QSet<QRgb> colours;
    for (int y = 0; y < SceneHeight; ++y)
        for (int x = 0; x < SceneWidth; ++x) {
            const Rgb c = at(scene, x, y);
            colours.insert(toQRgb(c));
            if (c == Rgb{0, 0, 0})
                ++black;
            if (c == ProgramStar) {
                std::fprintf(stderr, "scene %d uses the program's star colour at %d,%d\n", position,
                             x, y);
                ok = false;
            }
        }
    std::printf("view/%d.png: %d black pixels, %d colours\n", position, black, int(colours.size()));
    return ok;
}

void describe(const char* name, const Figure& f)
{
    int x0 = f.width, y0 = f.height, x1 = -1, y1 = -1;
    for (const Figure::Dot& d : f.dots) {
        x0 = std::min(x0, d.x);
        y0 = std::min(y0, d.y);
        x1 = std::max(x1, d.x);
        y1 = std::max(y1, d.y);
    }
    std::printf("%s: %d pixels in %d x %d\n", name, int(f.dots.size()), x1 - x0 + 1, y1 - y0 + 1);
}

int writeAll(const QString& outDir)
{
    bool ok = true;
    for (int p = 1; p <= SceneCount; ++p) {
        const QImage scene = drawScene(p);
        ok &= report(scene, p);
        ok &= writeFile(QStringLiteral("%1/view/%2.png").arg(outDir).arg(p), pngBytes(scene));
    }
    for (const FramePair& f : drawVisitorFrames()) {
        ok &= writeFile(QStringLiteral("%1/mask/M%2.png").arg(outDir, f.key), pngBytes(f.mask));
        ok &= writeFile(QStringLiteral("%1/guest/G%2.png").arg(outDir, f.key), pngBytes(f.sprite));
    }
    describe("bird", birdFigure());
    describe("cloud", cloudFigure());
    const QByteArray icon = pngBytes(drawIcon());
    ok &= writeFile(outDir + QStringLiteral("/icon.png"), icon);
    ok &= writeFile(outDir + QStringLiteral("/icon.ico"), icoFromPng(icon, IconSize, IconSize));
    return ok ? 0 : 1;
}

int writeSheet(const QString& file)
{
    constexpr int Big = 4;
    constexpr int Small = 2;
    constexpr int PerRow = 12;
    const std::vector<FramePair> frames = drawVisitorFrames();
    const int frameRows = int(frames.size() + PerRow - 1) / PerRow;
    QImage sheet(SceneCount * SceneWidth * Big, SceneHeight * (Big + frameRows * Small),
                 QImage::Format_RGB888);
    sheet.fill(Qt::darkGray);
    QPainter painter(&sheet);
    for (int p = 1; p <= SceneCount; ++p)
        painter.drawImage(QRect((p - 1) * SceneWidth * Big, 0, SceneWidth * Big, SceneHeight * Big),
                          drawScene(p));
    for (int i = 0; i < int(frames.size()); ++i) {
        const QImage shown = combine(drawScene(sceneForVisitor(frames[i].key)), frames[i]);
        painter.drawImage(QRect((i % PerRow) * SceneWidth * Small,
                                SceneHeight * Big + (i / PerRow) * SceneHeight * Small,
                                SceneWidth * Small, SceneHeight * Small),
                          shown);
    }
    const QImage icon = drawIcon().convertToFormat(QImage::Format_RGB888);
    painter.drawImage(QRect(sheet.width() - IconSize * 8, sheet.height() - IconSize * 8,
                            IconSize * 8, IconSize * 8),
                      icon);
    painter.end();
    return sheet.save(file, "PNG") ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args.at(1) == QLatin1String("--sheet"))
        return writeSheet(args.at(2));
    if (args.size() == 2 && !args.at(1).startsWith(QLatin1Char('-')))
        return writeAll(args.at(1));
    std::fprintf(stderr, "usage: make-assets OUTDIR\n       make-assets --sheet FILE.png\n");
    return 2;
}
