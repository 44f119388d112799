// What the window repaints while it runs: a clock that sits on the desktop all
// day must repaint only what changed. Paint events are counted on each part of
// the shown window while the clock is driven tick by tick, 100 ms apart.

#include "qt/mainwindow.h"
#include "qt/timelabel.h"
#include "qt/viewwidget.h"
#include "support/qtwindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPaintEvent>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <vector>

using namespace soramado;

namespace {

// Counts the paint events each watched widget gets and where they fall.
class PaintCounter final : public QObject {
public:
    void watch(QWidget* widget) { widget->installEventFilter(this); }
    void reset()
    {
        counts_.clear();
        regions_.clear();
    }
    int count(const QObject* widget) const
    {
        const auto it = counts_.find(widget);
        return it == counts_.end() ? 0 : it->second;
    }
    QRegion region(const QObject* widget) const
    {
        const auto it = regions_.find(widget);
        return it == regions_.end() ? QRegion() : it->second;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            ++counts_[watched];
            regions_[watched] += static_cast<QPaintEvent*>(event)->region();
        }
        return false;
    }

private:
    std::map<const QObject*, int> counts_;
    std::map<const QObject*, QRegion> regions_;
};

void processEvents()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// The clock window, shown, with every part watched, started at `start`.
struct Rig {
    explicit Rig(const LocalDateTime& start)
        : parts_(start), clock(parts_.clock),
          window(clock, parts_.random, parts_.store, parts_.fonts)
    {
        // Only the test ticks: the window's own timer would add steps when a
        // slow run (a sanitizer build) lets 100 ms pass between two test ticks.
        window.findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
        window.show();
        for (int i = 0; i < 5; ++i)
            processEvents();
        for (QWidget* w : parts())
            paints.watch(w);
        paints.reset();
    }
    std::vector<QWidget*> parts()
    {
        return {&window, window.timeLabel(), window.dateLabel(), window.dayLabel(),
                window.viewWidget()};
    }
    // Ticks as the timer does, 100 ms apart, letting each tick's repaints happen.
    void run(int ticks)
    {
        for (int i = 0; i < ticks; ++i) {
            clock.advanceMs(100);
            window.tick();
            processEvents();
        }
    }

    fakes::WindowParts<> parts_; // ScriptedRandom never starts a visitor by chance
    SettableClock& clock;
    MainWindow window;
    PaintCounter paints;
};

TEST(Repaint, AQuietMinuteRepaintsTheTimeOncePerSecondAndNothingElse)
{
    Rig rig(fakes::at(2003, 5, 1, 12, 0, 0));
    ASSERT_TRUE(rig.window.isVisible());
    rig.run(600);

    const int timePaints = rig.paints.count(rig.window.timeLabel());
    // Sixty changes of the text; one more if a repaint of the start straggles in.
    EXPECT_GE(timePaints, 59) << "some seconds never showed";
    EXPECT_LE(timePaints, 61);
    EXPECT_EQ(rig.paints.count(rig.window.dateLabel()), 0);
    EXPECT_EQ(rig.paints.count(rig.window.dayLabel()), 0);
    EXPECT_EQ(rig.paints.count(rig.window.viewWidget()), 0);
    // The time label fills its own pink: the window behind it is left alone.
    EXPECT_EQ(rig.paints.count(&rig.window), 0);
    // A new second repaints the seconds' digits, not the whole label.
    const QRect painted = rig.paints.region(rig.window.timeLabel()).boundingRect();
    EXPECT_LT(painted.width(), rig.window.timeLabel()->width() / 2)
        << "time label repainted " << painted.x() << "+" << painted.width();
}

TEST(Repaint, RepaintingOnlyTheChangedDigitsShowsWhatAFullRepaintShows)
{
    // Across 9:59:59 -> 10:00:00, where the text grows and moves, and a
    // minute's turn, where four digits change at once.
    Rig rig(fakes::at(2003, 5, 1, 9, 59, 50));
    for (int second = 0; second < 75; ++second) {
        rig.run(10);
        // What the window has put on the screen against a fresh full rendering.
        const QImage onScreen = rig.window.screen()
                                    ->grabWindow(rig.window.winId())
                                    .toImage()
                                    .convertToFormat(QImage::Format_RGB32);
        const QImage full = rig.window.grab().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(onScreen.size(), full.size());
        ASSERT_EQ(onScreen, full) << rig.window.timeLabel()->text().toStdString();
    }
    EXPECT_EQ(rig.window.timeLabel()->text(), QStringLiteral("10:01:05"));
}

TEST(Repaint, TheTimeLabelTellsWhichCharactersMove)
{
    Rig rig(fakes::at(2003, 5, 1, 12, 0, 0));
    const TimeLabel& label = *static_cast<TimeLabel*>(rig.window.timeLabel());
    const auto seconds = label.changedRect(QStringLiteral("12:00:00"), QStringLiteral("12:00:01"));
    ASSERT_TRUE(seconds.has_value());
    const auto minute = label.changedRect(QStringLiteral("12:00:59"), QStringLiteral("12:01:00"));
    ASSERT_TRUE(minute.has_value());
    // The last digit only, then the minute and seconds: the second reaches
    // further left and both end at the text's right end.
    EXPECT_LT(minute->left(), seconds->left());
    EXPECT_EQ(minute->right(), seconds->right());
    EXPECT_LT(seconds->width(), label.width() / 3);
    // One more digit moves every character: the whole label.
    EXPECT_FALSE(label.changedRect(QStringLiteral("9:59:59"), QStringLiteral("10:00:00")));
}

TEST(Repaint, MidnightRepaintsTheDateAndTheWeekdayOnce)
{
    Rig rig(fakes::at(2003, 5, 1, 23, 59, 58));
    rig.run(40); // across midnight into Friday 2 May

    EXPECT_EQ(rig.window.dateLabel()->text(), QStringLiteral("2003年5月2日"));
    EXPECT_EQ(rig.paints.count(rig.window.dateLabel()), 1);
    EXPECT_EQ(rig.paints.count(rig.window.dayLabel()), 1);
}

// The picture repaints exactly on the ticks on which its pixels change.
struct PictureCase {
    const char* name;
    LocalDateTime start;
    bool visitor; // Shift+F9 before the first tick
    int ticks;
    int paints;
};

void PrintTo(const PictureCase& c, std::ostream* os)
{
    *os << c.name;
}

class PictureRepaint : public ::testing::TestWithParam<PictureCase> {};

TEST_P(PictureRepaint, OnlyWhenItsPixelsChange)
{
    const PictureCase& c = GetParam();
    Rig rig(c.start);
    if (c.visitor) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_F9, Qt::ShiftModifier);
        QApplication::sendEvent(&rig.window, &press);
    }
    rig.run(c.ticks);
    EXPECT_EQ(rig.paints.count(rig.window.viewWidget()), c.paints);
    EXPECT_EQ(rig.paints.count(rig.window.dateLabel()), 0);
}

// 東京 on 2003/5/1: evening from 17:03:36, the first star at 17:06:00.
INSTANTIATE_TEST_SUITE_P(
    Ticks, PictureRepaint,
    ::testing::Values(PictureCase{"QuietDay", fakes::at(2003, 5, 1, 12, 0, 0), false, 100, 0},
                      PictureCase{"SceneSwitch", fakes::at(2003, 5, 1, 17, 3, 34), false, 30, 1},
                      PictureCase{"StarComesOut", fakes::at(2003, 5, 1, 17, 5, 58), false, 30, 1},
                      // Four frames of a shooting star, then the night scene back: five steps.
                      PictureCase{"ShootingStar", fakes::at(2003, 5, 1, 22, 0, 0), true, 30, 5},
                      // The bird's ten frames and the ending step, each a change.
                      PictureCase{"Bird", fakes::at(2003, 5, 1, 5, 40, 0), true, 60, 49}),
    [](const ::testing::TestParamInfo<PictureCase>& info) { return info.param.name; });

} // namespace
