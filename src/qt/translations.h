#pragma once

class QCoreApplication;
class QTranslator;

namespace soramado {

// Qt's own translations (the texts of its standard dialogs, such as the font
// chooser's buttons and labels) for the user's languages (LANGUAGE, LC_ALL,
// LC_MESSAGES, LANG), from Qt's translations folder, as Qt programs load them.
// Returns the installed translator, owned by `app`, or nullptr where Qt has
// none for those languages (the dialogs then stay in English).
QTranslator* installQtTranslations(QCoreApplication& app);

} // namespace soramado
