#include "qt/fonts.h"

#include "app/layout.h"

#include <QFont>
#include <QStringList>

namespace soramado {

QString plainFamilyName(const QString& family)
{
    const qsizetype open = family.lastIndexOf(QStringLiteral(" ["));
    if (open <= 0 || !family.endsWith(QLatin1Char(']')))
        return family;
    return family.left(open);
}

void registerFontSubstitutes()
{
    QFont::insertSubstitutions(QString::fromUtf8(layout::LabelFontFace),
                               {QStringLiteral("IPAPGothic"), QStringLiteral("IPAexGothic"),
                                QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL PGothic"),
                                QStringLiteral("Hiragino Kaku Gothic ProN"),
                                QStringLiteral("MS PGothic")});
    QFont::insertSubstitutions(
        QString::fromUtf8(layout::ClockFontFace),
        {QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP"),
         QStringLiteral("VL Gothic"), QStringLiteral("Osaka"), QStringLiteral("MS Gothic")});
}

} // namespace soramado
