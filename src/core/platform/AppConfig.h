#pragma once
// The build constants of the client, overridable by one JSON file (--config or $QINGLAN_CONFIG):
// the five hosts, the data folder and the network type override. Unknown keys are kept in `extra`
// for the subsystems that read them.

#include <nlohmann/json.hpp>

#include <optional>
#include <string>

namespace ql {

struct Hosts {
    std::string main = "127.0.0.1:8701";
    std::string content = "localhost:8702";
    std::string site = "127.0.0.1:8703";
    std::string update = "127.0.0.1:8704";
    std::string video = "127.0.0.1:8705";
};

struct AppConfig {
    Hosts hosts;
    std::string dataDir;          // empty: $XDG_DATA_HOME/qinglan (or ~/.local/share/qinglan)
    std::string network = "auto"; // "auto", "wifi", "3g" or "none"
    nlohmann::json extra = nlohmann::json::object();

    // Reads a configuration file; missing keys keep their defaults. Errors are returned as text.
    static AppConfig fromJson(const nlohmann::json& j);
    static std::optional<AppConfig> load(const std::string& path, std::string* error);
    // --config path if given, else $QINGLAN_CONFIG, else the defaults.
    static std::optional<AppConfig> loadDefault(const std::string& explicitPath, std::string* error);
    nlohmann::json toJson() const;

    // The configuration of the running process.
    static const AppConfig& current();
    static void setCurrent(AppConfig config);
};

}  // namespace ql
