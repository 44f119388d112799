#pragma once

#include <memory>

class QFont;
class QFontDialog;
class QWidget;

namespace soramado {

// The font chooser's dialog, titled "フォントの変更", opening on `start`. It offers
// only what the clock takes, the face: Qt's own dialog (a desktop's native one
// could not be trimmed) with size, style and effects hidden; the face list, the
// writing-system filter and the sample stay.
std::unique_ptr<QFontDialog> makeFaceDialog(const QFont& start, QWidget* parent);

} // namespace soramado
