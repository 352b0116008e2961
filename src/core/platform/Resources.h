#pragma once
// The folder of the files shipped with the app (the prepared database, the version resource,
// default column files, pictures): set by the program, else $QINGLAN_RESOURCES, else the build's
// resource folder.

#include <filesystem>
#include <string_view>

namespace ql::Resources {

std::filesystem::path folder();
void setFolder(std::filesystem::path folder);  // empty: back to the default
inline std::filesystem::path path(std::string_view name) { return folder() / name; }

}  // namespace ql::Resources
