#pragma once

#include "platform/fontchooser.h"

#include <QFont>

#include <functional>
#include <utility>

class QWidget;

namespace soramado {

// The platform's font dialog, titled "フォントの変更", over the clock's window.
class DialogFontChooser final : public FontChooser {
public:
    // The window the dialog belongs to and the font it opens on (the face is the one asked for).
    explicit DialogFontChooser(QWidget* parent = nullptr, std::function<QFont()> currentFont = {})
        : parent_(parent), currentFont_(std::move(currentFont))
    {}

    std::optional<std::string> choose(const std::string& currentFace) override;

private:
    QWidget* parent_;
    std::function<QFont()> currentFont_;
};

} // namespace soramado
