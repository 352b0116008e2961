#pragma once
// What every request handler of the service shares: the database, the fault switches, the host
// names in use, the announced version and discount, and the records kept for tests.

#include "Database.h"
#include "Faults.h"
#include "ServiceOptions.h"
#include "Wire.h"
#include "platform/AppConfig.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <ctime>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace qlsvc {

class ServiceContext {
public:
    ServiceContext(Database& db, std::string announceVersion);

    Database& db;
    FaultRegistry faults;
    ql::Hosts hosts;              // "host:port" of each host, as written into the client configuration
    const std::time_t startTime;  // publication times are stored as ages relative to this moment

    std::string baseUrl(HostKind host) const;  // "http://host:port"

    // The version file's one result and the order discount; both changeable at run time.
    nlohmann::json versionResult() const;
    void setVersion(const nlohmann::json& changes);
    nlohmann::json discountResult() const;
    void setDiscount(const nlohmann::json& changes);
    void resetAnnouncements();

    // Study reports, analytics events and other things tests want to see afterwards.
    void record(const std::string& kind, nlohmann::json data);
    nlohmann::json records(const std::string& kind) const;

private:
    mutable std::mutex mutex_;
    std::string defaultVersion_;
    nlohmann::json version_;
    nlohmann::json discount_;
};

// One enciphered endpoint: GET /API/qlmobile/<file>?p=<hex>. The handler returns the answer
// object; the dispatcher seals it. `rawParams`: the parameter text was enciphered without
// escaping (login, registration), so it is not percent-decoded.
struct ApiEndpoint {
    std::string file;
    bool rawParams = false;
    std::function<nlohmann::json(const Params&, ServiceContext&)> handler;
};

std::vector<ApiEndpoint> newsEndpoints();
std::vector<ApiEndpoint> courseEndpoints();
std::vector<ApiEndpoint> accountEndpoints();
std::vector<ApiEndpoint> orderEndpoints();

// Wraps a handler with the fault switches of `host`; the handler delivers its body with
// deliverBody so that body faults apply.
using FaultAwareHandler =
    std::function<void(const httplib::Request&, httplib::Response&, const std::optional<Fault>&)>;
httplib::Server::Handler withFaults(ServiceContext& ctx, HostKind host, FaultAwareHandler handler);

// Stored form of a password: SHA-256 (hex) of "qinglan:" followed by the password.
std::string passwordHash(const std::string& password);

// Marks an order paid and gives its owner the courses; false when there is no such order.
bool markOrderPaid(ServiceContext& ctx, const std::string& orderNum);

// Size of a lesson file on the video host; nothing when there is no such file.
std::optional<std::uint64_t> videoSize(ServiceContext& ctx, const std::string& uid, const std::string& vid);

// Route groups, each registered on the hosts that serve it.
void registerApiRoutes(httplib::Server& server, HostKind host, ServiceContext& ctx);
void registerPageRoutes(httplib::Server& server, HostKind host, ServiceContext& ctx);
void registerPictureRoutes(httplib::Server& server, HostKind host, ServiceContext& ctx);
void registerVideoRoutes(httplib::Server& server, HostKind host, ServiceContext& ctx);
void registerControlRoutes(httplib::Server& server, HostKind host, ServiceContext& ctx);

}  // namespace qlsvc
