#include "assets/assets.h"

#include "common/numbers.h"

#include <array>

namespace soramado::assets {

namespace {

// The last few pictures decoded, most recent first. A visitor step asks for
// its scene, mask and sprite ten times a second, mostly the same three as on
// the step before; decoding them anew costs a thousand times the rest of the
// tick. Four places hold one step's pictures with one to spare and bound the
// memory to a few hundred kilobytes. Callers get implicitly shared copies:
// drawing on one detaches it and never reaches the cached picture.
class RecentPictures {
public:
    QImage load(const QString& path)
    {
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            if (entries_[i].path == path) {
                rotateToFront(i);
                return entries_.front().picture;
            }
        }
        QImage picture(path);
        if (picture.isNull())
            return picture; // nothing under that name: nothing to keep
        rotateToFront(entries_.size() - 1);
        entries_.front() = {path, picture};
        return picture;
    }

    void clear() { entries_ = {}; }

private:
    struct Entry {
        QString path;
        QImage picture;
    };

    void rotateToFront(std::size_t i)
    {
        for (; i > 0; --i)
            std::swap(entries_[i], entries_[i - 1]);
    }

    std::array<Entry, 4> entries_;
};

RecentPictures& recent()
{
    static RecentPictures pictures;
    return pictures;
}

} // namespace

QImage scene(int position)
{
    if (position < 1 || position > SceneCount)
        return {};
    return recent().load(QStringLiteral(":/soramado/view/%1.png").arg(position));
}

QImage frame(const QString& key)
{
    if (key.size() != 5)
        return {};
    const QChar list = key.at(0);
    if (list == QLatin1Char('M'))
        return recent().load(QStringLiteral(":/soramado/mask/%1.png").arg(key));
    if (list == QLatin1Char('G'))
        return recent().load(QStringLiteral(":/soramado/guest/%1.png").arg(key));
    return {};
}

void forgetDecodedPictures()
{
    recent().clear();
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
