#pragma once

#include "platform/settingsstore.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace soramado {

// The settings file's format on its own, in standard C++: the INI form that
// QSettings writes, read by its rules except that a value is one text.
namespace ini {

constexpr std::string_view Group = StoreSection;

// The text of key in group, as QSettings reads it but as one text (a comma is
// just a comma); nothing when absent. The last of duplicated keys counts, as
// for QSettings. Lines that are no settings are described in problems.
std::optional<std::string> find(std::string_view file, std::string_view group, std::string_view key,
                                std::vector<std::string>* problems = nullptr);

// The file with key in group set to text. Only that key's line changes (the
// last one, when duplicated) or one line is added; all other bytes stay.
std::string assign(std::string_view file, std::string_view group, std::string_view key,
                   std::string_view text);

// A value as QSettings writes a text (escapes, quotes when needed, "@@" for a
// leading "@"), byte for byte, so text that is not UTF-8 survives too.
std::string escapeValue(std::string_view text);
// The raw value after "=" as one text.
std::string unescapeValue(std::string_view raw);

} // namespace ini

} // namespace soramado
