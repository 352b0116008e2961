#include "protocol/TestNetwork.h"

#include "platform/AppConfig.h"
#include "platform/FileUtil.h"
#include "platform/Reachability.h"

#include <array>
#include <string_view>

namespace ql {

namespace {

std::string firstLine(const std::filesystem::path& file) {
    auto text = readWholeFile(file).value_or("");
    return text.substr(0, text.find('\n'));
}

bool isUp(const std::filesystem::path& dir) {
    const std::string state = firstLine(dir / "operstate");
    if (state == "up") return true;
    // Point-to-point links (ppp, many modems) report "unknown" while they work: trust IFF_UP then.
    if (state != "unknown") return false;
    try {
        return (std::stoul(firstLine(dir / "flags"), nullptr, 16) & 0x1) != 0;
    } catch (const std::exception&) {
        return false;
    }
}

bool isMobile(std::string_view name) {
    constexpr std::array<std::string_view, 3> prefixes{"wwan", "ppp", "rmnet"};
    for (auto p : prefixes)
        if (name.starts_with(p)) return true;
    return false;
}

}  // namespace

std::string TestNetwork::linkTypeFromInterfaces(const std::filesystem::path& sysClassNet) {
    bool local = false, mobile = false;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(sysClassNet, ec)) {
        const std::string name = entry.path().filename().string();
        if (name == "lo" || !isUp(entry.path())) continue;
        if (isMobile(name)) mobile = true;
        else local = true;  // wireless (has "wireless/") or an ordinary wired link
    }
    return mobile && !local ? "3g" : "wifi";
}

std::string TestNetwork::GetCurrntNet() {
    const AppConfig& config = AppConfig::current();
    const std::string forced = config.network;
    if (forced == "wifi" || forced == "3g") return forced;
    if (forced == "none") return "NONET";
    const std::string host = config.hosts.main;
    if (!Reachability::isReachable(host)) return "NONET";
    return linkTypeFromInterfaces("/sys/class/net");
}

}  // namespace ql
