#pragma once

#include "app/clockapp.h"
#include "platform/topmost.h"
#include "qt/qtscreen.h"
#include "qt/timelabel.h"

#include <QTimer>
#include <QWidget>

#include <memory>

class QLabel;

namespace soramado {

class Clock;
class FontChooser;
class PopupMenu;
class Random;
class SettingsStore;
class ViewWidget;

// The clock window: the view on top and, on a pink strip below it, the date,
// the weekday and the time. It shows what the core's program holds and routes
// events to it.
class MainWindow : public QWidget, private TopmostRequest {
    Q_OBJECT
public:
    // With the system's font dialog over the window, opening on the clock's font.
    MainWindow(const Clock& clock, Random& random, SettingsStore& store, QWidget* parent = nullptr);
    // With a font chooser of the caller's.
    MainWindow(const Clock& clock, Random& random, SettingsStore& store, FontChooser& fonts,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    const ClockApp& app() const { return app_; }
    QLabel* timeLabel() const { return labTime_; }
    QLabel* dateLabel() const { return labDate_; }
    QLabel* dayLabel() const { return labDay_; }
    ViewWidget* viewWidget() const { return picView_; }
    PopupMenu* popupMenu() const { return mnuPopup_; }

    // One tick of the clock, as the timer runs it.
    void tick();
    // The single-shot timer's run: a tick, then sleep until the next one due.
    void wake();
    // The system clock was set: the tick runs now, and the wake is planned anew.
    void timeChanged();

    // The commands of the popup menu.
    void fontCommand();
    void locationCommand(int index);
    void alwaysOnTopCommand();
    void versionCommand();
    void quitCommand();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    struct OwnFonts {};
    MainWindow(const Clock& clock, Random& random, SettingsStore& store, FontChooser* fonts,
               QWidget* parent, OwnFonts);
    void setTopmost(bool on) override;
    void createControls();
    void createMenu();
    void showState();
    void commandDone();
    void showFace();
    void showClockFont();
    void scheduleWake();

    QtScreen screen_;
    std::unique_ptr<FontChooser> ownFonts_; // the dialog, unless the caller gave a chooser
    ClockApp app_;
    QTimer timer_{this}; // a child, so that tests can find and hold it; single-shot
    ViewWidget* picView_ = nullptr;
    QLabel* labDay_ = nullptr;
    QLabel* labDate_ = nullptr;
    TimeLabel* labTime_ = nullptr;
    PopupMenu* mnuPopup_ = nullptr;
};

} // namespace soramado
