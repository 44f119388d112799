#include "qt/fontchooser.h"

#include "qt/facedialog.h"
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
    const std::unique_ptr<QFontDialog> dialog = makeFaceDialog(start, parent_);
    if (dialog->exec() != QDialog::Accepted)
        return std::nullopt;
    return plainFamilyName(dialog->selectedFont().family()).toStdString();
}

} // namespace soramado
