#include "assets/assets.h"

#include "common/numbers.h"

namespace soramado::assets {

QImage scene(int position)
{
    if (position < 1 || position > SceneCount)
        return {};
    return QImage(QStringLiteral(":/soramado/view/%1.png").arg(position));
}

QImage frame(const QString& key)
{
    if (key.size() != 5)
        return {};
    const QChar list = key.at(0);
    if (list == QLatin1Char('M'))
        return QImage(QStringLiteral(":/soramado/mask/%1.png").arg(key));
    if (list == QLatin1Char('G'))
        return QImage(QStringLiteral(":/soramado/guest/%1.png").arg(key));
    return {};
}

QString frameKey(QChar list, int visitor, int frameNo)
{
    return QString(list) + twoDigits(visitor) + twoDigits(frameNo);
}

QImage icon()
{
    return QImage(QStringLiteral(":/soramado/icon.png"));
}

} // namespace soramado::assets
