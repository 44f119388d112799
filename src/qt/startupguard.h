#pragma once

namespace soramado {

// While the application object connects to the window system, a failure to
// reach any display ends the program with one clear line on stderr that says
// what is wrong, and exit status 1, instead of an abort and a core dump. What
// is said meanwhile is held back until the connection works. The arguments are
// the program's, for a -platform choice.
void guardDisplayConnection(const char* programName, int argc, const char* const* argv);
// From here on Qt's messages go their usual way again.
void endDisplayGuard();

} // namespace soramado
