#include "platform/Reachability.h"

#include <cerrno>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace ql {

namespace {

bool isPort(const std::string& s) {
    if (s.empty() || s.size() > 5 || s.find_first_not_of("0123456789") != std::string::npos) return false;
    return std::stoi(s) <= 65535;
}

// Closes every socket it holds.
struct Probes {
    std::vector<pollfd> fds;
    ~Probes() {
        for (auto& p : fds) ::close(p.fd);
    }
};

}  // namespace

bool Reachability::splitHostPort(const std::string& hostPort, std::string& host, std::string& port) {
    port = "80";
    if (hostPort.starts_with("[")) {
        auto close = hostPort.find(']');
        if (close == std::string::npos) return false;
        host = hostPort.substr(1, close - 1);
        std::string rest = hostPort.substr(close + 1);
        if (!rest.empty()) {
            if (rest[0] != ':') return false;
            port = rest.substr(1);
        }
    } else if (auto colon = hostPort.find(':'); colon != std::string::npos && hostPort.find(':', colon + 1) == std::string::npos) {
        host = hostPort.substr(0, colon);
        port = hostPort.substr(colon + 1);
    } else {
        host = hostPort;  // a plain name, or a bare IPv6 address
    }
    return !host.empty() && isPort(port);
}

std::string Reachability::hostPortOfUrl(const std::string& url) {
    auto schemeEnd = url.find("://");
    if (schemeEnd == std::string::npos) return {};
    auto start = schemeEnd + 3;
    auto end = url.find_first_of("/?#", start);
    std::string authority = url.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (auto at = authority.rfind('@'); at != std::string::npos) authority.erase(0, at + 1);
    if (authority.empty()) return {};
    auto lastColon = authority.rfind(':');
    auto closeBracket = authority.rfind(']');
    bool hasPort = lastColon != std::string::npos && (closeBracket == std::string::npos || lastColon > closeBracket) &&
                   (authority[0] == '[' || authority.find(':') == lastColon);
    if (hasPort) return authority;
    return authority + (url.compare(0, schemeEnd, "https") == 0 ? ":443" : ":80");
}

bool Reachability::isUrlHostReachable(const std::string& url, std::chrono::milliseconds timeout) {
    auto hostPort = hostPortOfUrl(url);
    return !hostPort.empty() && isReachable(hostPort, timeout);
}

bool Reachability::isReachable(const std::string& hostPort, std::chrono::milliseconds timeout) {
    std::string host, port;
    if (!splitHostPort(hostPort, host, port)) return false;
    const auto deadline = std::chrono::steady_clock::now() + timeout;

    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* list = nullptr;
    if (::getaddrinfo(host.c_str(), port.c_str(), &hints, &list) != 0 || !list) return false;

    // Every address is tried at once, so one that does not answer cannot hide one that does.
    Probes probes;
    for (addrinfo* ai = list; ai; ai = ai->ai_next) {
        int fd = ::socket(ai->ai_family, ai->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, ai->ai_protocol);
        if (fd < 0) continue;
        if (::connect(fd, ai->ai_addr, ai->ai_addrlen) == 0) {
            ::close(fd);
            ::freeaddrinfo(list);
            return true;
        }
        if (errno == EINPROGRESS) probes.fds.push_back({fd, POLLOUT, 0});
        else ::close(fd);
    }
    ::freeaddrinfo(list);

    while (!probes.fds.empty()) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        int n = ::poll(probes.fds.data(), probes.fds.size(), static_cast<int>(left.count()));
        if (n < 0 && errno != EINTR) return false;
        for (size_t i = 0; i < probes.fds.size();) {
            auto& p = probes.fds[i];
            if (p.revents == 0) {
                ++i;
                continue;
            }
            int err = 0;
            socklen_t len = sizeof err;
            if (::getsockopt(p.fd, SOL_SOCKET, SO_ERROR, &err, &len) == 0 && err == 0) return true;
            ::close(p.fd);
            probes.fds.erase(probes.fds.begin() + static_cast<long>(i));
        }
    }
    return false;
}

}  // namespace ql
