#include "account/Account.h"

#include "HTTP/Endpoints.h"
#include "HTTP/Records.h"
#include "download/SingletonDownloadEngine.h"
#include "platform/Preferences.h"
#include "protocol/Envelope.h"
#include "protocol/LoginState.h"

namespace ql {

namespace {

void storeTyped(const std::string& account, const std::string& password) {
    auto& prefs = Preferences::standard();
    prefs.setObject("userid", account);
    prefs.setObject("username", password);
}

// The answer object, or an empty one when the body cannot be opened or parsed.
nlohmann::json openAnswer(std::string_view body) {
    auto text = Envelope::open(body);
    if (!text) return nlohmann::json::object();
    auto answer = nlohmann::json::parse(*text, nullptr, false);
    return answer.is_object() ? answer : nlohmann::json::object();
}

long long errorCode(const nlohmann::json& answer) {
    auto error = answer.find("error");
    if (error == answer.end() || !error->is_object()) return 0;
    auto code = error->find("returncode");
    return code == error->end() ? 0 : integerOf(*code);
}

}  // namespace

std::optional<AccountAlert> Account::checkLoginFields(const std::string& account, const std::string& password) {
    if (account.empty() || password.empty()) return AccountAlert{"用户名或密码不能为空!"};
    return std::nullopt;
}

std::string Account::prepareLogin(const std::string& account, const std::string& password) {
    storeTyped(account, password);
    auto& prefs = Preferences::standard();
    prefs.synchronize();
    return Endpoints::apiUrlRaw(Host::Main, "login.php",
                                Endpoints::loginParams(prefs.stringForKey("userid"), prefs.stringForKey("username")));
}

Account::LoginOutcome Account::applyLoginAnswer(std::string_view body, const std::string& account,
                                                const std::string& password) {
    auto answer = openAnswer(body);
    storeTyped(account, password);
    auto& prefs = Preferences::standard();
    auto user = answer.find("user");
    if (user == answer.end() || !user->is_object()) {
        switch (errorCode(answer)) {
            case -2:
                LoginState::reset();
                return {LoginResult::Rejected, AccountAlert{"用户名或密码不正确,请重试!"}};
            case -1:
                LoginState::reset();
                return {LoginResult::Rejected, AccountAlert{"用户名或密码不能为空!"}};
            default:
                prefs.synchronize();
                return {LoginResult::Ignored, std::nullopt};
        }
    }
    prefs.setObject("userid", account);
    auto id = user->find("userid");
    // "%@" of the id: a number is stored as its decimal text.
    prefs.setObject("True_userid", id == user->end() ? std::string() : textOf(*id));
    prefs.synchronize();
    prefs.setObject("username", password);
    prefs.synchronize();
    restoreDownloads();
    return {LoginResult::LoggedIn, std::nullopt};
}

std::string Account::prepareRegistration(const RegistrationForm& form) {
    auto& prefs = Preferences::standard();
    prefs.setObject("username", form.username);
    prefs.setObject("password", form.password);
    prefs.setObject("useremail", form.useremail);
    prefs.setObject("repassword", form.repassword);
    prefs.synchronize();
    return Endpoints::apiUrlRaw(Host::Main, "reg.php",
                                Endpoints::regParams(form.username, form.password, form.useremail, form.repassword));
}

Account::RegistrationOutcome Account::applyRegistrationAnswer(std::string_view body) {
    auto answer = openAnswer(body);
    if (answer.contains("user")) return {true, AccountAlert{"注册成功，已转入首页!"}};
    switch (errorCode(answer)) {
        case -1: return {false, AccountAlert{"用户名、密码或电子邮箱 不能为空!"}};
        case -2: return {false, AccountAlert{"用户名长度不能小于六位,请重试!"}};
        case -3: return {false, AccountAlert{"邮件格式不正确,请重试!"}};
        case -4: return {false, AccountAlert{"两次输入密码不一致,请重试!"}};
        case -5: return {false, AccountAlert{"用户名已存在，请输入新的用户名,请重试!"}};
        case -6: return {false, AccountAlert{"您输入的邮箱已存在，请输入新的邮箱名,请重试!"}};
        default: return {false, std::nullopt};
    }
}

void Account::restoreDownloads() {
    auto& queue = SingletonDownloadEngine::sharedSingletonDownloadEngine();
    queue.rebuild();
    queue.init();
}

void Account::logout() {
    auto& queue = SingletonDownloadEngine::sharedSingletonDownloadEngine();
    for (const auto& row : queue.engineArray()) row->pause();
    LoginState::reset();
    queue.setEngineArray({});
}

HttpRequestSpec Account::requestFor(const std::string& url) {
    HttpRequestSpec request;
    request.url = url;
    request.useResponseCache = false;
    return request;
}

}  // namespace ql
