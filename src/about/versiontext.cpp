#include "about/versiontext.h"

#include "common/numbers.h"

#include <QLocale>

namespace soramado {

ProgramVersion programVersion()
{
    // Taken from the project's version, so that the file and the window agree.
    return {SORAMADO_VERSION_MAJOR, SORAMADO_VERSION_MINOR, SORAMADO_VERSION_REVISION};
}

QString versionText(ProgramVersion version, const QString& decimalPoint)
{
    QString text = QStringLiteral("ver.") + QString::number(version.major) + QLatin1Char('.') +
                   twoDigits(version.minor);
    if (version.revision > 0) {
        const int letter = roundHalfEven(version.revision / 1000.0 + 96);
        text += QChar(static_cast<char16_t>(letter));
        const int rest = version.revision % 1000;
        if (rest > 99) {
            QString number = QString::number(rest / 100.0, 'g', QLocale::FloatingPointShortest);
            number.replace(QLatin1Char('.'), decimalPoint);
            text += number;
        }
    }
    return text;
}

QString versionText(ProgramVersion version)
{
    return versionText(version, QLocale::system().decimalPoint());
}

} // namespace soramado
