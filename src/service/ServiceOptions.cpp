#include "ServiceOptions.h"

#include <charconv>
#include <cstdlib>
#include <vector>

namespace qlsvc {

namespace {

bool parsePort(std::string_view text, int& port) {
    int value = 0;
    auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || p != text.data() + text.size() || value < 1 || value > 65535) return false;
    port = value;
    return true;
}

// "main=8701,content=8702,..." — any subset of the five hosts.
bool parsePorts(std::string_view text, std::array<int, 5>& ports, std::string* error) {
    while (!text.empty()) {
        size_t comma = text.find(',');
        std::string_view item = text.substr(0, comma);
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
        size_t eq = item.find('=');
        if (eq == std::string_view::npos) {
            *error = "--ports: expected NAME=PORT, got '" + std::string(item) + "'";
            return false;
        }
        std::string_view name = item.substr(0, eq);
        size_t index = kHostNames.size();
        for (size_t i = 0; i < kHostNames.size(); ++i)
            if (name == kHostNames[i]) index = i;
        if (index == kHostNames.size()) {
            *error = "--ports: unknown host '" + std::string(name) + "'";
            return false;
        }
        if (!parsePort(item.substr(eq + 1), ports[index])) {
            *error = "--ports: bad port in '" + std::string(item) + "'";
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<ServiceOptions> ServiceOptions::parse(int argc, char** argv, std::string* error) {
    ServiceOptions o;
    std::vector<std::string> args(argv + 1, argv + argc);
    for (size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        std::string value;
        bool hasInlineValue = false;
        if (auto eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = arg.substr(eq + 1);
            arg = arg.substr(0, eq);
            hasInlineValue = true;
        }
        auto takeValue = [&]() -> bool {
            if (hasInlineValue) return true;
            if (i + 1 >= args.size()) {
                *error = arg + " needs a value";
                return false;
            }
            value = args[++i];
            return true;
        };
        if (arg == "--help" || arg == "-h") {
            o.help = true;
        } else if (arg == "--free-ports") {
            o.freePorts = true;
        } else if (arg == "--ports") {
            if (!takeValue() || !parsePorts(value, o.ports, error)) return std::nullopt;
        } else if (arg == "--write-config") {
            if (!takeValue()) return std::nullopt;
            o.writeConfig = value;
        } else if (arg == "--data-dir") {
            if (!takeValue()) return std::nullopt;
            o.dataDir = value;
        } else if (arg == "--announce-version") {
            if (!takeValue()) return std::nullopt;
            char* end = nullptr;
            std::strtod(value.c_str(), &end);
            if (value.empty() || *end != '\0') {
                *error = "--announce-version: not a version number: '" + value + "'";
                return std::nullopt;
            }
            o.announceVersion = value;
        } else {
            *error = "unknown argument '" + args[i] + "'";
            return std::nullopt;
        }
    }
    return o;
}

std::string ServiceOptions::usage() {
    return "usage: qinglan-service [--ports main=P,content=P,site=P,update=P,video=P] [--free-ports]\n"
           "                       [--write-config FILE] [--data-dir DIR] [--announce-version VER] [--help]\n"
           "\n"
           "Serves the school's web service on five loopback hosts (default ports 8701-8705) and prints\n"
           "'ready' once all of them listen. --free-ports lets the system choose the ports;\n"
           "--write-config writes a client configuration for the ports in use; --data-dir holds the\n"
           "service database (seeded from resources/service on first start); --announce-version sets\n"
           "the version announced by the version file (default 1.4).\n";
}

std::string ServiceOptions::resolvedDataDir() const {
    if (!dataDir.empty()) return dataDir;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) return std::string(xdg) + "/qinglan-service";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.local/share/qinglan-service";
}

}  // namespace qlsvc
