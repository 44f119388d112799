#pragma once

#include "platform/fontchooser.h"

#include <QFont>

#include <functional>

class QWidget;

namespace soramado {

// The platform's font dialog, titled "フォントの変更", over the clock's window.
class DialogFontChooser final : public FontChooser {
public:
    // The window the dialog belongs to and the font it opens on (the face is the one asked for).
    QWidget* parent = nullptr;
    std::function<QFont()> currentFont;

    std::optional<std::string> choose(const std::string& currentFace) override;
};

} // namespace soramado
