#include "ServiceContext.h"

#include <chrono>

namespace qlsvc {

ServiceContext::ServiceContext(Database& database, std::string announceVersion)
    : db(database), startTime(std::time(nullptr)), defaultVersion_(std::move(announceVersion)) {
    resetAnnouncements();
}

std::string ServiceContext::baseUrl(HostKind host) const {
    switch (host) {
    case HostKind::Main: return "http://" + hosts.main;
    case HostKind::Content: return "http://" + hosts.content;
    case HostKind::Site: return "http://" + hosts.site;
    case HostKind::Update: return "http://" + hosts.update;
    case HostKind::Video: return "http://" + hosts.video;
    }
    return {};
}

void ServiceContext::resetAnnouncements() {
    std::lock_guard lock(mutex_);
    version_ = {{"Ver", defaultVersion_},
                {"url", ""},  // filled in on reading, once the update host's port is known
                {"url2", "0"},
                {"details", "青岚网校 " + defaultVersion_ +
                                " 版更新内容：\n1. 资讯栏目新增省份频道订阅；\n2. 课程下载支持断点续传；\n3. 修复部分机型播放卡顿的问题。"}};
    discount_ = {{"IFDiscount", "Yes"},
                 {"Discount", "50"},
                 {"Total", "500"},
                 {"details", "春季备考季：订单满500元立减50元"}};
}

nlohmann::json ServiceContext::versionResult() const {
    std::lock_guard lock(mutex_);
    nlohmann::json v = version_;
    if (v["url"].get<std::string>().empty()) v["url"] = baseUrl(HostKind::Update) + "/download/IOS/index.html";
    return v;
}

void ServiceContext::setVersion(const nlohmann::json& changes) {
    std::lock_guard lock(mutex_);
    for (const char* key : {"Ver", "url", "url2", "details"}) {
        if (changes.contains(key)) version_[key] = changes[key];
    }
    if (changes.contains("ver")) version_["Ver"] = changes["ver"];
}

nlohmann::json ServiceContext::discountResult() const {
    std::lock_guard lock(mutex_);
    return discount_;
}

void ServiceContext::setDiscount(const nlohmann::json& changes) {
    std::lock_guard lock(mutex_);
    for (const char* key : {"IFDiscount", "Discount", "Total", "details"}) {
        if (changes.contains(key)) discount_[key] = changes[key];
    }
}

void ServiceContext::record(const std::string& kind, nlohmann::json data) {
    db.execute("INSERT INTO records(kind, at, data) VALUES(?, ?, ?)",
               {kind, static_cast<std::int64_t>(std::time(nullptr)), data.dump()});
}

nlohmann::json ServiceContext::records(const std::string& kind) const {
    nlohmann::json out = nlohmann::json::array();
    auto rows = kind.empty() ? db.query("SELECT id, kind, at, data FROM records ORDER BY id", {}, true)
                             : db.query("SELECT id, kind, at, data FROM records WHERE kind = ? ORDER BY id", {kind}, true);
    for (auto& row : rows) {
        row["data"] = nlohmann::json::parse(row["data"].get<std::string>(), nullptr, false);
        out.push_back(std::move(row));
    }
    return out;
}

httplib::Server::Handler withFaults(ServiceContext& ctx, HostKind host, FaultAwareHandler handler) {
    return [&ctx, host, handler = std::move(handler)](const httplib::Request& req, httplib::Response& res) {
        auto fault = ctx.faults.take(kHostNames[static_cast<size_t>(host)], req.path);
        if (applyAnswerFaults(res, fault)) return;
        handler(req, res, fault);
    };
}

}  // namespace qlsvc
