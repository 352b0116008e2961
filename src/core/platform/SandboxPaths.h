#pragma once
// The app's data folder stands for the phone's application home:
//   Documents/               database, column files, cover picture, preferences
//   Library/Caches/RNCaching response cache
//   Library/Caches/<userid>/ downloads, with temp/

#include <filesystem>
#include <string>

namespace ql::paths {

// The home folder: the configured dataDir, else $XDG_DATA_HOME/qinglan, else ~/.local/share/qinglan.
std::filesystem::path home();
std::filesystem::path documents();
std::filesystem::path caches();
std::filesystem::path responseCache();
// Creates the standard folders and opens the standard preferences store in Documents.
void prepare();

}  // namespace ql::paths
