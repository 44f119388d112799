#include "qt/timelabel.h"

#include <QFontMetrics>

#include <algorithm>

namespace soramado {

std::optional<QRect> TimeLabel::changedRect(const QString& shown, const QString& next) const
{
    if (shown.size() != next.size() || shown.isEmpty() || wordWrap() ||
        !(alignment() & Qt::AlignHCenter))
        return std::nullopt;
    qsizetype first = 0;
    while (first < shown.size() && shown[first] == next[first])
        ++first;
    if (first == shown.size())
        return QRect();
    qsizetype last = shown.size() - 1;
    while (shown[last] == next[last])
        --last;
    // The characters before the change keep their places when both texts are
    // as wide and centred alike; those after it when the changed run is as
    // wide in both.
    const QFontMetrics metrics(font());
    const int width = metrics.horizontalAdvance(next);
    if (metrics.horizontalAdvance(shown) != width ||
        metrics.horizontalAdvance(shown.left(last + 1)) !=
            metrics.horizontalAdvance(next.left(last + 1)))
        return std::nullopt;
    const QRect box = contentsRect();
    const int left = box.left() + (box.width() - width) / 2;
    const int from = left + metrics.horizontalAdvance(next.left(first));
    const int to = left + metrics.horizontalAdvance(next.left(last + 1));
    // Glyphs reach past their advance (bearings, antialiasing), and the
    // centring may round the other way: a margin of a quarter em each side.
    const int margin = std::max(3, metrics.height() / 4);
    return QRect(QPoint(from - margin, 0), QPoint(to + margin, height() - 1)).intersected(rect());
}

void TimeLabel::showText(const QString& text)
{
    const QString shown = this->text();
    if (text == shown)
        return;
    const std::optional<QRect> changed = isVisible() ? changedRect(shown, text) : std::nullopt;
    if (!changed) {
        setText(text);
        return;
    }
    // setText repaints the whole label; hold that back and repaint the change.
    const bool held = testAttribute(Qt::WA_UpdatesDisabled);
    setAttribute(Qt::WA_UpdatesDisabled, true);
    setText(text);
    setAttribute(Qt::WA_UpdatesDisabled, held);
    update(*changed);
}

} // namespace soramado
