// Course answers: open lessons, my courses and their lessons, study reports, the mall's
// catalogue search, keyword search and course details.

#include "ServiceContext.h"
#include "VideoFiles.h"

namespace qlsvc {

namespace {

constexpr int kPageSize = 10;

// Keeps at most one page of `rows` (fetched with one row extra) and tells whether more exist.
bool trimPage(nlohmann::json& rows) {
    bool more = rows.size() > kPageSize;
    if (more) rows.erase(rows.end() - 1);
    return more;
}

std::vector<SqlArg> pageArgs(const Params& params) {
    long long page = std::max(1LL, params.integer("page", 1));
    return {static_cast<std::int64_t>(kPageSize + 1), static_cast<std::int64_t>((page - 1) * kPageSize)};
}

std::string picture(ServiceContext& ctx, const std::string& path) { return ctx.baseUrl(HostKind::Site) + path; }

// Open lessons: the video address is built from the stored ids and layout; none when the lesson
// has no video yet.
nlohmann::json openLessons(ServiceContext& ctx, long long kind, std::int64_t limit, std::int64_t offset) {
    auto rows = ctx.db.query("SELECT id, title, teacher, timelength, pingfen, uid, vid, layout FROM openclass "
                             "WHERE kind = ? ORDER BY seq, id LIMIT ? OFFSET ?",
                             {static_cast<std::int64_t>(kind), limit, offset});
    nlohmann::json out = nlohmann::json::array();
    for (auto& r : rows) {
        std::string url;
        if (r["uid"].is_string() && r["vid"].is_string())
            url = lessonAddress(std::stoi(r["layout"].get<std::string>()), r["uid"], r["vid"]);
        out.push_back({{"netopenclassid", r["id"]},
                       {"netopenclassimg", picture(ctx, "/uploads/openclass/" + r["id"].get<std::string>() + ".png")},
                       {"netopenclasstitle", r["title"]},
                       {"netopenvideourl", url},
                       {"pingfen", r["pingfen"]},
                       {"teachername", r["teacher"]},
                       {"timelength", r["timelength"]}});
    }
    return out;
}

nlohmann::json openclassList(const Params& params, ServiceContext& ctx) {
    auto args = pageArgs(params);
    auto rows = openLessons(ctx, params.integer("openclassid", -1), std::get<std::int64_t>(args[0]),
                            std::get<std::int64_t>(args[1]));
    bool more = trimPage(rows);
    return {{"returncode", 1}, {"next", more ? 1 : 0}, {"openclass_list", listOrNull(std::move(rows))}};
}

nlohmann::json openclassTeaser(const Params& params, ServiceContext& ctx) {
    auto rows = openLessons(ctx, params.integer("openclassid", 1), 4, 0);
    return {{"returncode", 1}, {"openclass_list_1", listOrNull(std::move(rows))}};
}

// The courses a user owns: bought ones, and those inside a bought package.
bool ownsCourse(ServiceContext& ctx, long long userId, long long courseId) {
    return ctx.db.queryOne("SELECT 1 FROM purchase WHERE account_id = ?1 AND course_id = ?2 "
                           "UNION SELECT 1 FROM purchase p JOIN package_item i ON i.package_id = p.course_id "
                           "WHERE p.account_id = ?1 AND i.course_id = ?2",
                           {static_cast<std::int64_t>(userId), static_cast<std::int64_t>(courseId)})
        .has_value();
}

nlohmann::json myClasses(const Params& params, ServiceContext& ctx) {
    long long userId = params.integer("userid", -1);
    auto rows = ctx.db.query(
        "SELECT c.id AS classid, c.title AS classtitle, p.learning AS learning, a.id AS userid, "
        "a.username AS username, c.teacher_names AS teacher, c.is_package AS present, "
        "c.lesson_count AS timelength FROM purchase p JOIN course_summary c ON c.id = p.course_id JOIN account a ON a.id = p.account_id "
        "WHERE p.account_id = ? ORDER BY p.seq, c.id",
        {static_cast<std::int64_t>(userId)});
    for (auto& r : rows) r["classimg"] = picture(ctx, "/uploads/course/" + r["classid"].get<std::string>() + ".png");
    return {{"returncode", 1}, {"classlist", listOrNull(std::move(rows))}};
}

nlohmann::json lessonList(const Params& params, ServiceContext& ctx) {
    long long userId = params.integer("userid", -1);
    long long courseId = params.integer("classid", -1);
    auto course = ctx.db.queryOne("SELECT is_package FROM course WHERE id = ?", {static_cast<std::int64_t>(courseId)});
    if (!course || !ownsCourse(ctx, userId, courseId))
        return {{"returncode", 0}, {"next", 0}, {"lessonlist", "null"}, {"msg", "您还没有购买该课程"}};
    std::vector<SqlArg> args = {static_cast<std::int64_t>(userId), static_cast<std::int64_t>(courseId)};
    for (auto& a : pageArgs(params)) args.push_back(a);
    if ((*course)["is_package"] == "1") {
        auto rows = ctx.db.query(
            "SELECT c.id AS classid, c.title AS classtitle, ?1 AS userid, c.teacher_names AS teacher, "
            "(SELECT count(*) FROM lesson l WHERE l.course_id = c.id) AS timelength "
            "FROM package_item i JOIN course c ON c.id = i.course_id WHERE i.package_id = ?2 "
            "ORDER BY i.seq LIMIT ?3 OFFSET ?4",
            args);
        bool more = trimPage(rows);
        return {{"returncode", 1}, {"next", more ? 1 : 0}, {"pactclass", listOrNull(std::move(rows))}};
    }
    auto rows = ctx.db.query(
        "SELECT l.id AS lessionsid, l.title AS lessionstitle, l.teacher_id AS teacherid, t.name AS teachername, "
        "l.minutes AS timelength, l.uid, l.vid, l.layout FROM lesson l LEFT JOIN teacher t ON t.id = l.teacher_id "
        "WHERE ?1 = ?1 AND l.course_id = ?2 ORDER BY l.seq, l.id LIMIT ?3 OFFSET ?4",
        args);
    bool more = trimPage(rows);
    for (auto& r : rows) {
        std::string uid = r["uid"], vid = r["vid"];
        r["fileurl"] = lessonAddress(std::stoi(r["layout"].get<std::string>()), uid, vid);
        r["downLoadurl"] = ctx.baseUrl(HostKind::Video) + "/file/" + uid + "/" + vid + ".mp4";
        r.erase("uid");
        r.erase("vid");
        r.erase("layout");
    }
    return {{"returncode", 1}, {"next", more ? 1 : 0}, {"lessonlist", listOrNull(std::move(rows))}};
}

nlohmann::json studyReport(const Params& params, ServiceContext& ctx) {
    ctx.record("student", {{"username", params.last("username")},
                           {"lessonid", params.last("lessonid")},
                           {"title", params.last("title")}});
    return {{"returncode", 1}};
}

// Course summaries of the mall lists.
const char* kSummaryColumns = "SELECT id AS NetclassId, title AS Title, lesson_count AS TimeLength, price AS Price, "
                              "actual_price AS ActualPrice FROM course_summary ";

nlohmann::json summaries(ServiceContext& ctx, const std::string& where, std::vector<SqlArg> args, const Params& params,
                         const char* key) {
    for (auto& a : pageArgs(params)) args.push_back(a);
    auto rows = ctx.db.query(std::string(kSummaryColumns) + where + " ORDER BY seq, id LIMIT ? OFFSET ?", args);
    bool more = trimPage(rows);
    for (auto& r : rows) r["TypeName"] = picture(ctx, "/uploads/course/" + r["NetclassId"].get<std::string>() + ".png");
    return {{"returncode", 1}, {"next", more ? 1 : 0}, {key, listOrNull(std::move(rows))}};
}

nlohmann::json classificationSearch(const Params& params, ServiceContext& ctx) {
    std::int64_t category = params.integer("CategoryId", -1);
    std::int64_t province = params.integer("ProvinceId", -1);
    std::int64_t subject = params.integer("SubjectName", 0);
    return summaries(ctx, "WHERE category_id = ? AND province_id = ? AND (? = 0 OR subject = ?)",
                     {category, province, subject, subject}, params, "Market_classlist");
}

nlohmann::json keywordSearch(const Params& params, ServiceContext& ctx) {
    std::string keyword = params.last("keyword");
    if (keyword.empty()) return {{"returncode", 1}, {"next", 0}, {"keyword_classlist", "null"}};
    std::string like = "%" + keyword + "%";
    return summaries(ctx, "WHERE title LIKE ? OR teacher_names LIKE ? OR CAST(id AS TEXT) = ?", {like, like, keyword},
                     params, "keyword_classlist");
}

nlohmann::json classDetails(const Params& params, ServiceContext& ctx) {
    auto rows = ctx.db.query(
        "SELECT id AS NetclassId, title AS Title, subject AS SubjectName, lesson_count AS TimeLength, price AS Price, "
        "actual_price AS ActualPrice, features AS netclassext, services AS netclassext_fw, teacher_html AS teacher "
        "FROM course_summary WHERE id = ?",
        {static_cast<std::int64_t>(params.integer("NetclassId", -1))});
    for (auto& r : rows) r["TypeName"] = picture(ctx, "/uploads/course/" + r["NetclassId"].get<std::string>() + ".png");
    bool found = !rows.empty();
    return {{"returncode", found ? 1 : 0}, {"classdel", listOrNull(std::move(rows))}};
}

}  // namespace

std::vector<ApiEndpoint> courseEndpoints() {
    return {
        {"openclass_list.php", false, openclassList},
        {"openclass_list_1.php", false, openclassTeaser},
        {"class.php", false, myClasses},
        {"lessonlist.php", false, lessonList},
        {"student.php", false, studyReport},
        {"Classification_Search.php", false, classificationSearch},
        {"Keyword_Search.php", false, keywordSearch},
        {"Class_Details.php", false, classDetails},
    };
}

}  // namespace qlsvc
