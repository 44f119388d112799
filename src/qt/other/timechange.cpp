#include "qt/timechange.h"

namespace soramado {

// No notice here: the planned wakes bring a set clock's time.
TimeChangeNotice::TimeChangeNotice(QObject* parent) : QObject(parent) {}

TimeChangeNotice::~TimeChangeNotice() = default;

} // namespace soramado
