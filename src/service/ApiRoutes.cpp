// Dispatch of the enciphered endpoints (GET /API/qlmobile/<file>?p=<hex>) and of the one plain
// endpoint beside them, the order discount.

#include "ServiceContext.h"

#include <map>

namespace qlsvc {

namespace {

const std::map<std::string, ApiEndpoint>& endpointTable() {
    static const std::map<std::string, ApiEndpoint> table = [] {
        std::map<std::string, ApiEndpoint> t;
        for (auto group : {newsEndpoints(), courseEndpoints(), accountEndpoints(), orderEndpoints()})
            for (auto& e : group) t.emplace(e.file, e);
        return t;
    }();
    return table;
}

}  // namespace

void registerApiRoutes(httplib::Server& server, HostKind host, ServiceContext& ctx) {
    server.Get(R"(/API/qlmobile/Discount\.php)",
               withFaults(ctx, host, [&ctx](const httplib::Request&, httplib::Response& res, const auto& fault) {
                   nlohmann::json answer = {{"VerResponse", {{"Results", nlohmann::json::array({ctx.discountResult()})}}}};
                   deliverBody(res, answer.dump(), "application/json; charset=utf-8", fault);
               }));
    server.Get(R"(/API/qlmobile/([A-Za-z0-9_]+\.php))",
               withFaults(ctx, host, [&ctx](const httplib::Request& req, httplib::Response& res, const auto& fault) {
                   const auto& table = endpointTable();
                   auto it = table.find(req.matches[1].str());
                   if (it == table.end()) {
                       res.status = 404;
                       res.set_content("<html><body><h1>404 Not Found</h1></body></html>", "text/html");
                       return;
                   }
                   nlohmann::json answer;
                   auto text = openParameterText(req.get_param_value("p"));
                   if (!text) {
                       answer = {{"returncode", -100}, {"msg", "参数无法解密"}};
                   } else {
                       Params params = Params::parse(*text, !it->second.rawParams);
                       try {
                           answer = it->second.handler(params, ctx);
                       } catch (const std::exception& e) {
                           answer = {{"returncode", -99}, {"msg", "服务器内部错误"}};
                       }
                   }
                   deliverBody(res, sealAnswer(answer), "text/html; charset=utf-8", fault);
               }));
}

}  // namespace qlsvc
