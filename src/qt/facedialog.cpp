#include "qt/facedialog.h"

#include "app/menu.h"

#include <QCheckBox>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>

namespace soramado {

namespace {

// Qt names none of the dialog's parts; they are found by where its grid puts
// them: the face, style and size columns in rows 0 to 2 (label, field, list),
// the effects box (the one with check boxes) and the sample box below. Should a
// later Qt lay the dialog out otherwise, the parts stay shown and it still works.
void keepOnlyTheFace(QFontDialog& dialog)
{
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    if (!grid)
        return;
    for (int i = 0; i < grid->count(); ++i) {
        int row = 0, column = 0, rows = 0, columns = 0;
        grid->getItemPosition(i, &row, &column, &rows, &columns);
        if (QWidget* part = grid->itemAt(i)->widget(); part && row <= 2 && column > 0)
            part->hide();
    }
    for (QGroupBox* box : dialog.findChildren<QGroupBox*>()) {
        if (!box->findChildren<QCheckBox*>().isEmpty()) {
            box->hide();
        } else {
            // The sample moves up beside the face list, where style and size were.
            grid->removeWidget(box);
            grid->addWidget(box, 0, 2, 3, 3);
        }
    }
}

} // namespace

std::unique_ptr<QFontDialog> makeFaceDialog(const QFont& start, QWidget* parent)
{
    auto dialog = std::make_unique<QFontDialog>(parent);
    dialog->setOption(QFontDialog::DontUseNativeDialog);
    dialog->setWindowTitle(QString::fromUtf8(menu::FontDialogTitle));
    keepOnlyTheFace(*dialog);
    dialog->setCurrentFont(start);
    return dialog;
}

} // namespace soramado
