#include "app/layout.h"
#include "qt/mainwindow.h"
#include "qt/popupmenu.h"
#include "qt/timechange.h"
#include "qt/viewwidget.h"
#include "support/qtwindow.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFontDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

#include <memory>

using namespace soramado;

namespace {

const QPoint DesignPosition(layout::DesignPlace.x, layout::DesignPlace.y);

// Collects what the program prints as warnings while it lives.
class WarningCatcher {
public:
    WarningCatcher()
    {
        caught().clear();
        previous_ = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext&, const QString& message) {
                if (type == QtWarningMsg && message.startsWith(QLatin1String("Soramado:")))
                    caught().append(message);
            });
    }
    ~WarningCatcher() { qInstallMessageHandler(previous_); }
    static QStringList& caught()
    {
        static QStringList list;
        return list;
    }

private:
    QtMessageHandler previous_;
};

struct Rig {
    fakes::WindowParts<> parts{fakes::at(2003, 5, 1, 12, 0, 0)};
    SettableClock& clock = parts.clock;
    fakes::ScriptedRandom& random = parts.random;
    MemorySettingsStore& store = parts.store;
    fakes::ScriptedFontChooser& fonts = parts.fonts;
    WarningCatcher warnings;
    std::unique_ptr<MainWindow> window;

    Rig& set(const std::string& key, const std::string& text)
    {
        store.values().insert_or_assign(key, text);
        return *this;
    }
    MainWindow& open()
    {
        window = std::make_unique<MainWindow>(clock, random, store, fonts);
        return *window;
    }
    MainWindow& openShown()
    {
        open().show();
        QCoreApplication::processEvents();
        return *window;
    }
    PopupMenu& menu() { return *window->popupMenu(); }
    QString value(const std::string& key) const
    {
        const auto it = store.values().find(key);
        return it == store.values().end() ? QString() : QString::fromStdString(it->second);
    }
    // The marks as the menu shows them when it opens.
    bool checked(const char* name)
    {
        emit menu().aboutToShow();
        return menu().findChild<QAction*>(QLatin1String(name))->isChecked();
    }
    QMenu* locationMenu() { return menu().findChild<QMenu*>(QStringLiteral("mnuLocation")); }
    int checkedCity()
    {
        int found = -1;
        for (int i = 0; i < 6; ++i) {
            if (checked(QStringLiteral("mnuLoc%1").arg(i).toLatin1().constData())) {
                if (found != -1)
                    return -2; // more than one
                found = i;
            }
        }
        return found;
    }
};

QAction* action(MainWindow& w, const char* name)
{
    return w.findChild<QAction*>(QLatin1String(name));
}

// ---- Start-up with the stored settings ----------------------------------------

TEST(MainWindowStartUp, EmptyStoreGivesTheDefaultsAndOnlyAlwaysTopIsWritten)
{
    Rig rig;
    MainWindow& w = rig.openShown();
    EXPECT_EQ(w.app().locationIndex(), 2);
    EXPECT_EQ(rig.checkedCity(), 2);
    EXPECT_EQ(w.timeLabel()->font().family(), QStringLiteral("MS ゴシック"));
    EXPECT_DOUBLE_EQ(w.timeLabel()->font().pointSizeF(), 20.25);
    EXPECT_EQ(w.geometry().topLeft(), DesignPosition);
    EXPECT_FALSE(w.app().alwaysOnTop());
    EXPECT_FALSE(rig.checked("mnuFront"));
    EXPECT_FALSE(w.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(rig.store.values().size(), 1u);
    EXPECT_EQ(rig.value("AlwaysTop"), QStringLiteral("False"));
    EXPECT_TRUE(rig.warnings.caught().isEmpty());

    w.close();
    EXPECT_EQ(rig.store.values().size(), 3u);
    EXPECT_EQ(rig.value("Left"), QString::number(w.pos().x() * 15));
    EXPECT_EQ(rig.value("Top"), QString::number(w.pos().y() * 15));
}

TEST(MainWindowStartUp, StoredCityIsCheckedAndUsed)
{
    Rig rig;
    MainWindow& w = rig.set("Location", "5").open();
    EXPECT_EQ(w.app().locationIndex(), 5);
    EXPECT_EQ(rig.checkedCity(), 5);
    EXPECT_TRUE(rig.warnings.caught().isEmpty());
}

TEST(MainWindowStartUp, UnusableCityWarnsOnceAndStartsInTokyo)
{
    for (const char* text : {"6", "-1", "x", ""}) {
        Rig rig;
        MainWindow& w = rig.set("Location", text).set("AlwaysTop", "True").open();
        EXPECT_EQ(w.app().locationIndex(), 2) << text;
        EXPECT_EQ(rig.checkedCity(), 2) << text;
        ASSERT_EQ(rig.warnings.caught().size(), 1) << text;
        EXPECT_TRUE(rig.warnings.caught()[0].contains(QStringLiteral("\"Location\"")));
        // The rest of the settings step still runs, and the bad text is left alone.
        EXPECT_TRUE(w.app().alwaysOnTop()) << text;
        EXPECT_EQ(rig.value("Location"), QString::fromUtf8(text));
        EXPECT_FALSE(w.timeLabel()->text().isEmpty());
    }
}

TEST(MainWindowStartUp, StoredFontFaceKeepsTheDesignSize)
{
    Rig rig;
    MainWindow& w = rig.set("Font", "IPAGothic").open();
    EXPECT_EQ(w.timeLabel()->font().family(), QStringLiteral("IPAGothic"));
    EXPECT_DOUBLE_EQ(w.timeLabel()->font().pointSizeF(), 20.25);
    EXPECT_TRUE(w.timeLabel()->font().bold());
}

TEST(MainWindowStartUp, StoredPositionPlacesTheFrame)
{
    Rig rig;
    MainWindow& w = rig.set("Left", "3000").set("Top", "4500").openShown();
    EXPECT_EQ(w.pos(), QPoint(200, 300));
}

TEST(MainWindowStartUp, PositionNeedsBothEdgesAboveZero)
{
    const std::vector<std::pair<std::optional<const char*>, std::optional<const char*>>> rows{
        {"3000", std::nullopt}, {std::nullopt, "4500"}, {"0", "4500"},
        {"3000", "0"},          {"-150", "4500"},       {"left", "4500"}};
    for (const auto& [left, top] : rows) {
        Rig rig;
        if (left)
            rig.set("Left", *left);
        if (top)
            rig.set("Top", *top);
        MainWindow& w = rig.openShown();
        EXPECT_EQ(w.geometry().topLeft(), DesignPosition)
            << left.value_or("-") << " " << top.value_or("-");
    }
}

TEST(MainWindowStartUp, PositionOffEveryScreenOpensAtTheDesignPlace)
{
    Rig rig;
    MainWindow& w = rig.set("Left", "150000").set("Top", "1500").openShown();
    EXPECT_EQ(w.geometry().topLeft(), DesignPosition);
    EXPECT_EQ(rig.value("Left"), QStringLiteral("150000"));
    w.close();
    EXPECT_EQ(rig.value("Left"), QString::number(w.pos().x() * 15));
}

TEST(MainWindowStartUp, PositionSurvivesARestartExactly)
{
    Rig rig;
    QPoint before;
    {
        MainWindow& w = rig.openShown();
        w.move(250, 90);
        QCoreApplication::processEvents();
        before = w.pos();
        w.close();
    }
    MainWindow& again = rig.openShown();
    EXPECT_EQ(again.pos(), before);
    EXPECT_EQ(again.size(), QSize(layout::ClientSize.width, layout::ClientSize.height));
}

TEST(MainWindowStartUp, StoredAlwaysTopIsAppliedCheckedAndWrittenBack)
{
    Rig rig;
    MainWindow& w = rig.set("AlwaysTop", "True").open();
    EXPECT_TRUE(w.app().alwaysOnTop());
    EXPECT_TRUE(rig.checked("mnuFront"));
    EXPECT_EQ(rig.store.writes(), 1);
    EXPECT_EQ(rig.value("AlwaysTop"), QStringLiteral("True"));
    EXPECT_TRUE(w.windowFlags() & Qt::WindowStaysOnTopHint);
    // The flag asked for before the first show reaches the native window.
    w.show();
    QCoreApplication::processEvents();
    ASSERT_NE(w.windowHandle(), nullptr);
    EXPECT_TRUE(w.windowHandle()->flags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(w.windowHandle()->flags() & Qt::Tool);
}

TEST(MainWindowStartUp, RefusedWritesWarnOncePerKeyAndTheClockRuns)
{
    Rig rig;
    rig.store.refuseWrites(true);
    MainWindow& w = rig.openShown();
    action(w, "mnuLoc4")->trigger();
    action(w, "mnuFront")->trigger();
    EXPECT_EQ(w.app().locationIndex(), 4);
    EXPECT_TRUE(w.app().alwaysOnTop());
    w.close();
    EXPECT_EQ(rig.store.writes(), 5);
    // "AlwaysTop" twice, "Location", "Left", "Top": the second "AlwaysTop" is old news.
    EXPECT_EQ(rig.warnings.caught().size(), 4);
}

// ---- The menu --------------------------------------------------------------

TEST(PopupMenu, TreeCaptionsAndNames)
{
    Rig rig;
    MainWindow& w = rig.open();
    const QList<QAction*> top = rig.menu().actions();
    const QStringList expected{"mnuFont", "mSep01", "mnuLocationItem", "mSep02", "mnuFront",
                               "mSep03",  "mnuVer", "mSep04",          "mnuQuit"};
    ASSERT_EQ(top.size(), expected.size());
    for (int i = 0; i < top.size(); ++i) {
        EXPECT_EQ(top[i]->objectName(), expected[i]);
        EXPECT_EQ(top[i]->isSeparator(), expected[i].startsWith(QLatin1String("mSep")));
        EXPECT_TRUE(top[i]->isVisible() && top[i]->isEnabled());
        EXPECT_TRUE(top[i]->shortcut().isEmpty());
    }
    EXPECT_EQ(action(w, "mnuFont")->text(), QStringLiteral("フォントの変更(&F)..."));
    EXPECT_EQ(rig.locationMenu()->title(), QStringLiteral("現在地の選択(&L)"));
    EXPECT_EQ(rig.locationMenu()->objectName(), QStringLiteral("mnuLocation"));
    EXPECT_EQ(action(w, "mnuFront")->text(), QStringLiteral("常に最前面に表示(&T)"));
    EXPECT_EQ(action(w, "mnuVer")->text(), QStringLiteral("バージョン情報(&V)..."));
    EXPECT_EQ(action(w, "mnuQuit")->text(), QStringLiteral("Soramadoの終了(&Q)"));
    EXPECT_TRUE(action(w, "mnuFront")->isCheckable());
    EXPECT_FALSE(action(w, "mnuFont")->isCheckable());

    const QStringList cities{"札幌(&S)", "仙台(&D)", "東京(&T)",
                             "大阪(&O)", "広島(&H)", "福岡(&F)"};
    const QList<QAction*> items = rig.locationMenu()->actions();
    ASSERT_EQ(items.size(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(items[i]->objectName(), QStringLiteral("mnuLoc%1").arg(i));
        EXPECT_EQ(items[i]->text(), cities[i]);
        EXPECT_TRUE(items[i]->isCheckable());
    }
}

void click(QWidget* target, Qt::MouseButton button, QPoint local)
{
    const QPointF global = target->mapToGlobal(QPointF(local));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(local), global, button, button,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(local), global, button, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

TEST(PopupMenu, LeftOrRightClickOnThePictureOpensItAtThePointer)
{
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        Rig rig;
        MainWindow& w = rig.openShown();
        click(w.viewWidget(), button, QPoint(90, 60));
        EXPECT_TRUE(rig.menu().isVisible()) << button;
        EXPECT_EQ(rig.menu().pos(), w.viewWidget()->mapToGlobal(QPoint(90, 60))) << button;
        rig.menu().hide();
    }
}

TEST(PopupMenu, OtherClicksDoNotOpenIt)
{
    Rig rig;
    MainWindow& w = rig.openShown();
    click(w.timeLabel(), Qt::LeftButton, QPoint(10, 10));
    click(&w, Qt::RightButton, QPoint(1, 170));
    click(w.viewWidget(), Qt::MiddleButton, QPoint(90, 60));
    EXPECT_FALSE(rig.menu().isVisible());
}

// ---- The commands ------------------------------------------------------------

TEST(CityCommand, WritesSetsAndChecksButRedrawsNothing)
{
    Rig rig;
    MainWindow& w = rig.openShown();
    const QString time = w.timeLabel()->text();
    const int scenes = w.app().snapshot().sceneSets;
    const int draws = rig.random.draws();

    action(w, "mnuLoc0")->trigger();
    EXPECT_EQ(rig.value("Location"), QStringLiteral("0"));
    EXPECT_EQ(w.app().locationIndex(), 0);
    EXPECT_EQ(rig.checkedCity(), 0);
    EXPECT_EQ(w.app().snapshot().sceneSets, scenes);
    EXPECT_EQ(rig.random.draws(), draws);
    EXPECT_EQ(w.timeLabel()->text(), time);

    // The checked city again: written again, still the only one checked.
    const int writes = rig.store.writes();
    action(w, "mnuLoc0")->trigger();
    EXPECT_EQ(rig.store.writes(), writes + 1);
    EXPECT_EQ(rig.checkedCity(), 0);
}

// Without a chooser of the caller's the window opens the system's dialog over itself
// and takes the face chosen there.
TEST(FontCommand, TheSystemDialogOpensOverTheWindow)
{
    Rig rig;
    MainWindow w(rig.clock, rig.random, rig.store);
    w.show();
    QWidget* owner = nullptr;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        owner = dialog->parentWidget();
        dialog->setCurrentFont(QFont(QStringLiteral("IPAGothic")));
        dialog->accept();
    });
    action(w, "mnuFont")->trigger();
    EXPECT_EQ(owner, &w);
    EXPECT_EQ(rig.value("Font"), QFont(QStringLiteral("IPAGothic")).family());
}

TEST(FontCommand, CancelChangesAndWritesNothing)
{
    Rig rig;
    MainWindow& w = rig.set("Font", "IPAGothic").open();
    const QFont before = w.timeLabel()->font();
    action(w, "mnuFont")->trigger();
    EXPECT_EQ(rig.fonts.calls, 1);
    EXPECT_EQ(rig.fonts.offered, "IPAGothic");
    EXPECT_EQ(w.timeLabel()->font(), before);
    EXPECT_EQ(rig.value("Font"), QStringLiteral("IPAGothic"));
    EXPECT_EQ(rig.store.writes(), 1); // AlwaysTop at start only
}

TEST(FontCommand, TakesOnlyTheFaceAtTwentyPointsBold)
{
    Rig rig;
    MainWindow& w = rig.open();
    rig.fonts.answer = "Noto Sans Mono CJK JP";
    action(w, "mnuFont")->trigger();
    const QFont now = w.timeLabel()->font();
    EXPECT_EQ(now.family(), QStringLiteral("Noto Sans Mono CJK JP"));
    EXPECT_DOUBLE_EQ(now.pointSizeF(), 20);
    EXPECT_TRUE(now.bold());
    EXPECT_FALSE(now.italic());
    EXPECT_FALSE(now.underline());
    EXPECT_EQ(rig.value("Font"), QStringLiteral("Noto Sans Mono CJK JP"));
    // Only the face is kept: a restart is back at the design size.
    MainWindow& again = rig.open();
    EXPECT_EQ(again.timeLabel()->font().family(), QStringLiteral("Noto Sans Mono CJK JP"));
    EXPECT_DOUBLE_EQ(again.timeLabel()->font().pointSizeF(), 20.25);
}

TEST(AlwaysOnTopCommand, TogglingTwiceComesBackAndStaysShownInPlace)
{
    Rig rig;
    MainWindow& w = rig.openShown();
    const QRect geometry = w.geometry();
    const int writes = rig.store.writes();
    QPointer<QWindow> handle = w.windowHandle();

    action(w, "mnuFront")->trigger();
    EXPECT_TRUE(w.app().alwaysOnTop());
    EXPECT_TRUE(rig.checked("mnuFront"));
    EXPECT_EQ(rig.value("AlwaysTop"), QStringLiteral("True"));
    EXPECT_TRUE(w.windowHandle()->flags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(w.isVisible());

    action(w, "mnuFront")->trigger();
    EXPECT_FALSE(w.app().alwaysOnTop());
    EXPECT_FALSE(rig.checked("mnuFront"));
    EXPECT_EQ(rig.value("AlwaysTop"), QStringLiteral("False"));
    EXPECT_FALSE(w.windowHandle()->flags() & Qt::WindowStaysOnTopHint);

    EXPECT_EQ(rig.store.writes(), writes + 2);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.geometry(), geometry);
    // The same native window all along: nothing was torn down and re-created.
    EXPECT_EQ(w.windowHandle(), handle.data());
    EXPECT_TRUE(w.windowHandle()->isVisible());
    EXPECT_TRUE(w.windowHandle()->flags() & Qt::Tool);
}

TEST(VersionCommand, ModalOverTheWindowWhileTheClockTicks)
{
    Rig rig;
    MainWindow& w = rig.openShown();
    QPointer<QDialog> seen;
    QString name;
    QString text;
    QWidget* owner = nullptr;
    bool ticked = false;
    QTimer poll;
    const std::uint64_t ticksAtOpen = w.app().snapshot().ticksRun;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        seen = dialog;
        name = dialog->objectName();
        owner = dialog->parentWidget();
        text = dialog->findChild<QLabel*>(QStringLiteral("labVer"))->text();
        ticked = w.app().snapshot().ticksRun > ticksAtOpen;
        if (ticked)
            dialog->accept();
    });
    poll.start(20);
    // A failsafe so that a broken tick cannot hang the test run.
    QTimer::singleShot(10000, [&] {
        if (QApplication::activeModalWidget())
            QApplication::activeModalWidget()->close();
    });
    action(w, "mnuVer")->trigger();
    poll.stop();
    EXPECT_EQ(name, QStringLiteral("frmVer"));
    EXPECT_EQ(owner, &w);
    EXPECT_EQ(text, QStringLiteral("ver.1.04a"));
    EXPECT_TRUE(ticked);
    // Created at each use: the window is gone once the command returns.
    EXPECT_TRUE(seen.isNull());
    EXPECT_TRUE(w.isVisible());
}

TEST(QuitCommand, EndsTheEventLoopAndSavesThePosition)
{
    Rig rig;
    MainWindow& w = rig.set("Left", "3000").set("Top", "4500").openShown();
    w.move(321, 123);
    QTimer::singleShot(0, [&] { action(w, "mnuQuit")->trigger(); });
    QTimer failsafe;
    failsafe.setSingleShot(true);
    bool timedOut = false;
    QObject::connect(&failsafe, &QTimer::timeout, [&] {
        timedOut = true;
        QCoreApplication::exit(1);
    });
    failsafe.start(10000);
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(timedOut);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(rig.value("Left"), QStringLiteral("4815"));
    EXPECT_EQ(rig.value("Top"), QStringLiteral("1845"));
}

TEST(CloseBox, EndsTheEventLoopAndSavesThePositionOnce)
{
    Rig rig;
    MainWindow& w = rig.openShown();
    const int writes = rig.store.writes();
    QTimer::singleShot(0, &w, &QWidget::close);
    QTimer::singleShot(10000, [] { QCoreApplication::exit(1); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_EQ(rig.store.writes(), writes + 2);
    EXPECT_EQ(rig.value("Left"), QString::number(w.pos().x() * 15));
    // A later quit does not write a second time.
    action(w, "mnuQuit")->trigger();
    w.close();
    EXPECT_EQ(rig.store.writes(), writes + 2);
}

// ---- Key preview ---------------------------------------------------------------

TEST(KeyPreview, OnlyShiftF9ReachesTheVisitorWhicheverChildHasTheKey)
{
    struct Row {
        const char* name;
        Qt::KeyboardModifiers modifiers;
        bool wanted;
    };
    const Row rows[] = {{"ShiftF9", Qt::ShiftModifier, true},
                        {"F9", Qt::NoModifier, false},
                        {"CtrlShiftF9", Qt::ShiftModifier | Qt::ControlModifier, false},
                        {"AltShiftF9", Qt::ShiftModifier | Qt::AltModifier, false},
                        {"ShiftF9Keypad", Qt::ShiftModifier | Qt::KeypadModifier, true}};
    for (const Row& row : rows) {
        // A fresh window for each child that holds the key: no visitor asked for yet.
        for (const bool label : {true, false}) {
            Rig rig;
            MainWindow& w = rig.openShown();
            QWidget* target = label ? static_cast<QWidget*>(w.timeLabel())
                                    : static_cast<QWidget*>(w.viewWidget());
            ASSERT_FALSE(w.app().snapshot().state.VisitorActive);
            target->setFocusPolicy(Qt::StrongFocus);
            target->setFocus();
            QKeyEvent press(QEvent::KeyPress, Qt::Key_F9, row.modifiers);
            QApplication::sendEvent(target, &press);
            EXPECT_EQ(w.app().snapshot().state.VisitorActive, row.wanted) << row.name;
        }
    }
    {
        Rig rig;
        MainWindow& w = rig.openShown();
        QKeyEvent other(QEvent::KeyPress, Qt::Key_F8, Qt::ShiftModifier);
        QApplication::sendEvent(w.timeLabel(), &other);
        EXPECT_FALSE(w.app().snapshot().state.VisitorActive);
    }
    // X11 without a window manager gives the keys to the window under the
    // pointer while Qt holds no window active; a window shortcut would miss them.
    Rig inactive;
    MainWindow& unfocused = inactive.open();
    ASSERT_EQ(QApplication::activeWindow(), nullptr);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_F9, Qt::ShiftModifier);
    QApplication::sendEvent(&unfocused, &press);
    EXPECT_TRUE(unfocused.app().snapshot().state.VisitorActive);
}

} // namespace

// ---- Sleeping between ticks ----------------------------------------------------

QTimer& tickTimer(MainWindow& w)
{
    return *w.findChild<QTimer*>(QStringLiteral("Timer1"));
}

TEST(SleepingTimer, SleepsToTheSecondAndWakesTheNextTickForShiftF9AndTheFlight)
{
    Rig rig;
    rig.clock.set(fakes::at(2003, 5, 1, 12, 0, 0, 250));
    MainWindow& w = rig.openShown();
    QTimer& timer = tickTimer(w);
    ASSERT_TRUE(timer.isSingleShot());
    EXPECT_EQ(timer.timerType(), Qt::PreciseTimer);

    // The timer's own run: a tick, then the wake at the next whole second.
    w.wake();
    EXPECT_TRUE(timer.isActive());
    EXPECT_EQ(timer.interval(), 750);

    // Shift+F9 at 12:00:00.430 wakes the clock at the next tick, 70 ms on.
    rig.clock.set(fakes::at(2003, 5, 1, 12, 0, 0, 430));
    QKeyEvent press(QEvent::KeyPress, Qt::Key_F9, Qt::ShiftModifier);
    QApplication::sendEvent(w.timeLabel(), &press);
    EXPECT_EQ(timer.interval(), 70);

    // That tick shows the cloud's first frame, and the flight ticks every 100 ms.
    rig.clock.set(fakes::at(2003, 5, 1, 12, 0, 0, 500));
    w.wake();
    EXPECT_EQ(w.app().snapshot().state.VisitorTicks, 1);
    EXPECT_EQ(timer.interval(), 100);
}

TEST(SleepingTimer, AChosenCityWakesTheNextTickAndAStoppedTimerStaysStopped)
{
    Rig rig;
    rig.clock.set(fakes::at(2003, 5, 1, 12, 0, 0, 250));
    MainWindow& w = rig.openShown();
    QTimer& timer = tickTimer(w);
    w.wake();
    rig.clock.set(fakes::at(2003, 5, 1, 12, 0, 0, 340));
    w.locationCommand(0);
    EXPECT_EQ(timer.interval(), 60);

    // A test that holds the timer and ticks by hand keeps it held.
    timer.stop();
    w.locationCommand(1);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_F9, Qt::ShiftModifier);
    QApplication::sendEvent(w.timeLabel(), &press);
    w.tick();
    EXPECT_FALSE(timer.isActive());
}

TEST(SleepingTimer, ATimeChangeNoticeTicksNowAndPlansAnew)
{
    struct Case {
        const char* what;
        LocalDateTime setTo;
        const char* time;
        const char* date;
        int interval;
    };
    const Case cases[] = {
        {"forward", fakes::at(2003, 5, 1, 15, 20, 0, 300), "15:20:00", "2003年5月1日", 700},
        {"back", fakes::at(2003, 5, 1, 9, 5, 7, 900), "9:05:07", "2003年5月1日", 100},
        {"to another day", fakes::at(2004, 2, 29, 12, 0, 0, 0), "12:00:00", "2004年2月29日", 1000},
    };
    for (const Case& c : cases) {
        Rig rig;
        rig.clock.set(fakes::at(2003, 5, 1, 12, 0, 0, 250));
        MainWindow& w = rig.openShown();
        QTimer& timer = tickTimer(w);
        w.wake();
        ASSERT_EQ(timer.interval(), 750);
        auto* notice = w.findChild<TimeChangeNotice*>(QStringLiteral("TimeChange"));
        ASSERT_NE(notice, nullptr);
#ifdef __linux__
        EXPECT_TRUE(notice->listening()) << "the kernel's notice of a clock set is not watched";
#endif

        // Shown now, not at the wake planned on the old time.
        rig.clock.set(c.setTo);
        emit notice->timeChanged();
        EXPECT_EQ(w.timeLabel()->text().toStdString(), c.time) << c.what;
        EXPECT_EQ(w.dateLabel()->text().toStdString(), c.date) << c.what;
        EXPECT_TRUE(timer.isActive()) << c.what;
        EXPECT_EQ(timer.interval(), c.interval) << c.what;

        // A test that holds the timer keeps it held.
        timer.stop();
        rig.clock.advanceMs(5000);
        emit notice->timeChanged();
        EXPECT_EQ(w.timeLabel()->text().toStdString(), c.time) << c.what;
        EXPECT_FALSE(timer.isActive()) << c.what;
    }
}
