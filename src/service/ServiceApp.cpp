#include "ServiceApp.h"

#include <cstdlib>
#include <memory>
#include <sys/socket.h>

namespace qlsvc {

std::string resourcesDir() {
    if (const char* env = std::getenv("QINGLAN_SERVICE_RESOURCES"); env && *env) return env;
    return QINGLAN_SERVICE_DATA_DIR;
}

ServiceApp::ServiceApp(ServiceOptions options) : options_(std::move(options)) {}

ServiceApp::~ServiceApp() { stop(); }

std::unique_ptr<httplib::Server> ServiceApp::makeServer(HostKind host) {
    auto server = std::make_unique<httplib::Server>();
    // Offline news downloads send many requests at once, and slow-body faults hold a thread each.
    server->new_task_queue = [] { return new httplib::ThreadPool(24); };
    // The library's default options share ports (SO_REUSEPORT), which would let a second service
    // start on ports already in use; keep SO_REUSEADDR only. The listening socket is remembered to
    // raise its backlog after binding.
    auto socketFd = std::make_shared<int>(-1);
    server->set_socket_options([socketFd](int sock) {
        int yes = 1;
        ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        *socketFd = sock;
    });
    listenSockets_[server.get()] = socketFd;
    server->set_keep_alive_timeout(1);
    server->set_read_timeout(10);
    server->set_write_timeout(10);
    registerApiRoutes(*server, host, *ctx_);
    registerPageRoutes(*server, host, *ctx_);
    registerPictureRoutes(*server, host, *ctx_);
    registerVideoRoutes(*server, host, *ctx_);
    registerControlRoutes(*server, host, *ctx_);
    return server;
}

void ServiceApp::raiseBacklog(httplib::Server* server) {
    // A news download sends dozens of requests at once; the library listens with a backlog of 5.
    if (auto it = listenSockets_.find(server); it != listenSockets_.end() && *it->second >= 0) ::listen(*it->second, 128);
}

bool ServiceApp::bindAll(std::string* error) {
    std::string names[5];
    for (size_t i = 0; i < 5; ++i) {
        auto host = static_cast<HostKind>(i);
        // The content host is "localhost", which may resolve to ::1 first: listen there too, on the
        // same port. With free ports a port taken on ::1 only is rare; try a few others then.
        for (int attempt = 0; attempt < 10; ++attempt) {
            auto v4 = makeServer(host);
            int port = options_.freePorts ? v4->bind_to_any_port("127.0.0.1")
                                          : (v4->bind_to_port("127.0.0.1", options_.ports[i]) ? options_.ports[i] : -1);
            if (port <= 0) {
                *error = std::string("cannot listen on 127.0.0.1 for the ") + kHostNames[i] + " host" +
                         (options_.freePorts ? "" : " (port " + std::to_string(options_.ports[i]) + ")");
                return false;
            }
            std::unique_ptr<httplib::Server> v6;
            if (host == HostKind::Content) {
                v6 = makeServer(host);
                if (!v6->bind_to_port("::1", port)) {
                    v6.reset();
                    auto probe = makeServer(host);
                    bool ipv6Works = probe->bind_to_any_port("::1") > 0;
                    if (ipv6Works && options_.freePorts && attempt < 9) continue;  // another port pair
                }
            }
            raiseBacklog(v4.get());
            if (v6) raiseBacklog(v6.get());
            listeners_.push_back({host, std::move(v4), {}});
            if (v6) listeners_.push_back({host, std::move(v6), {}});
            names[i] = (host == HostKind::Content ? "localhost:" : "127.0.0.1:") + std::to_string(port);
            break;
        }
    }
    ctx_->hosts = {names[0], names[1], names[2], names[3], names[4]};
    return true;
}

bool ServiceApp::start(std::string* error) {
    db_ = Database::open(options_.resolvedDataDir(), resourcesDir(), error);
    if (!db_) return false;
    ctx_ = std::make_unique<ServiceContext>(*db_, options_.announceVersion);
    if (!bindAll(error)) return false;
    for (auto& l : listeners_) {
        httplib::Server* server = l.server.get();
        l.thread = std::thread([server] { server->listen_after_bind(); });
    }
    return true;
}

ql::AppConfig ServiceApp::clientConfig() const {
    ql::AppConfig config;
    config.hosts = ctx_->hosts;
    return config;
}

void ServiceApp::stop() {
    g_stopping = true;
    for (auto& l : listeners_) l.server->stop();
    for (auto& l : listeners_)
        if (l.thread.joinable()) l.thread.join();
    listeners_.clear();
}

}  // namespace qlsvc
