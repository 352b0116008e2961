#pragma once
// Command line of qinglan-service.

#include <array>
#include <optional>
#include <string>

namespace qlsvc {

enum class HostKind { Main = 0, Content, Site, Update, Video };
inline constexpr std::array<const char*, 5> kHostNames = {"main", "content", "site", "update", "video"};

struct ServiceOptions {
    std::array<int, 5> ports = {8701, 8702, 8703, 8704, 8705};
    bool freePorts = false;
    std::string writeConfig;
    std::string dataDir;            // empty: $XDG_DATA_HOME/qinglan-service or ~/.local/share/qinglan-service
    std::string announceVersion = "1.4";
    bool help = false;

    // Parses argv; on a bad argument returns nothing and fills `error`.
    static std::optional<ServiceOptions> parse(int argc, char** argv, std::string* error);
    static std::string usage();
    std::string resolvedDataDir() const;
};

}  // namespace qlsvc
