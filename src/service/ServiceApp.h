#pragma once
// The running service: five hosts (the content host also on ::1), their HTTP servers and threads.

#include "ServiceContext.h"
#include "ServiceOptions.h"

#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace qlsvc {

class ServiceApp {
public:
    explicit ServiceApp(ServiceOptions options);
    ~ServiceApp();

    // Opens the database, binds every host and starts serving. False with `error` on failure.
    bool start(std::string* error);
    // The client configuration for the ports in use.
    ql::AppConfig clientConfig() const;
    void stop();

private:
    struct Listener {
        HostKind host;
        std::unique_ptr<httplib::Server> server;
        std::thread thread;
    };
    std::unique_ptr<httplib::Server> makeServer(HostKind host);
    bool bindAll(std::string* error);
    void raiseBacklog(httplib::Server* server);

    ServiceOptions options_;
    std::unique_ptr<Database> db_;
    std::unique_ptr<ServiceContext> ctx_;
    std::vector<Listener> listeners_;
    std::map<httplib::Server*, std::shared_ptr<int>> listenSockets_;
};

// Where the seed files live: $QINGLAN_SERVICE_RESOURCES, else the source folder of the build.
std::string resourcesDir();

}  // namespace qlsvc
