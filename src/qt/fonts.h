#pragma once

class QString;

namespace soramado {

// A family name as a person reads it: Qt names a family that more than one
// foundry supplies "Family [foundry]", a name no later start would look for.
QString plainFamilyName(const QString& family);

// Maps the clock's two face names onto installed Japanese faces (IPA, Noto CJK, …).
void registerFontSubstitutes();

} // namespace soramado
