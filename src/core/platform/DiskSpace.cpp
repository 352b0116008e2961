#include "platform/DiskSpace.h"

#include <sys/statvfs.h>

namespace ql::DiskSpace {

std::optional<Space> of(const std::filesystem::path& folder) {
    // A download folder may not exist yet: ask about the nearest folder above it that does.
    std::filesystem::path p = folder;
    std::error_code ec;
    while (!p.empty() && !std::filesystem::exists(p, ec) && p != p.parent_path()) p = p.parent_path();
    struct statvfs st {};
    if (p.empty() || ::statvfs(p.c_str(), &st) != 0) return std::nullopt;
    return Space{static_cast<std::uint64_t>(st.f_bavail) * st.f_frsize, static_cast<std::uint64_t>(st.f_blocks) * st.f_frsize};
}

}  // namespace ql::DiskSpace
