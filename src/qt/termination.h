#pragma once

class QWidget;

namespace soramado {

// A polite request to end (SIGTERM or SIGHUP, as at logout or from a service
// manager, or SIGINT from Ctrl+C in the terminal that started the clock)
// closes the window the normal way, so its position is saved as it is through
// the close box; any number of them closes it once. SIGINT and SIGHUP stay
// ignored when they were ignored at start. Called again, the new window takes
// the place of the old one. Where the platform has no such signals, nothing
// happens.
void closeOnTermination(QWidget* window);

} // namespace soramado
