#include "platform/fontchooser.h"

#include <QFontDialog>

namespace soramado {

std::optional<QFont> DialogFontChooser::choose(const QFont& initial, QWidget* parent)
{
    bool ok = false;
    const QFont font =
        QFontDialog::getFont(&ok, initial, parent, QStringLiteral("フォントの変更"), {});
    if (!ok)
        return std::nullopt;
    return font;
}

} // namespace soramado
