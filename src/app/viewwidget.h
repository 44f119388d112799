#pragma once

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

    // Schedules a repaint when the view's pixels changed since the last one.
    void refresh();

signals:
    void clicked(const QPoint& globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    const ViewSurface& view_;
    std::uint64_t shownRevision_ = 0;
    Qt::MouseButton pressed_ = Qt::NoButton;
};

} // namespace soramado
