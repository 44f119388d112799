#include "qt/viewwidget.h"

#include "sky/phase.h"
#include "sky/viewsurface.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace soramado {

namespace {

QImage repeatPixels(const QImage& picture, int factor)
{
    if (factor == 1)
        return picture;
    QImage out(picture.width() * factor, picture.height() * factor, QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(picture.constScanLine(y / factor));
        auto* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            dst[x] = src[x / factor];
    }
    return out;
}

// Where output pixel i (of a row scaled up by 1/step) falls in the source: the
// first source pixel it covers, and how much of it lies on that one (the rest
// lies on the next). An upscale covers at most two source pixels.
struct Cover {
    int first;
    double weight;
};

Cover coverOf(int i, double step, int sourceLength)
{
    const double from = i * step;
    const double to = from + step;
    const int first = std::min(static_cast<int>(std::floor(from)), sourceLength - 1);
    const double boundary = first + 1.0;
    if (to <= boundary || first + 1 >= sourceLength)
        return {first, 1.0};
    return {first, (boundary - from) / step};
}

// Resamples to a larger size, each output pixel the area-weighted mean of the
// source pixels under it.
QImage resampleByArea(const QImage& picture, int width, int height)
{
    const double stepX = static_cast<double>(picture.width()) / width;
    const double stepY = static_cast<double>(picture.height()) / height;
    std::vector<Cover> columns(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x)
        columns[static_cast<std::size_t>(x)] = coverOf(x, stepX, picture.width());

    QImage out(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const Cover row = coverOf(y, stepY, picture.height());
        const auto* upper = reinterpret_cast<const QRgb*>(picture.constScanLine(row.first));
        const auto* lower = reinterpret_cast<const QRgb*>(
            picture.constScanLine(std::min(row.first + 1, picture.height() - 1)));
        auto* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const Cover col = columns[static_cast<std::size_t>(x)];
            const int next = std::min(col.first + 1, picture.width() - 1);
            const QRgb c[4] = {upper[col.first], upper[next], lower[col.first], lower[next]};
            const double w[4] = {col.weight * row.weight, (1 - col.weight) * row.weight,
                                 col.weight * (1 - row.weight),
                                 (1 - col.weight) * (1 - row.weight)};
            double r = 0, g = 0, b = 0;
            for (int k = 0; k < 4; ++k) {
                r += w[k] * qRed(c[k]);
                g += w[k] * qGreen(c[k]);
                b += w[k] * qBlue(c[k]);
            }
            dst[x] = qRgb(static_cast<int>(std::lround(r)), static_cast<int>(std::lround(g)),
                          static_cast<int>(std::lround(b)));
        }
    }
    return out;
}

} // namespace

QImage scalePixelArt(const QImage& picture, qreal ratio)
{
    if (picture.isNull())
        return picture;
    if (!(ratio >= 1.0)) // below one there is no pixel art left to keep; NaN lands here too
        ratio = 1.0;
    const QImage source = picture.convertToFormat(QImage::Format_RGB32);
    const int width = std::max(1, static_cast<int>(std::lround(source.width() * ratio)));
    const int height = std::max(1, static_cast<int>(std::lround(source.height() * ratio)));
    // A ratio a hair below a whole number still counts as that number.
    const int whole = std::max(1, static_cast<int>(std::floor(ratio + 1e-6)));
    QImage out = repeatPixels(source, whole);
    if (out.width() != width || out.height() != height)
        out = resampleByArea(out, width, height);
    if (out.devicePixelRatio() != ratio) // setting it detaches a shared picture
        out.setDevicePixelRatio(ratio);
    return out;
}

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
    scaled_ = scalePixelArt(view_.image(), ratio);
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
    const QString name = phaseName(phase);
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
