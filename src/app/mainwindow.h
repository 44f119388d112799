#pragma once

#include "app/clockcore.h"

#include <QTimer>
#include <QWidget>

class QLabel;

namespace soramado {

class Clock;
class Random;
class ViewWidget;

// The clock window: the view on top and, on a pink strip below it, the date,
// the weekday and the time. It shows what the core computes and routes events.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 169;
    static constexpr int ClientHeight = 172;
    static constexpr QPoint DesignPosition{160, 128};

    MainWindow(const Clock& clock, Random& random, QWidget* parent = nullptr);
    ~MainWindow() override;

    ClockCore& core() { return core_; }
    QLabel* timeLabel() const { return labTime_; }
    QLabel* dateLabel() const { return labDate_; }
    QLabel* dayLabel() const { return labDay_; }
    ViewWidget* viewWidget() const { return picView_; }

    // One tick of the clock, as the timer runs it.
    void tick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void showFace();
    void handleKey(int key, Qt::KeyboardModifiers modifiers);

    ClockCore core_;
    QTimer timer_;
    ViewWidget* picView_ = nullptr;
    QLabel* labDay_ = nullptr;
    QLabel* labDate_ = nullptr;
    QLabel* labTime_ = nullptr;
};

} // namespace soramado
