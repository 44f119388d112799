#include "app/viewwidget.h"

#include "sky/viewsurface.h"

#include <QMouseEvent>
#include <QPainter>

namespace soramado {

ViewWidget::ViewWidget(const ViewSurface& view, QWidget* parent) : QWidget(parent), view_(view)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(ViewSurface::Width, ViewSurface::Height);
    shownRevision_ = view_.revision();
}

void ViewWidget::refresh()
{
    if (view_.revision() == shownRevision_)
        return;
    shownRevision_ = view_.revision();
    update();
}

void ViewWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // Pixel art: never blur it when the screen scales.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(rect(), view_.image());
}

void ViewWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)
        pressed_ = event->button();
    event->accept();
}

void ViewWidget::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = event->button() == pressed_ && rect().contains(event->position().toPoint());
    pressed_ = Qt::NoButton;
    event->accept();
    if (click)
        emit clicked(event->globalPosition().toPoint());
}

} // namespace soramado
