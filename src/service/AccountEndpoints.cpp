// Accounts: login, registration and the account data of the order form.

#include "ServiceContext.h"
#include "platform/Sha256.h"


#include <regex>

namespace qlsvc {

namespace {

nlohmann::json error(int code) { return {{"error", {{"returncode", code}}}}; }

size_t characters(const std::string& utf8) {
    size_t n = 0;
    for (unsigned char c : utf8) n += (c & 0xC0) != 0x80;
    return n;
}

nlohmann::json login(const Params& params, ServiceContext& ctx) {
    std::string name = params.last("username"), password = params.last("password");
    if (name.empty() || password.empty()) return error(-1);
    auto row = ctx.db.queryOne("SELECT id, username, password_hash FROM account WHERE username = ?", {name});
    if (!row || (*row)["password_hash"] != passwordHash(password)) return error(-2);
    return {{"returncode", 1}, {"user", {{"userid", (*row)["id"]}, {"username", (*row)["username"]}}}};
}

nlohmann::json registration(const Params& params, ServiceContext& ctx) {
    std::string name = params.last("username"), password = params.last("password");
    std::string email = params.last("useremail"), repeated = params.last("repassword");
    static const std::regex emailPattern(R"([A-Za-z0-9._%+\-]+@[A-Za-z0-9\-]+(\.[A-Za-z0-9\-]+)*\.[A-Za-z]{2,})");
    if (name.empty() || password.empty() || email.empty()) return error(-1);
    if (characters(name) < 6) return error(-2);
    if (!std::regex_match(email, emailPattern)) return error(-3);
    if (password != repeated) return error(-4);
    std::lock_guard lock(ctx.db.mutex());
    if (ctx.db.queryOne("SELECT 1 FROM account WHERE username = ?", {name})) return error(-5);
    if (ctx.db.queryOne("SELECT 1 FROM account WHERE lower(email) = lower(?)", {email})) return error(-6);
    if (ctx.db.execute("INSERT INTO account(username, password_hash, email, points) VALUES(?, ?, ?, 0)",
                       {name, passwordHash(password), email}) != 1)
        return error(0);
    return {{"returncode", 1}, {"user", {{"userid", std::to_string(ctx.db.lastInsertId())}, {"username", name}}}};
}

nlohmann::json account(const Params& params, ServiceContext& ctx) {
    auto rows = ctx.db.query("SELECT id AS Userid, realname AS UserName, email AS UserEmail, address AS UserAddRess, "
                             "zipcode AS ZipCode, mobile AS UserMobile, telephone AS UserTelePhone, points AS Userpoint, "
                             "face FROM account WHERE username = ?",
                             {params.last("cl_userName")});
    for (auto& r : rows) {
        r["Userpoint"] = std::stoll(r["Userpoint"].get<std::string>());
        r["UserFace"] = r["face"].is_string() ? ctx.baseUrl(HostKind::Site) + r["face"].get<std::string>() : "";
        r.erase("face");
        for (const char* key : {"UserName", "UserEmail", "UserAddRess", "ZipCode", "UserMobile", "UserTelePhone"})
            if (r[key].is_null()) r[key] = "";
    }
    bool found = !rows.empty();
    return {{"returncode", found ? 1 : 0}, {"account_list", listOrNull(std::move(rows))}};
}

}  // namespace

std::string passwordHash(const std::string& password) { return ql::Sha256::of("qinglan:" + password); }

std::vector<ApiEndpoint> accountEndpoints() {
    return {
        {"login.php", true, login},
        {"reg.php", true, registration},
        {"account.php", false, account},
    };
}

}  // namespace qlsvc
