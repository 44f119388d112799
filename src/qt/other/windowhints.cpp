#include "qt/windowhints.h"

namespace soramado {

// Away from X11 the toolkit's own hints are all there is.
void askCloseAndMoveOnly(QWidget*) {}

} // namespace soramado
