#include "binaryoutput.h"

namespace soramado {

// POSIX streams never translate bytes.
void useBinaryStandardOutput() {}

} // namespace soramado
