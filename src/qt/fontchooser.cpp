#include "qt/fontchooser.h"

#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>

namespace soramado {

std::optional<QFont> DialogFontChooser::choose(const QFont& initial, QWidget* parent)
{
    // A face that is only an alias (the default "MS ゴシック" on most systems)
    // is not in the dialog's list: open on the face that is really drawn.
    QFont start = initial;
    if (!QFontDatabase::hasFamily(initial.family()))
        start.setFamily(QFontInfo(initial).family());
    bool ok = false;
    const QFont font =
        QFontDialog::getFont(&ok, start, parent, QStringLiteral("フォントの変更"), {});
    if (!ok)
        return std::nullopt;
    return font;
}

} // namespace soramado
