#include "HTTP/ResponseCache.h"

#include "platform/AppConfig.h"
#include "platform/FileUtil.h"
#include "platform/Reachability.h"
#include "platform/SandboxPaths.h"
#include "platform/Sha256.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <cstdint>
#include <cstdio>

namespace ql {

namespace {

constexpr std::string_view kMagic = "QLRC1";

std::string sha256Hex(std::string_view a, std::string_view b) { return Sha256().update(a).update(b).hex(); }

bool parseSize(std::string_view text, size_t& out) {
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

std::string encode(const CacheEntry& entry) {
    nlohmann::json headers = nlohmann::json::array();
    for (const auto& [name, value] : entry.response.headers) headers.push_back({name, value});
    nlohmann::json meta = {{"url", entry.url},
                           {"finalUrl", entry.response.url},
                           {"status", entry.response.status},
                           {"mimeType", entry.response.mimeType},
                           {"headers", std::move(headers)},
                           {"redirect", entry.redirectTarget}};
    // Header bytes that are not UTF-8 must not stop the answer from being stored.
    const std::string metaText = meta.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    const std::string& body = entry.response.body;
    std::string out = std::string(kMagic) + " " + sha256Hex(metaText, body) + " " + std::to_string(metaText.size()) +
                      " " + std::to_string(body.size()) + "\n";
    out.reserve(out.size() + metaText.size() + body.size());
    out += metaText;
    out += body;
    return out;
}

std::optional<CacheEntry> decode(const std::string& file) {
    const auto eol = file.find('\n');
    if (eol == std::string::npos || eol > 200) return std::nullopt;
    std::string_view line(file.data(), eol);
    std::string_view parts[4];
    for (auto& part : parts) {
        auto space = line.find(' ');
        part = line.substr(0, space);
        line = space == std::string_view::npos ? std::string_view() : line.substr(space + 1);
    }
    size_t metaSize = 0, bodySize = 0;
    if (parts[0] != kMagic || !line.empty() || !parseSize(parts[2], metaSize) || !parseSize(parts[3], bodySize))
        return std::nullopt;
    const size_t start = eol + 1;
    const size_t rest = file.size() - start;
    if (metaSize > rest || bodySize != rest - metaSize) return std::nullopt;
    std::string_view metaText(file.data() + start, metaSize);
    std::string_view body(file.data() + start + metaSize, bodySize);
    if (sha256Hex(metaText, body) != parts[1]) return std::nullopt;

    auto meta = nlohmann::json::parse(metaText, nullptr, false);
    if (!meta.is_object()) return std::nullopt;
    try {
        CacheEntry entry;
        entry.url = meta.at("url").get<std::string>();
        entry.response.url = meta.at("finalUrl").get<std::string>();
        entry.response.status = meta.at("status").get<long>();
        entry.response.mimeType = meta.at("mimeType").get<std::string>();
        for (const auto& h : meta.at("headers")) entry.response.headers.emplace_back(h.at(0).get<std::string>(), h.at(1).get<std::string>());
        entry.redirectTarget = meta.at("redirect").get<std::string>();
        entry.response.body.assign(body);
        return entry;
    } catch (const nlohmann::json::exception&) {
        return std::nullopt;
    }
}

}  // namespace

std::string ResponseCache::keyForRequest(const std::string& url) {
    uint32_t hash = 2166136261u;  // FNV-1a, 32 bits
    for (unsigned char c : url) {
        hash ^= c;
        hash *= 16777619u;
    }
    char name[9];
    std::snprintf(name, sizeof name, "%x", hash);
    return name;
}

std::filesystem::path ResponseCache::cachePathForKey(const std::string& name) {
    const auto folder = paths::responseCache();
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    // A name is one file inside the folder, never a way out of it.
    std::string safe = name;
    for (auto& c : safe)
        if (c == '/' || c == '\0') c = '_';
    if (safe.empty() || safe == "." || safe == "..") safe = "_" + safe;
    return folder / safe;
}

std::filesystem::path ResponseCache::cachePathForRequest(const std::string& url) {
    return cachePathForKey(keyForRequest(url));
}

std::optional<CacheEntry> ResponseCache::readEntry(const std::filesystem::path& path) {
    auto file = readWholeFile(path);
    if (!file) return std::nullopt;
    return decode(*file);
}

std::optional<std::string> ResponseCache::readStoredBody(const std::filesystem::path& path) {
    auto entry = readEntry(path);
    if (!entry) return std::nullopt;
    return std::move(entry->response.body);
}

std::optional<CacheEntry> ResponseCache::entryForRequest(const std::string& url) {
    auto entry = readEntry(cachePathForRequest(url));
    if (!entry || entry->url != url) return std::nullopt;
    return entry;
}

bool ResponseCache::storeEntry(const CacheEntry& entry) {
    return writeFileAtomically(cachePathForRequest(entry.url), encode(entry));
}

bool ResponseCache::handlesUrl(const std::string& url) { return url.starts_with("http://"); }

bool ResponseCache::shouldTryCache(const std::string& url, const std::string& method) {
    if (!handlesUrl(url)) return false;
    // Content-host answers are stored but never served: the six characters after "http://" are
    // compared with the start of the content host's name.
    const std::string content = AppConfig::current().hosts.content;
    if (content.size() >= 6 && url.size() >= 13 && url.compare(7, 6, content, 0, 6) == 0) return false;
    if (method != "GET") return false;
    return !Reachability::isUrlHostReachable(url);
}

void ResponseCache::clear() {
    std::error_code ec;
    std::filesystem::remove_all(paths::responseCache(), ec);
}

}  // namespace ql
