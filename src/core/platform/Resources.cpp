#include "platform/Resources.h"

#include <cstdlib>
#include <mutex>

namespace ql::Resources {

namespace {
std::mutex g_mutex;
std::filesystem::path g_folder;
}  // namespace

std::filesystem::path folder() {
    std::lock_guard lock(g_mutex);
    if (!g_folder.empty()) return g_folder;
    if (const char* env = std::getenv("QINGLAN_RESOURCES"); env && *env) return env;
    return QINGLAN_BUILD_RESOURCES_DIR;
}

void setFolder(std::filesystem::path f) {
    std::lock_guard lock(g_mutex);
    g_folder = std::move(f);
}

}  // namespace ql::Resources
