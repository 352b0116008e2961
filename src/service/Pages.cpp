// Plain pages: the public article page on the main host, and the version file with its download
// page on the update host.

#include "ServiceContext.h"

namespace qlsvc {

namespace {

std::string htmlEscape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out.push_back(c);
        }
    }
    return out;
}

const char* kNotFound = "<html><head><meta charset=\"utf-8\"><title>页面不存在</title></head>"
                        "<body><h1>404 页面不存在</h1><p>您访问的页面已删除或地址有误。</p></body></html>";

void articlePage(ServiceContext& ctx, const httplib::Request& req, httplib::Response& res,
                 const std::optional<Fault>& fault) {
    char* end = nullptr;
    std::string aid = req.get_param_value("aid");
    long long id = std::strtoll(aid.c_str(), &end, 10);
    auto row = aid.empty() || *end ? std::nullopt
                                   : ctx.db.queryOne("SELECT n.title, n.writer, n.body, n.description, (? - n.age) AS pubdate, "
                                                     "c.name AS column_name FROM news n LEFT JOIN news_column c ON c.typeid = n.typeid "
                                                     "WHERE n.id = ?",
                                                     {static_cast<std::int64_t>(ctx.startTime), static_cast<std::int64_t>(id)});
    if (!row) {
        res.status = 404;
        deliverBody(res, kNotFound, "text/html; charset=utf-8", fault);
        return;
    }
    std::time_t when = static_cast<std::time_t>(std::stoll((*row)["pubdate"].get<std::string>()));
    std::tm tm{};
    localtime_r(&when, &tm);
    char date[32];
    std::strftime(date, sizeof date, "%Y-%m-%d %H:%M", &tm);
    std::string body = (*row)["body"];
    // The mobile answers keep the page-break marker of the editor; the web page does not show it.
    for (size_t p; (p = body.find("#p#副标题#e#")) != std::string::npos;) body.erase(p, std::string("#p#副标题#e#").size());
    std::string column = (*row)["column_name"].is_string() ? (*row)["column_name"].get<std::string>() : "资讯";
    std::string html =
        "<!DOCTYPE html>\n<html lang=\"zh-CN\"><head><meta charset=\"utf-8\">"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
        "<meta name=\"description\" content=\"" + htmlEscape((*row)["description"]) + "\">"
        "<title>" + htmlEscape((*row)["title"]) + " - 青岚网校</title>"
        "<style>body{font-family:sans-serif;max-width:760px;margin:0 auto;padding:12px;line-height:1.7;color:#333}"
        "h1{font-size:22px}.meta{color:#999;font-size:13px}table{border-collapse:collapse}"
        "td,th{border:1px solid #ccc;padding:4px 8px}img{max-width:100%}</style></head><body>"
        "<p class=\"meta\">青岚网校 &gt; 公考资讯 &gt; " + htmlEscape(column) + "</p>"
        "<h1>" + htmlEscape((*row)["title"]) + "</h1>"
        "<p class=\"meta\">发布时间：" + date + "　来源：" + htmlEscape((*row)["writer"]) + "</p>"
        "<div class=\"content\">" + body + "</div>"
        "<hr><p class=\"meta\">青岚网校 · 公考培训专家　客服热线 400-806-2026</p></body></html>";
    deliverBody(res, html, "text/html; charset=utf-8", fault);
}

}  // namespace

void registerPageRoutes(httplib::Server& server, HostKind host, ServiceContext& ctx) {
    if (host == HostKind::Main || host == HostKind::Content) {
        server.Get("/qlnews/plus/view.php",
                   withFaults(ctx, host, [&ctx](const auto& req, auto& res, const auto& fault) { articlePage(ctx, req, res, fault); }));
    }
    if (host == HostKind::Update) {
        server.Get("/download/IOS/VD_API_ver_1_4.txt",
                   withFaults(ctx, host, [&ctx](const httplib::Request&, httplib::Response& res, const auto& fault) {
                       nlohmann::json answer = {{"VerResponse", {{"Results", nlohmann::json::array({ctx.versionResult()})}}}};
                       deliverBody(res, answer.dump(), "text/plain; charset=utf-8", fault);
                   }));
        server.Get("/download/IOS/index.html",
                   withFaults(ctx, host, [&ctx](const httplib::Request&, httplib::Response& res, const auto& fault) {
                       auto v = ctx.versionResult();
                       std::string html = "<!DOCTYPE html><html lang=\"zh-CN\"><head><meta charset=\"utf-8\">"
                                          "<title>青岚网校客户端下载</title></head><body><h1>青岚网校 手机客户端</h1>"
                                          "<p>最新版本：" + htmlEscape(v["Ver"].dump()) + "</p><pre>" +
                                          htmlEscape(v["details"].is_string() ? v["details"].get<std::string>() : "") +
                                          "</pre></body></html>";
                       deliverBody(res, html, "text/html; charset=utf-8", fault);
                   }));
    }
}

}  // namespace qlsvc
