#include "app/VersionCheck.h"

#include "HTTP/Endpoints.h"
#include "platform/FileUtil.h"
#include "platform/NetworkActivity.h"
#include "platform/Resources.h"

#include <nlohmann/json.hpp>

#include <cstdlib>
#include <regex>

namespace ql {

namespace {

float floatOf(const nlohmann::json& v) {
    if (v.is_number()) return v.get<float>();
    if (v.is_string()) return std::strtof(v.get_ref<const std::string&>().c_str(), nullptr);
    return 0;
}

std::string textAt(const nlohmann::json& o, const char* key) {
    auto it = o.find(key);
    if (it == o.end()) return {};
    if (it->is_string()) return it->get<std::string>();
    if (it->is_number()) return it->dump();
    return {};
}

VersionAlert updateAlert(const VersionFile& file, bool forced) {
    VersionAlert a;
    a.title = "有新版本了～";
    a.message = file.details;
    a.buttons = forced ? std::vector<std::string>{"现在更新"} : std::vector<std::string>{"下次再说", "现在更新"};
    a.tag = forced ? 20000 : 10000;
    a.url = file.url;
    return a;
}

}  // namespace

VersionResource VersionResource::load(const std::filesystem::path& plist) {
    VersionResource r;
    auto text = readWholeFile(plist);
    if (!text) return r;
    // A flat dictionary of the XML property-list format: <key>K</key> then one value element.
    static const std::regex entry(R"(<key>\s*([^<]*?)\s*</key>\s*<(string|real|integer)>\s*([^<]*?)\s*</\2>)");
    for (auto it = std::sregex_iterator(text->begin(), text->end(), entry); it != std::sregex_iterator(); ++it) {
        const std::string key = (*it)[1], type = (*it)[2], value = (*it)[3];
        if (key == "VersionCheck") r.installed = std::strtof(value.c_str(), nullptr);
        if (key == "NeverShowVersionCheck") r.enabled = type == "string" && value == "YES";
    }
    return r;
}

VersionResource VersionResource::shipped() { return load(Resources::path("VersionCheck.plist")); }

VersionFile VersionFile::parse(std::string_view body) {
    VersionFile f;
    auto j = nlohmann::json::parse(body, nullptr, false);
    if (!j.is_object()) return f;
    auto response = j.find("VerResponse");
    if (response == j.end() || !response->is_object()) return f;
    f.hasResponse = true;
    auto results = response->find("Results");
    if (results == response->end() || !results->is_array() || results->empty() || !(*results)[0].is_object())
        return f;
    const auto& first = (*results)[0];
    if (auto ver = first.find("Ver"); ver != first.end()) f.ver = floatOf(*ver);
    f.details = textAt(first, "details");
    f.url = textAt(first, "url");
    f.url2 = textAt(first, "url2");
    return f;
}

std::optional<VersionAlert> VersionCheck::automaticDecision(const VersionResource& resource, const VersionFile& file) {
    if (!file.hasResponse || !resource.enabled || !(resource.installed < file.ver)) return std::nullopt;
    return updateAlert(file, file.url2 == "1");
}

std::optional<VersionAlert> VersionCheck::manualDecision(const VersionResource& resource, const VersionFile& file) {
    if (!resource.enabled) return std::nullopt;
    // A file that could not be fetched compares as version 0: never newer.
    if (resource.installed < file.ver) return updateAlert(file, false);
    return VersionAlert{"已是最新", "无可用更新，当前已是最新版", {"我知道了"}, 0, {}};
}

namespace {
HttpRequestSpec versionRequest() {
    HttpRequestSpec request;
    request.url = Endpoints::versionFileUrl();
    request.useResponseCache = false;
    return request;
}
}  // namespace

HttpCallPtr VersionCheck::checkAutomatically(std::function<void(std::optional<VersionAlert>)> done) {
    NetworkActivity::on();
    return httpLoad(versionRequest(), [done = std::move(done)](HttpResult result) {
        NetworkActivity::off();
        VersionFile file = result.error ? VersionFile{} : VersionFile::parse(result.response.body);
        done(automaticDecision(VersionResource::shipped(), file));
    });
}

std::optional<VersionAlert> VersionCheck::checkManually() {
    HttpResult result = httpLoadSync(versionRequest());
    VersionFile file = result.error ? VersionFile{} : VersionFile::parse(result.response.body);
    return manualDecision(VersionResource::shipped(), file);
}

bool VersionCheck::opensDownload(const VersionAlert& alert, int index) {
    return index >= 0 && index < static_cast<int>(alert.buttons.size()) && alert.buttons[index] == "现在更新";
}

}  // namespace ql
