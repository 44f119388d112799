#pragma once

#include "app/clockcore.h"
#include "app/settings.h"

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
// the weekday and the time. It shows what the core computes and routes events.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 169;
    static constexpr int ClientHeight = 172;
    static constexpr QPoint DesignPosition{160, 128};

    MainWindow(const Clock& clock, Random& random, SettingsStore& store, FontChooser& fonts,
               QWidget* parent = nullptr);
    // A window that keeps its settings in memory only and whose font chooser
    // always cancels: for tests and tools that must not touch the user's store.
    MainWindow(const Clock& clock, Random& random, QWidget* parent = nullptr);
    ~MainWindow() override;

    ClockCore& core() { return core_; }
    QLabel* timeLabel() const { return labTime_; }
    QLabel* dateLabel() const { return labDate_; }
    QLabel* dayLabel() const { return labDay_; }
    ViewWidget* viewWidget() const { return picView_; }
    PopupMenu* popupMenu() const { return mnuPopup_; }

    // One tick of the clock, as the timer runs it.
    void tick();

    // The commands of the popup menu.
    void fontCommand();
    void locationCommand(std::int16_t index);
    void alwaysOnTopCommand();
    void versionCommand();
    void quitCommand();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void startUp();
    void createControls();
    void createMenu();
    void applyStoredSettings();
    void savePosition();
    void showFace();
    void handleKey(int key, Qt::KeyboardModifiers modifiers);

    std::unique_ptr<SettingsStore> ownedStore_;
    std::unique_ptr<FontChooser> ownedFonts_;
    ClockCore core_;
    Settings settings_;
    FontChooser& fonts_;
    QTimer timer_{this}; // a child, so that tests can find and hold it
    ViewWidget* picView_ = nullptr;
    QLabel* labDay_ = nullptr;
    QLabel* labDate_ = nullptr;
    QLabel* labTime_ = nullptr;
    PopupMenu* mnuPopup_ = nullptr;
    bool positionSaved_ = false;
};

} // namespace soramado
