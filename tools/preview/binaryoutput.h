#pragma once

namespace soramado {

// Makes standard output carry bytes unchanged (no newline translation), for a
// picture written there.
void useBinaryStandardOutput();

} // namespace soramado
