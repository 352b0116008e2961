#pragma once
// Free and total space of the file system that holds a folder.

#include <cstdint>
#include <filesystem>
#include <optional>

namespace ql::DiskSpace {

struct Space {
    std::uint64_t freeBytes = 0;   // available to an ordinary user
    std::uint64_t totalBytes = 0;
};

// Nothing when the folder (or the nearest existing folder above it) cannot be examined.
std::optional<Space> of(const std::filesystem::path& folder);

}  // namespace ql::DiskSpace
