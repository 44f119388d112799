#pragma once

#include <QImage>
#include <QWidget>

#include <cstdint>

namespace soramado {

class ViewSurface;

// Scales pixel art for a screen with `ratio` device pixels to a logical pixel.
// The largest whole factor is done by repeating pixels, so every source pixel
// becomes an even block; what is left of a fractional ratio is resampled by
// area, so only the seams between two blocks mix and nothing blurs. The result
// carries the ratio as its device pixel ratio.
QImage scalePixelArt(const QImage& picture, qreal ratio);

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
    QImage scaled_;
    Qt::MouseButton pressed_ = Qt::NoButton;
};

} // namespace soramado
