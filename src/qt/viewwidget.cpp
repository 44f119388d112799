#include "qt/viewwidget.h"

#include "sky/phase.h"
#include "sky/viewsurface.h"

#include <QMouseEvent>
#include <QPainter>

namespace soramado {

ViewWidget::ViewWidget(const ViewSurface& view, QWidget* parent) : QWidget(parent), view_(view)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(ViewSurface::Width, ViewSurface::Height);
    setAccessibleName(QStringLiteral("外の景色"));
    rescale();
}

bool ViewWidget::rescale()
{
    const qreal ratio = devicePixelRatioF();
    if (view_.revision() == shownRevision_ && ratio == shownRatio_ && !scaled_.isNull())
        return false;
    shownRevision_ = view_.revision();
    shownRatio_ = ratio;
    scaledPixels_ = scalePixelArt(view_.image(), ratio);
    scaled_ = QImage(reinterpret_cast<const uchar*>(scaledPixels_.data()), scaledPixels_.width(),
                     scaledPixels_.height(), scaledPixels_.width() * 4, QImage::Format_RGB32);
    scaled_.setDevicePixelRatio(ratio >= 1.0 ? ratio : 1.0);
    return true;
}

void ViewWidget::refresh()
{
    if (rescale())
        update();
}

void ViewWidget::setPhase(int phase)
{
    if (phase == phase_)
        return;
    phase_ = phase;
    const QString name = QString::fromStdString(phaseName(phase));
    setAccessibleDescription(name.isEmpty() ? QString() : name + QStringLiteral("の景色"));
}

void ViewWidget::showEvent(QShowEvent* event)
{
    // The screen, and with it the pixel ratio, is known for sure only now.
    rescale();
    QWidget::showEvent(event);
}

void ViewWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), scaled_);
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
