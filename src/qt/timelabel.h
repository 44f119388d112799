#pragma once

#include <QLabel>

#include <optional>

namespace soramado {

// The time label. A new second usually changes one or two characters at the
// end; only their rectangle is repainted and sent to the screen, drawn exactly
// as a full repaint would draw it there.
class TimeLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    // Sets the text, repainting only what it changes where it can tell.
    void showText(const QString& text);

    // The part of the label that showing `next` after `shown` changes, or
    // nothing when the whole label must be repainted (the characters that
    // stay would move).
    std::optional<QRect> changedRect(const QString& shown, const QString& next) const;
};

} // namespace soramado
