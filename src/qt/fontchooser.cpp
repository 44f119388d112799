#include "qt/fontchooser.h"

#include "app/menu.h"
#include "qt/fonts.h"

#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>

namespace soramado {

std::optional<std::string> DialogFontChooser::choose(const std::string& currentFace)
{
    QFont start = currentFont_ ? currentFont_() : QFont();
    start.setFamily(QString::fromStdString(currentFace));
    // A face that is only an alias (the default "MS ゴシック" on most systems)
    // is not in the dialog's list: open on the face that is really drawn.
    if (!QFontDatabase::hasFamily(start.family()))
        start.setFamily(QFontInfo(start).family());
    bool ok = false;
    const QFont font =
        QFontDialog::getFont(&ok, start, parent_, QString::fromUtf8(menu::FontDialogTitle), {});
    if (!ok)
        return std::nullopt;
    return plainFamilyName(font.family()).toStdString();
}

} // namespace soramado
