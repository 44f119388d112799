#pragma once

#include <QFont>
#include <QString>

#include <optional>

class QWidget;

namespace soramado {

// The font chooser of the font command: opens on a font and gives back the
// one taken, or nothing on Cancel.
class FontChooser {
public:
    virtual ~FontChooser() = default;
    virtual std::optional<QFont> choose(const QFont& initial, QWidget* parent) = 0;
};

// The platform's font dialog, titled "フォントの変更".
class DialogFontChooser final : public FontChooser {
public:
    std::optional<QFont> choose(const QFont& initial, QWidget* parent) override;
};

} // namespace soramado
