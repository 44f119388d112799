#include "qt/mainwindow.h"
#include "qt/viewwidget.h"
#include "sky/phase.h"
#include "sky/viewsurface.h"

#include "support/fakes.h"

#include <QAccessible>
#include <QLabel>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace soramado;

namespace {

// Every pixel differs from its neighbours, so any smear or shift shows.
QImage noise(int width = ViewSurface::Width, int height = ViewSurface::Height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(
                x, y,
                qRgb((x * 37 + y * 11) % 256, (x * 5 + y * 91) % 256, (x * y * 13 + 7) % 256));
    return image;
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

TEST_P(ScalePixelArt, FillsTheScaledSizeAndCarriesTheRatio)
{
    const Ratio r = GetParam();
    const QImage out = scalePixelArt(noise(), r.ratio);
    EXPECT_EQ(out.size(), QSize(r.width, r.height));
    EXPECT_DOUBLE_EQ(out.devicePixelRatio(), std::max(1.0, r.ratio));
}

// An output pixel that lies wholly on one source pixel is that pixel, exactly;
// one on a seam mixes only the source pixels it touches.
TEST_P(ScalePixelArt, PixelsStayBlocksWithOnlyTheSeamsMixed)
{
    const Ratio r = GetParam();
    const QImage source = noise();
    const QImage out = scalePixelArt(source, r.ratio);
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
            const QRgb got = out.pixel(x, y);
            if (x0 == x1 && y0 == y1) {
                ASSERT_EQ(got, source.pixel(x0, y0)) << "at " << x << "," << y;
                ++exact;
                continue;
            }
            ASSERT_LE(x1 - x0, 1);
            ASSERT_LE(y1 - y0, 1);
            for (const int shift : {16, 8, 0}) {
                const auto channel = [shift](QRgb c) {
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
    const QImage source = noise();
    for (const int factor : {2, 3, 4}) {
        const QImage out = scalePixelArt(source, factor);
        ASSERT_EQ(out.size(), source.size() * factor);
        for (int y = 0; y < out.height(); ++y)
            for (int x = 0; x < out.width(); ++x)
                ASSERT_EQ(out.pixel(x, y), source.pixel(x / factor, y / factor))
                    << "factor " << factor << " at " << x << "," << y;
    }
}

TEST(ScalePixelArtEdges, OneAndAHalfGivesTheSamePatternEverywhere)
{
    // Two source pixels become three: pure, seam, pure; never uneven widths.
    QImage stripes(8, 1, QImage::Format_RGB32);
    for (int x = 0; x < 8; ++x)
        stripes.setPixel(x, 0, x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    const QImage out = scalePixelArt(stripes, 1.5);
    ASSERT_EQ(out.width(), 12);
    for (int x = 0; x < 12; x += 3) {
        EXPECT_EQ(out.pixel(x, 0), qRgb(0, 0, 0)) << x;
        EXPECT_NEAR(qRed(out.pixel(x + 1, 0)), 127.5, 0.5) << x;
        EXPECT_EQ(out.pixel(x + 2, 0), qRgb(255, 255, 255)) << x;
    }
}

TEST(ScalePixelArtEdges, RatiosBelowOneOrInvalidKeepTheSource)
{
    const QImage source = noise();
    for (const double ratio : {0.5, 0.0, -2.0, std::nan("")}) {
        const QImage out = scalePixelArt(source, ratio);
        EXPECT_EQ(out.convertToFormat(QImage::Format_RGB32), source) << ratio;
        EXPECT_DOUBLE_EQ(out.devicePixelRatio(), 1.0) << ratio;
    }
    EXPECT_TRUE(scalePixelArt(QImage(), 2.0).isNull());
}

TEST(ViewWidgetCache, RescalesOnlyWhenTheViewsRevisionChanges)
{
    ViewSurface view;
    view.setPicture(noise());
    ViewWidget widget(view);
    EXPECT_EQ(widget.shownPicture().convertToFormat(QImage::Format_RGB32), view.image());

    // Drawn without a new revision: the cached picture stays as it was.
    const QRgb before = view.image().pixel(10, 10);
    view.pixels().setPixel(10, 10, qRgb(1, 2, 3));
    widget.refresh();
    EXPECT_EQ(widget.shownPicture().pixel(10, 10), before);

    view.markChanged();
    widget.refresh();
    EXPECT_EQ(widget.shownPicture().pixel(10, 10), qRgb(1, 2, 3));

    view.setPoint(20, 30, qRgb(9, 8, 7));
    widget.refresh();
    EXPECT_EQ(widget.shownPicture().pixel(20, 30), qRgb(9, 8, 7));
}

TEST(ViewWidgetCache, PaintsTheViewsPixels)
{
    ViewSurface view;
    view.setPicture(noise());
    ViewWidget widget(view);
    const QImage painted = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const qreal ratio = widget.devicePixelRatioF();
    EXPECT_EQ(painted, scalePixelArt(view.image(), ratio).convertToFormat(QImage::Format_RGB32));
}

QString accessibleText(QObject* object, QAccessible::Text kind)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
    return face ? face->text(kind) : QStringLiteral("<no interface>");
}

struct Scene {
    int phase;
    const char* description;
};

void PrintTo(const Scene& scene, std::ostream* out)
{
    *out << "phase " << scene.phase;
}

class ViewWidgetPhase : public ::testing::TestWithParam<Scene> {};

TEST_P(ViewWidgetPhase, DescriptionNamesThePhaseInJapanese)
{
    ViewSurface view;
    ViewWidget widget(view);
    widget.setPhase(GetParam().phase == PhaseNight ? PhaseDay : PhaseNight);
    widget.setPhase(GetParam().phase);
    EXPECT_EQ(accessibleText(&widget, QAccessible::Name), QStringLiteral("外の景色"));
    EXPECT_EQ(accessibleText(&widget, QAccessible::Description),
              QString::fromUtf8(GetParam().description));
}

INSTANTIATE_TEST_SUITE_P(Phases, ViewWidgetPhase,
                         ::testing::Values(Scene{1, "夜明けの景色"}, Scene{2, "朝の景色"},
                                           Scene{3, "昼の景色"}, Scene{4, "夕方の景色"},
                                           Scene{5, "夕暮れの景色"}, Scene{6, "夜の景色"}),
                         [](const auto& info) {
                             return "Phase" + std::to_string(info.param.phase);
                         });

TEST(ViewWidgetPhaseEdges, NoPhaseYetLeavesTheDescriptionEmpty)
{
    ViewSurface view;
    ViewWidget widget(view);
    widget.setPhase(PhaseNone);
    EXPECT_TRUE(accessibleText(&widget, QAccessible::Description).isEmpty());
}

// The window as a screen reader meets it: the labels speak their text and the
// picture names the scene of the moment, following the clock.
TEST(MainWindowAccessibility, LabelsSpeakTheirTextAndThePictureItsScene)
{
    SettableClock clock(fakes::at(2003, 5, 1, 12, 0, 0));
    fakes::ScriptedRandom random;
    MainWindow window(clock, random);
    for (QLabel* label : {window.dateLabel(), window.dayLabel(), window.timeLabel()}) {
        ASSERT_FALSE(label->text().isEmpty());
        EXPECT_EQ(accessibleText(label, QAccessible::Name), label->text());
    }
    EXPECT_EQ(accessibleText(window.viewWidget(), QAccessible::Name), QStringLiteral("外の景色"));
    EXPECT_EQ(accessibleText(window.viewWidget(), QAccessible::Description),
              QStringLiteral("昼の景色"));

    clock.set(fakes::at(2003, 5, 1, 23, 0, 0));
    window.tick();
    EXPECT_EQ(accessibleText(window.timeLabel(), QAccessible::Name), QStringLiteral("23:00:00"));
    EXPECT_EQ(accessibleText(window.viewWidget(), QAccessible::Description),
              QStringLiteral("夜の景色"));
}

} // namespace
