// News answers: recommended news, headlines, column lists and articles.

#include "ServiceContext.h"

namespace qlsvc {

namespace {

constexpr int kPageSize = 10;

std::int64_t start(const ServiceContext& ctx) { return static_cast<std::int64_t>(ctx.startTime); }

// A page of a news query: "consult_list_arr" plus "next".
nlohmann::json newsPage(ServiceContext& ctx, const std::string& where, std::vector<SqlArg> args, long long page) {
    if (page < 1) page = 1;
    std::vector<SqlArg> all;
    all.reserve(args.size() + 3);
    all.emplace_back(start(ctx));
    for (auto& a : args) all.push_back(std::move(a));
    all.push_back(static_cast<std::int64_t>(kPageSize + 1));
    all.push_back(static_cast<std::int64_t>((page - 1) * kPageSize));
    auto rows = ctx.db.query("SELECT id, typeid, title, (? - age) AS pubdate FROM news WHERE " + where +
                                 " ORDER BY age, id LIMIT ? OFFSET ?",
                             all);
    bool more = rows.size() > kPageSize;
    if (more) rows.erase(rows.end() - 1);
    return {{"returncode", 1}, {"next", more ? 1 : 0}, {"consult_list_arr", listOrNull(std::move(rows))}};
}

nlohmann::json recommend(const Params& params, ServiceContext& ctx) {
    auto types = params.all("typeid[]");
    for (auto& t : params.all("typeid")) types.push_back(t);
    std::vector<SqlArg> args;
    std::string in;
    for (const auto& t : types) {
        char* end = nullptr;
        long long id = std::strtoll(t.c_str(), &end, 10);
        if (t.empty() || *end) continue;
        in += in.empty() ? "?" : ",?";
        args.push_back(static_cast<std::int64_t>(id));
    }
    if (in.empty()) return {{"returncode", 1}, {"consult_list_arr", "null"}};
    auto answer = newsPage(ctx, "typeid IN (" + in + ")", args, 1);
    answer.erase("next");  // the recommended list is a single page
    return answer;
}

nlohmann::json headline(const Params& params, ServiceContext& ctx) {
    long long type = params.integer("typeid", 2000);
    auto rows = ctx.db.query("SELECT id, typeid, title, litpic, (? - age) AS pubdate FROM news "
                             "WHERE typeid = ? AND litpic <> '' ORDER BY age, id LIMIT 5",
                             {start(ctx), static_cast<std::int64_t>(type)});
    return {{"returncode", 1}, {"headline_arr", listOrNull(std::move(rows))}};
}

nlohmann::json consult(const Params& params, ServiceContext& ctx) {
    long long type = params.integer("typeid", -1);
    return newsPage(ctx, "typeid = ?", {static_cast<std::int64_t>(type)}, params.integer("page", 1));
}

nlohmann::json article(const Params& params, ServiceContext& ctx) {
    long long id = params.integer("consultid", -1);
    auto rows = ctx.db.query("SELECT id, typeid, title, description, writer, litpic, body, (? - age) AS pubdate "
                             "FROM news WHERE id = ?",
                             {start(ctx), static_cast<std::int64_t>(id)});
    bool found = !rows.empty();
    return {{"returncode", found ? 1 : 0}, {"consult_article", listOrNull(std::move(rows))}};
}

}  // namespace

std::vector<ApiEndpoint> newsEndpoints() {
    return {
        {"consult_recommend.php", false, recommend},
        {"headline.php", false, headline},
        {"consult.php", false, consult},
        {"consult_article_mobStyle.php", false, article},
        {"consult_article.php", false, article},
    };
}

}  // namespace qlsvc
