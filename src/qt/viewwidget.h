#pragma once

#include "common/picture.h"

#include <QImage>
#include <QWidget>

#include <cstdint>

namespace soramado {

class ViewSurface;

// Shows the clock's view. It only paints the pixels it is given, and repaints
// only when they changed; a click with the left or right button is reported.
class ViewWidget : public QWidget {
    Q_OBJECT
public:
    explicit ViewWidget(const ViewSurface& view, QWidget* parent = nullptr);

    // Schedules a repaint when the view's pixels (or the screen's pixel ratio)
    // changed since the last one.
    void refresh();

    // Tells assistive technology which scene of the day is shown.
    void setPhase(int phase);

    // The picture as it is painted, scaled for the screen.
    const QImage& shownPicture() const { return scaled_; }

signals:
    void clicked(const QPoint& globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool rescale();

    const ViewSurface& view_;
    std::uint64_t shownRevision_ = 0;
    qreal shownRatio_ = 0;
    int phase_ = -1;
    Picture scaledPixels_; // what scaled_ shows, without a copy
    QImage scaled_;
    Qt::MouseButton pressed_ = Qt::NoButton;
};

} // namespace soramado
