// The response cache: entry files, the serve rule, and the loader storing and serving answers
// against a local server that is stopped to make its host unreachable.

#include "LocalHttpServer.h"

#include "HTTP/ResponseCache.h"
#include "platform/FileUtil.h"
#include "platform/SandboxPaths.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace std::chrono_literals;
using ql::CacheEntry;
using ql::ResponseCache;
using Code = ql::HttpError::Code;

namespace {

class ResponseCacheFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ql::AppConfig config;
        config.dataDir = dir.path().string();
        ql::AppConfig::setCurrent(config);
    }
    void TearDown() override { ql::AppConfig::setCurrent({}); }

    static CacheEntry sampleEntry(const std::string& url) {
        CacheEntry e;
        e.url = url;
        e.response.status = 200;
        e.response.mimeType = "image/png";
        e.response.headers = {{"Content-Type", "image/png"}, {"X-Raw", "\xff\xfe not UTF-8"}};
        e.response.body = std::string("\x89PNG\0\r\n body", 13);
        e.response.url = url;
        return e;
    }

    qltest::TempDir dir;
};

TEST_F(ResponseCacheFiles, NamesAndPaths) {
    // FNV-1a reference values, printed "%x" (no leading zeros).
    EXPECT_EQ(ResponseCache::keyForRequest(""), "811c9dc5");
    EXPECT_EQ(ResponseCache::keyForRequest("a"), "e40c292c");
    EXPECT_EQ(ResponseCache::keyForRequest("foobar"), "bf9cf968");

    auto folder = dir.path() / "Library/Caches/RNCaching";
    EXPECT_FALSE(std::filesystem::exists(folder));
    auto path = ResponseCache::cachePathForKey("abc");
    EXPECT_EQ(path, folder / "abc");
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(ResponseCache::cachePathForKey("../../x").parent_path(), folder);
    EXPECT_EQ(ResponseCache::cachePathForKey("..").parent_path(), folder);

    // The whole URL text counts, host included.
    const std::string a = "http://127.0.0.1:8701/API/qlmobile/news.php?p=AB";
    const std::string b = "http://127.0.0.2:8701/API/qlmobile/news.php?p=AB";
    EXPECT_EQ(ResponseCache::cachePathForRequest(a), folder / ResponseCache::keyForRequest(a));
    EXPECT_NE(ResponseCache::cachePathForRequest(a), ResponseCache::cachePathForRequest(b));
    ASSERT_TRUE(ResponseCache::storeEntry(sampleEntry(a)));
    EXPECT_TRUE(ResponseCache::readStoredBody(ResponseCache::cachePathForRequest(a)));
    EXPECT_FALSE(ResponseCache::readStoredBody(ResponseCache::cachePathForRequest(b)));

    ResponseCache::clear();
    EXPECT_FALSE(std::filesystem::exists(folder));
}

TEST_F(ResponseCacheFiles, EntryRoundTripsAndDamageReadsAsNoEntry) {
    const std::string url = "http://127.0.0.1:8703/pic/1.png";
    auto entry = sampleEntry(url);
    entry.redirectTarget = "http://127.0.0.1:8703/pic/2.png";
    ASSERT_TRUE(ResponseCache::storeEntry(entry));
    const auto path = ResponseCache::cachePathForRequest(url);

    auto read = ResponseCache::entryForRequest(url);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->url, url);
    EXPECT_EQ(read->redirectTarget, entry.redirectTarget);
    EXPECT_EQ(read->response.status, 200);
    EXPECT_EQ(read->response.mimeType, "image/png");
    EXPECT_EQ(read->response.body, entry.response.body);
    ASSERT_EQ(read->response.headers.size(), 2u);
    EXPECT_EQ(read->response.headers[0], entry.response.headers[0]);
    EXPECT_EQ(ResponseCache::readStoredBody(path), entry.response.body);

    const std::string good = *ql::readWholeFile(path);
    auto flip = [&](size_t at) {
        std::string s = good;
        s[at] = static_cast<char>(s[at] ^ 0x20);
        return s;
    };
    const std::vector<std::pair<std::string, std::string>> damaged = {
        {"truncated by one byte", good.substr(0, good.size() - 1)},
        {"cut in the meta data", good.substr(0, good.find('\n') + 10)},
        {"one byte longer", good + "x"},
        {"body byte changed", flip(good.size() - 1)},
        {"meta byte changed", flip(good.find('\n') + 3)},
        {"checksum changed", flip(8)},
        {"empty", ""},
        {"not an entry", "<html>hello</html>"},
        {"huge lengths", "QLRC1 00 18446744073709551615 2\n{}"},
    };
    for (const auto& [what, bytes] : damaged) {
        ASSERT_TRUE(ql::writeFileAtomically(path, bytes));
        EXPECT_FALSE(ResponseCache::readEntry(path)) << what;
        EXPECT_FALSE(ResponseCache::readStoredBody(path)) << what;
    }

    // A file that belongs to another URL with the same name is not this URL's entry.
    const std::string other = "http://127.0.0.1:8703/pic/3.png";
    ASSERT_TRUE(ql::writeFileAtomically(ResponseCache::cachePathForRequest(other), good));
    EXPECT_FALSE(ResponseCache::entryForRequest(other));
}

TEST_F(ResponseCacheFiles, ServeRule) {
    qltest::LocalHttpServer up;
    const std::string closed = std::to_string(qltest::closedPort());
    ql::AppConfig config;
    config.dataDir = dir.path().string();
    config.hosts.content = "localhost:" + closed;
    ql::AppConfig::setCurrent(config);

    struct Case {
        std::string url, method;
        bool fromCache;
    };
    const std::vector<Case> cases = {
        {"http://127.0.0.1:" + closed + "/API/a.php", "GET", true},   // unreachable: serve stored
        {up.url("/API/a.php"), "GET", false},                         // reachable: always the network
        {"http://127.0.0.1:" + closed + "/API/a.php", "POST", false}, // other methods: the network
        {"http://localhost:" + closed + "/news", "GET", false},       // content host: the network
        {"http://localhorst.example/news", "GET", false},            // only the first six characters count
        {"http://localh", "GET", false},
        {"https://127.0.0.1:" + closed + "/", "GET", false},          // not ours to serve
    };
    for (const auto& c : cases) EXPECT_EQ(ResponseCache::shouldTryCache(c.url, c.method), c.fromCache) << c.method << " " << c.url;
}

using CachedLoad = qltest::LoopbackTest;

TEST_F(CachedLoad, StoresAnswersAndServesThemWhileTheHostIsUnreachable) {
    const std::string mainUrl = server.url("/count?p=1");
    const std::string contentUrl = "http://localhost:" + std::to_string(server.port()) + "/hello";
    const std::string redirectUrl = server.url("/old");

    // Reachable: every load goes to the network and replaces the entry.
    EXPECT_EQ(load(request(mainUrl)).response.body, "answer 1");
    auto second = load(request(mainUrl));
    EXPECT_EQ(second.response.body, "answer 2");
    EXPECT_FALSE(second.fromCache);
    EXPECT_EQ(ResponseCache::readStoredBody(ResponseCache::cachePathForRequest(mainUrl)), "answer 2");

    ASSERT_FALSE(load(request(contentUrl)).error);
    EXPECT_TRUE(ResponseCache::entryForRequest(contentUrl));  // stored, though never served

    auto redirected = load(request(redirectUrl));
    EXPECT_EQ(redirected.response.body, "new body");
    EXPECT_EQ(redirected.response.url, server.url("/new"));
    auto redirectEntry = ResponseCache::entryForRequest(redirectUrl);
    ASSERT_TRUE(redirectEntry);
    EXPECT_EQ(redirectEntry->redirectTarget, server.url("/new"));
    EXPECT_EQ(redirectEntry->response.status, 302);

    // Neither requests that opt out nor POSTs leave entries.
    ASSERT_FALSE(load(request(server.url("/hello"), false)).error);
    EXPECT_FALSE(ResponseCache::entryForRequest(server.url("/hello")));
    auto post = request(server.url("/echo"));
    post.method = "POST";
    ASSERT_FALSE(load(post).error);
    EXPECT_FALSE(ResponseCache::entryForRequest(server.url("/echo")));

    server.stop();

    auto stored = load(request(mainUrl));
    ASSERT_FALSE(stored.error) << stored.error->message;
    EXPECT_TRUE(stored.fromCache);
    EXPECT_EQ(stored.response.status, 200);
    EXPECT_EQ(stored.response.mimeType, "text/plain");
    EXPECT_EQ(stored.response.body, "answer 2");

    auto viaRedirect = load(request(redirectUrl));
    ASSERT_FALSE(viaRedirect.error);
    EXPECT_TRUE(viaRedirect.fromCache);
    EXPECT_EQ(viaRedirect.response.body, "new body");

    struct Failing {
        std::string what;
        ql::HttpRequestSpec options;
    };
    auto unstoredPost = request(server.url("/echo"));
    unstoredPost.method = "POST";
    for (const auto& f : std::vector<Failing>{{"content host", request(contentUrl)},
                                              {"never fetched", request(server.url("/count?p=2"))},
                                              {"cache not used", request(mainUrl, false)},
                                              {"POST", unstoredPost}}) {
        auto r = load(f.options);
        ASSERT_TRUE(r.error) << f.what;
        EXPECT_EQ(r.error->code, Code::CannotConnectToHost) << f.what << ": " << r.error->message;
    }
}

TEST_F(CachedLoad, UnwritableCacheNeverFailsTheRequest) {
    // A plain file where the cache folder should be: no entry can be written.
    const auto folder = ql::paths::responseCache();
    std::filesystem::create_directories(folder.parent_path());
    std::ofstream(folder) << "in the way";
    auto r = load(request(server.url("/hello")));
    ASSERT_FALSE(r.error);
    EXPECT_EQ(r.response.body, R"({"ok":1})");
}

}  // namespace
