#pragma once

#include <filesystem>
#include <system_error>

namespace soramado {

// The file that writing to `path` should create or replace: where the chain of
// symbolic links at `path` ends, also when that file does not exist yet (a
// dotfile manager links to a file that is still to be made). Replacing the link
// itself would cut it; a path that is no link is its own target. A relative
// link is taken from the link's folder. On a loop `error` is set.
std::filesystem::path linkTarget(const std::filesystem::path& path, std::error_code& error);

} // namespace soramado
