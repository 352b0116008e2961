#include "news/ColumnFiles.h"

#include "platform/FileUtil.h"
#include "platform/Resources.h"
#include "platform/SandboxPaths.h"

#include <cstring>
#include <regex>

namespace ql::ColumnFiles {

namespace {

std::string unescape(std::string s) {
    static const std::pair<const char*, const char*> entities[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
    for (auto [from, to] : entities) {
        for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + 1)) s.replace(at, strlen(from), to);
    }
    return s;
}

std::string escape(const std::string& s) {
    std::string out;
    for (char c : s) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            default: out += c;
        }
    }
    return out;
}

}  // namespace

std::optional<std::vector<std::string>> parse(const std::string& plist) {
    auto open = plist.find("<array>");
    auto close = plist.rfind("</array>");
    if (open == std::string::npos || close == std::string::npos || close < open) return std::nullopt;
    std::string body = plist.substr(open + 7, close - open - 7);
    static const std::regex item(R"(<string>([^<]*)</string>|<string\s*/>)");
    std::vector<std::string> items;
    for (auto it = std::sregex_iterator(body.begin(), body.end(), item); it != std::sregex_iterator(); ++it)
        items.push_back(unescape((*it)[1]));
    return items;
}

std::string format(const std::vector<std::string>& items) {
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<array>\n";
    for (const auto& i : items) out += "\t<string>" + escape(i) + "</string>\n";
    return out + "</array>\n</plist>\n";
}

void ensure() {
    auto docs = paths::documents();
    std::error_code ec;
    if (std::filesystem::exists(docs / kSubscribed, ec) && std::filesystem::exists(docs / kOthers, ec)) return;
    for (const char* name : {kSubscribed, kOthers}) {
        if (auto text = readWholeFile(Resources::path(name))) writeFileAtomically(docs / name, *text);
    }
}

std::vector<std::string> read(const char* name) {
    auto text = readWholeFile(paths::documents() / name);
    if (!text) return {};
    return parse(*text).value_or(std::vector<std::string>{});
}

bool write(const char* name, const std::vector<std::string>& columns) {
    return writeFileAtomically(paths::documents() / name, format(columns));
}

}  // namespace ql::ColumnFiles
