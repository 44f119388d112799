#include "qt/mainwindow.h"
#include "qt/viewwidget.h"
#include "sky/phase.h"
#include "sky/viewsurface.h"

#include "support/pictures.h"
#include "support/qtwindow.h"

#include <QAccessible>
#include <QLabel>
#include <gtest/gtest.h>

using namespace soramado;
using namespace soramado::fakes;

namespace {

// The picture's pixels as Qt holds them, for comparing.
QImage toQImage(const Picture& picture)
{
    return QImage(reinterpret_cast<const uchar*>(picture.data()), picture.width(), picture.height(),
                  picture.width() * 4, QImage::Format_RGB32)
        .copy();
}

TEST(ViewWidgetCache, RescalesOnlyWhenTheViewsRevisionChanges)
{
    ViewSurface view;
    view.setPicture(noise());
    ViewWidget widget(view);
    EXPECT_EQ(widget.shownPicture().convertToFormat(QImage::Format_RGB32), toQImage(view.image()));
    EXPECT_DOUBLE_EQ(widget.shownPicture().devicePixelRatio(), widget.devicePixelRatioF());

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
    EXPECT_EQ(painted, toQImage(scalePixelArt(view.image(), ratio)));
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
    fakes::WindowParts<> parts(fakes::at(2003, 5, 1, 12, 0, 0));
    SettableClock& clock = parts.clock;
    MainWindow window(clock, parts.random, parts.store, parts.fonts);
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
