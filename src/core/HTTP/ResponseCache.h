#pragma once
// The response cache under the program's own HTTP loading: one file per URL in Library/Caches/RNCaching,
// named by a 32-bit hash of the URL text. An entry keeps the answer (status, MIME type, headers, body)
// and, for a redirect, its target. Entries never expire; a later answer replaces the file.
//
// File layout: "QLRC1 <sha256 hex> <meta bytes> <body bytes>\n", a JSON object with the meta data, then
// the body. The checksum covers meta and body, so a torn or damaged file reads as no entry.

#include "platform/HttpTransport.h"

#include <filesystem>
#include <optional>
#include <string>

namespace ql {

struct CacheEntry {
    std::string url;             // the URL the entry answers (as requested, character for character)
    HttpResponse response;       // response.url is the URL the answer came from
    std::string redirectTarget;  // not empty: the answer redirected there
};

class ResponseCache {
public:
    // "%x" of the FNV-1a hash of the URL text.
    static std::string keyForRequest(const std::string& url);
    // The path of a name inside the cache folder, which is created first when missing.
    static std::filesystem::path cachePathForKey(const std::string& name);
    static std::filesystem::path cachePathForRequest(const std::string& url);

    // The body of the entry in that file; nothing when there is no readable, intact entry.
    static std::optional<std::string> readStoredBody(const std::filesystem::path& path);
    static std::optional<CacheEntry> readEntry(const std::filesystem::path& path);
    // The entry of exactly this URL: a file that belongs to another URL with the same hash is no entry.
    static std::optional<CacheEntry> entryForRequest(const std::string& url);

    // Writes the entry whole under entry.url, replacing an older one. False when it could not be written.
    static bool storeEntry(const CacheEntry& entry);

    // Whether the cache takes part in loading this URL at all (plain "http" only).
    static bool handlesUrl(const std::string& url);
    // The serve rule: true when the request is to be answered from the cache instead of the network.
    // Content-host URLs and non-GET requests never are; others when their host cannot be reached now.
    // Probes the host, so it blocks for up to the reachability time-out.
    static bool shouldTryCache(const std::string& url, const std::string& method);

    // Deletes every entry (the settings screen's cache clearing).
    static void clear();
};

}  // namespace ql
