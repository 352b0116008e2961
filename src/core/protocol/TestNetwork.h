#pragma once
// The network type shown to the lesson player, the download manager and the offline news trigger:
// "NONET", "wifi" or "3g", read fresh at every call.

#include <filesystem>
#include <string>

namespace ql {

class TestNetwork {
public:
    // The configuration's "network" forces the answer ("wifi", "3g", "none"); "auto" probes the main
    // host and, when it answers, reads the kind of the interfaces that are up.
    static std::string GetCurrntNet();

    // The kind of link from a /sys/class/net-shaped folder: a wireless or wired interface that is up
    // gives "wifi"; only mobile-data interfaces (wwan*, ppp*, rmnet*) up gives "3g". With nothing but
    // loopback the host still answered, so it counts as a local network: "wifi".
    static std::string linkTypeFromInterfaces(const std::filesystem::path& sysClassNet);
};

}  // namespace ql
