#pragma once

namespace soramado {

// While the application object connects to the window system, a failure to
// reach any display ends the program with one clear line on stderr and exit
// status 1, instead of an abort and a core dump.
void guardDisplayConnection(const char* programName);
// From here on Qt's messages go their usual way again.
void endDisplayGuard();

} // namespace soramado
