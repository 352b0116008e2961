#include "platform/AppConfig.h"

#include "platform/FileUtil.h"

#include <cstdlib>
#include <mutex>

namespace ql {

namespace {
std::mutex g_mutex;
AppConfig& currentRef() {
    static AppConfig config;
    return config;
}

void readText(const nlohmann::json& j, const char* key, std::string& out) {
    if (auto it = j.find(key); it != j.end() && it->is_string()) out = it->get<std::string>();
}
}  // namespace

AppConfig AppConfig::fromJson(const nlohmann::json& j) {
    AppConfig c;
    if (!j.is_object()) return c;
    if (auto h = j.find("hosts"); h != j.end() && h->is_object()) {
        readText(*h, "main", c.hosts.main);
        readText(*h, "content", c.hosts.content);
        readText(*h, "site", c.hosts.site);
        readText(*h, "update", c.hosts.update);
        readText(*h, "video", c.hosts.video);
    }
    readText(j, "dataDir", c.dataDir);
    readText(j, "network", c.network);
    for (auto it = j.begin(); it != j.end(); ++it) {
        if (it.key() != "hosts" && it.key() != "dataDir" && it.key() != "network") c.extra[it.key()] = it.value();
    }
    return c;
}

std::optional<AppConfig> AppConfig::load(const std::string& path, std::string* error) {
    auto text = readWholeFile(path);
    if (!text) {
        if (error) *error = "cannot read configuration file " + path;
        return std::nullopt;
    }
    auto j = nlohmann::json::parse(*text, nullptr, false);
    if (!j.is_object()) {
        if (error) *error = "configuration file " + path + " is not a JSON object";
        return std::nullopt;
    }
    return fromJson(j);
}

std::optional<AppConfig> AppConfig::loadDefault(const std::string& explicitPath, std::string* error) {
    if (!explicitPath.empty()) return load(explicitPath, error);
    if (const char* env = std::getenv("QINGLAN_CONFIG"); env && *env) return load(env, error);
    return AppConfig{};
}

nlohmann::json AppConfig::toJson() const {
    nlohmann::json j = extra;
    j["hosts"] = {{"main", hosts.main}, {"content", hosts.content}, {"site", hosts.site},
                  {"update", hosts.update}, {"video", hosts.video}};
    if (!dataDir.empty()) j["dataDir"] = dataDir;
    j["network"] = network;
    return j;
}

const AppConfig& AppConfig::current() {
    std::lock_guard lock(g_mutex);
    return currentRef();
}

void AppConfig::setCurrent(AppConfig config) {
    std::lock_guard lock(g_mutex);
    currentRef() = std::move(config);
}

}  // namespace ql
