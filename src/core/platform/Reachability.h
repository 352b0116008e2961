#pragma once
// Whether a host can be reached right now: a short TCP connect probe, nothing remembered between
// calls. Blocks the caller for at most the time-out, so keep it off the main thread.

#include <chrono>
#include <string>

namespace ql {

class Reachability {
public:
    static constexpr std::chrono::milliseconds kDefaultTimeout{300};

    // "host:port", "[v6]:port" or "host" (port 80). True when a connection to any of the host's
    // addresses (IPv4 and IPv6) succeeds within the time-out.
    static bool isReachable(const std::string& hostPort, std::chrono::milliseconds timeout = kDefaultTimeout);

    // The host of "scheme://[user@]host[:port]/..." (port 80 when not given); false for a URL without a host.
    static bool isUrlHostReachable(const std::string& url, std::chrono::milliseconds timeout = kDefaultTimeout);

    // Splits "host:port" / "[v6]:port" / "host"; false when the text is not of that shape.
    static bool splitHostPort(const std::string& hostPort, std::string& host, std::string& port);
    // "host:port" of a URL, with the default port 80; empty when the URL has no host.
    static std::string hostPortOfUrl(const std::string& url);
};

}  // namespace ql
