#include "platform/clock.h"

namespace soramado {

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTime();
}

} // namespace soramado
