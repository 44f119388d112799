#include "binaryoutput.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>

namespace soramado {

void useBinaryStandardOutput()
{
    // Text mode would turn every 0x0A byte of the PNG into 0x0D 0x0A.
    _setmode(_fileno(stdout), _O_BINARY);
}

} // namespace soramado
