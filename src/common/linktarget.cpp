#include "common/linktarget.h"

namespace soramado {

std::filesystem::path linkTarget(const std::filesystem::path& path, std::error_code& error)
{
    namespace fs = std::filesystem;
    // As many links as the Linux kernel follows before it calls it a loop.
    constexpr int MostLinks = 40;
    error.clear();
    fs::path target = path;
    for (int followed = 0; followed <= MostLinks; ++followed) {
        std::error_code ignored;
        if (!fs::is_symlink(fs::symlink_status(target, ignored)))
            return target;
        const fs::path next = fs::read_symlink(target, error);
        if (error)
            return target;
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    error = std::make_error_code(std::errc::too_many_symbolic_link_levels);
    return target;
}

} // namespace soramado
