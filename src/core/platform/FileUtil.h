#pragma once
// Whole-file reads and atomic writes, shared by the preferences store and the response cache.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ql {

std::optional<std::string> readWholeFile(const std::filesystem::path& path);

// Writes a temporary file beside the target, fsyncs it, renames it over the target and fsyncs
// the folder, so a reader sees the old or the new content, never a mix. Creates missing folders.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view data, unsigned mode = 0644);

}  // namespace ql
