// Control API of qinglan-service, for tests and scripts. Every host answers it; bodies are JSON.
//
//   POST /control/faults     add a fault switch: {"host":"main|content|site|update|video|*",
//                            "path":"<path prefix, empty = all>", "delayMs":N, "status500":true,
//                            "garbage":true, "dropAfterBytes":N, "slowBytesPerSec":N, "once":true,
//                            video host: "ignoreRange":true (200 with the whole file),
//                            "wrongStart":true (206 for another start), "wrongTotal":true
//                            (Content-Range with a wrong total), "force416":true (416 for a valid
//                            range), "cutAfterBytes":N with "declareLength":true|false (body ends
//                            after N bytes, with the full Content-Length declared or with none)}.
//                            The first matching switch applies; "once" switches are used up.
//   GET  /control/faults     the switches in force
//   POST /control/reset      removes every switch; restores the announced version and discount
//   POST /control/version    {"ver":"1.5","url2":"0|1","details":"...","url":"..."}: the version file
//   POST /control/discount   {"IFDiscount":"Yes|No","Discount":"50","Total":"500","details":"..."}
//   POST /control/paid       {"orderNum":"..."}: the order is paid, its owner gets its courses
//   GET  /control/records?kind=student|analytics   recorded study reports / analytics events
//   GET  /control/sha256?path=/file/<uid>/<vid>.mp4  {"path","size","sha256"} of a lesson file
//   POST /analytics/event    (main host) records the JSON body as an analytics event

#include "ServiceContext.h"
#include "VideoFiles.h"

#include <regex>

namespace qlsvc {

namespace {

void json(httplib::Response& res, const nlohmann::json& body, int status = 200) {
    res.status = status;
    res.set_content(body.dump(), "application/json; charset=utf-8");
}

std::optional<nlohmann::json> readJson(const httplib::Request& req, httplib::Response& res) {
    auto body = nlohmann::json::parse(req.body.empty() ? "{}" : req.body, nullptr, false);
    if (body.is_discarded() || !body.is_object()) {
        json(res, {{"ok", false}, {"error", "the body must be a JSON object"}}, 400);
        return std::nullopt;
    }
    return body;
}

}  // namespace

void registerControlRoutes(httplib::Server& server, HostKind host, ServiceContext& ctx) {
    server.Post("/control/faults", [&ctx](const httplib::Request& req, httplib::Response& res) {
        auto body = readJson(req, res);
        if (!body) return;
        std::string error;
        auto fault = Fault::fromJson(*body, &error);
        if (!fault) return json(res, {{"ok", false}, {"error", error}}, 400);
        ctx.faults.add(*fault);
        json(res, {{"ok", true}, {"faults", ctx.faults.list()}});
    });
    server.Get("/control/faults", [&ctx](const httplib::Request&, httplib::Response& res) {
        json(res, {{"ok", true}, {"faults", ctx.faults.list()}});
    });
    server.Post("/control/reset", [&ctx](const httplib::Request&, httplib::Response& res) {
        ctx.faults.reset();
        ctx.resetAnnouncements();
        json(res, {{"ok", true}});
    });
    server.Post("/control/version", [&ctx](const httplib::Request& req, httplib::Response& res) {
        auto body = readJson(req, res);
        if (!body) return;
        ctx.setVersion(*body);
        json(res, {{"ok", true}, {"version", ctx.versionResult()}});
    });
    server.Post("/control/discount", [&ctx](const httplib::Request& req, httplib::Response& res) {
        auto body = readJson(req, res);
        if (!body) return;
        ctx.setDiscount(*body);
        json(res, {{"ok", true}, {"discount", ctx.discountResult()}});
    });
    server.Post("/control/paid", [&ctx](const httplib::Request& req, httplib::Response& res) {
        auto body = readJson(req, res);
        if (!body) return;
        bool ok = markOrderPaid(ctx, body->value("orderNum", ""));
        json(res, {{"ok", ok}}, ok ? 200 : 404);
    });
    server.Get("/control/records", [&ctx](const httplib::Request& req, httplib::Response& res) {
        json(res, {{"ok", true}, {"records", ctx.records(req.get_param_value("kind"))}});
    });
    server.Get("/control/sha256", [&ctx](const httplib::Request& req, httplib::Response& res) {
        static const std::regex filePath(R"(/file/([^/]+)/([^/]+)\.mp4)");
        std::string path = req.get_param_value("path");
        std::smatch m;
        std::optional<std::uint64_t> size;
        if (std::regex_match(path, m, filePath)) size = videoSize(ctx, m[1], m[2]);
        if (!size) return json(res, {{"ok", false}, {"error", "no such file"}}, 404);
        json(res, {{"ok", true}, {"path", path}, {"size", *size}, {"sha256", videoSha256(m[1], m[2], *size)}});
    });
    if (host == HostKind::Main) {
        server.Post("/analytics/event", [&ctx](const httplib::Request& req, httplib::Response& res) {
            auto body = readJson(req, res);
            if (!body) return;
            ctx.record("analytics", *body);
            json(res, {{"ok", true}});
        });
    }
}

}  // namespace qlsvc
