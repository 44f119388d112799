#pragma once

namespace soramado {

// Maps the clock's two face names onto installed Japanese faces (IPA, Noto CJK, …).
void registerFontSubstitutes();

} // namespace soramado
