#include "platform/SandboxPaths.h"

#include "platform/AppConfig.h"
#include "platform/Preferences.h"

#include <cstdlib>

namespace ql::paths {

std::filesystem::path home() {
    const auto& dir = AppConfig::current().dataDir;
    if (!dir.empty()) return dir;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) return std::filesystem::path(xdg) / "qinglan";
    const char* h = std::getenv("HOME");
    return std::filesystem::path(h && *h ? h : ".") / ".local/share/qinglan";
}

std::filesystem::path documents() { return home() / "Documents"; }
std::filesystem::path caches() { return home() / "Library" / "Caches"; }
std::filesystem::path responseCache() { return caches() / "RNCaching"; }

void prepare() {
    std::error_code ec;
    std::filesystem::create_directories(documents(), ec);
    std::filesystem::create_directories(caches(), ec);
    Preferences::standard().open(documents() / "preferences.json");
}

}  // namespace ql::paths
