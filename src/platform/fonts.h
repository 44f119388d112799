#pragma once

#include <QString>

namespace soramado {

// The face names the clock uses and stores. Where these faces are not
// installed, substitutes stand in for them without changing the names.
inline const QString LabelFontFace = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString ClockFontFace = QStringLiteral("MS ゴシック");

// A family name as a person reads it: Qt names a family that more than one
// foundry supplies "Family [foundry]", a name no later start would look for.
QString plainFamilyName(const QString& family);

// Maps the two face names onto installed Japanese faces (IPA, Noto CJK, …).
void registerFontSubstitutes();

} // namespace soramado
