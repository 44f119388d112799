#pragma once

class QWidget;

namespace soramado {

// A polite request to end (SIGTERM or SIGHUP, as at logout or from a service
// manager) closes the window the normal way, so its position is saved as it is
// through the close box. Where the platform has no such signals, nothing happens.
void closeOnTermination(QWidget* window);

} // namespace soramado
