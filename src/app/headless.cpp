#include "app/headless.h"

namespace soramado {

std::optional<std::string> MemorySettingsStore::ReadSetting(std::string_view key)
{
    const auto it = values_.find(key);
    if (it == values_.end())
        return std::nullopt;
    return it->second;
}

std::optional<std::string> MemorySettingsStore::WriteSetting(std::string_view key,
                                                             std::string_view text)
{
    ++writes_;
    if (!refusal_.empty())
        return refusal_;
    values_.insert_or_assign(std::string(key), std::string(text));
    return std::nullopt;
}

} // namespace soramado
