#include "qt/singleclock.h"

#include <QStandardPaths>

namespace soramado {

QString instanceFolder()
{
    // The platform's own per-user runtime place.
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

} // namespace soramado
