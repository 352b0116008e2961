// The transport against a real local HTTP server: answers, typed failures, cancellation, the
// blocking variant, streaming with resume, and the reachability / network-type probes.

#include "LocalHttpServer.h"

#include "platform/FileUtil.h"
#include "platform/Reachability.h"
#include "protocol/TestNetwork.h"

#include <gtest/gtest.h>

#include <mutex>
#include <strings.h>

using namespace std::chrono_literals;
using ql::HttpError;
using Code = ql::HttpError::Code;

namespace {

using Transport = qltest::LoopbackTest;

std::string header(const ql::HttpResponse& r, const std::string& name) {
    for (const auto& [k, v] : r.headers)
        if (strcasecmp(k.c_str(), name.c_str()) == 0) return v;
    return {};
}

// Waits without running the main loop.
bool waitFor(const std::function<bool()>& pred, std::chrono::milliseconds timeout) {
    auto until = std::chrono::steady_clock::now() + timeout;
    while (!pred() && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(5ms);
    return pred();
}

TEST_F(Transport, AnswersArriveWhateverTheirStatus) {
    auto ok = load(request(server.url("/hello"), false));
    ASSERT_FALSE(ok.error) << ok.error->message;
    EXPECT_EQ(ok.response.status, 200);
    EXPECT_EQ(ok.response.body, R"({"ok":1})");
    EXPECT_EQ(ok.response.mimeType, "application/json");
    EXPECT_EQ(header(ok.response, "X-Test"), "yes");
    EXPECT_EQ(header(ok.response, "Content-Encoding"), "");  // sent gzipped, handed on decoded
    EXPECT_EQ(ok.response.url, server.url("/hello"));
    EXPECT_FALSE(ok.fromCache);

    // An error page is an answer for the caller to read, not a transport failure.
    auto fail = load(request(server.url("/fail"), false));
    ASSERT_FALSE(fail.error);
    EXPECT_EQ(fail.response.status, 500);
    EXPECT_EQ(fail.response.mimeType, "text/html");
    EXPECT_EQ(fail.response.body, "<html>oops</html>");
}

TEST_F(Transport, FailuresCarryTheirCode) {
    struct Case {
        std::string url;
        std::chrono::milliseconds timeout;
        size_t maxBody;
        Code code;
    };
    const std::string closed = "http://127.0.0.1:" + std::to_string(qltest::closedPort()) + "/x";
    const std::vector<Case> cases = {
        {closed, 5s, 1 << 20, Code::CannotConnectToHost},
        {server.url("/slow"), 200ms, 1 << 20, Code::TimedOut},
        {server.url("/big"), 5s, 1000, Code::TooLarge},
        {"file:///etc/passwd", 5s, 1 << 20, Code::BadUrl},
        {"not a url", 5s, 1 << 20, Code::BadUrl},
    };
    for (const auto& c : cases) {
        for (bool cached : {false, true}) {
            auto options = request(c.url, cached);
            options.timeout = c.timeout;
            options.maxBodyBytes = c.maxBody;
            auto r = load(options);
            ASSERT_TRUE(r.error) << c.url;
            EXPECT_EQ(r.error->code, c.code) << c.url << ": " << r.error->message;
            EXPECT_FALSE(r.error->message.empty());
        }
    }
    // A body exactly at the limit is fine.
    auto options = request(server.url("/big"), false);
    options.maxBodyBytes = qltest::LocalHttpServer::bigSize;
    EXPECT_FALSE(load(options).error);
}

TEST_F(Transport, CancelledLoadNeverCallsBack) {
    for (bool cached : {false, true}) {
        for (bool waitForServer : {false, true}) {
            int calls = 0;
            auto call = ql::httpLoad(request(server.url("/slow"), cached), [&](ql::HttpResult) { ++calls; });
            if (waitForServer) {
                ASSERT_TRUE(waitFor([&] { return server.slowStarted(); }, 5s));
            }
            call->cancel();
            loop.runUntil([] { return false; }, 300ms);
            EXPECT_EQ(calls, 0) << cached << waitForServer;
        }
    }
    // An answer already queued for the main loop is dropped too.
    int calls = 0;
    auto call = ql::httpLoad(request(server.url("/hello"), false), [&](ql::HttpResult) { ++calls; });
    std::this_thread::sleep_for(300ms);  // the answer is posted but the loop has not run
    call->cancel();
    loop.runUntil([] { return false; }, 100ms);
    EXPECT_EQ(calls, 0);
}

TEST_F(Transport, SyncLoadNeedsNoMainLoop) {
    auto r = ql::httpLoadSync(request(server.url("/old")));  // follows the redirect too
    ASSERT_FALSE(r.error);
    EXPECT_EQ(r.response.body, "new body");
    EXPECT_EQ(r.response.url, server.url("/new"));

    auto slow = request(server.url("/slow"), false);
    slow.timeout = 200ms;
    auto start = std::chrono::steady_clock::now();
    auto late = ql::httpLoadSync(slow);
    ASSERT_TRUE(late.error);
    EXPECT_EQ(late.error->code, Code::TimedOut);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
}

TEST_F(Transport, PostSendsItsBody) {
    auto options = request(server.url("/echo"));
    options.method = "POST";
    options.body = "a=1&b=2";
    auto r = load(options);
    ASSERT_FALSE(r.error);
    EXPECT_EQ(r.response.body, "posted a=1&b=2");
}

// Records every callback of a stream, checking their order.
struct Recorder : ql::HttpStreamHandler {
    std::mutex mutex;
    std::vector<std::string> events;
    std::string body;
    ql::HttpResponseHead head;
    std::optional<ql::HttpStreamEnd> end;
    std::function<bool(Recorder&)> onChunk = [](Recorder&) { return true; };

    void onResponse(const ql::HttpResponseHead& h) override {
        std::lock_guard lock(mutex);
        events.push_back("response");
        head = h;
    }
    bool onData(std::string_view chunk) override {
        {
            std::lock_guard lock(mutex);
            if (events.empty() || events.back() != "data") events.push_back("data");
            body.append(chunk);
        }
        return onChunk(*this);
    }
    void onEnd(const ql::HttpStreamEnd& e) override {
        std::lock_guard lock(mutex);
        events.push_back("end");
        end = e;
    }
    bool ended() {
        std::lock_guard lock(mutex);
        return end.has_value();
    }
    size_t bytes() {
        std::lock_guard lock(mutex);
        return body.size();
    }
};

TEST_F(Transport, StreamResumesFromAnOffset) {
    for (uint64_t offset : {uint64_t{0}, uint64_t{1500}}) {
        auto rec = std::make_shared<Recorder>();
        ql::HttpStreamRequest req;
        req.url = server.url("/file");
        req.resumeFrom = offset;
        auto call = ql::httpStream(req, rec);
        ASSERT_TRUE(waitFor([&] { return rec->ended(); }, 10s));
        EXPECT_EQ(rec->events, (std::vector<std::string>{"response", "data", "end"}));
        EXPECT_EQ(rec->head.status, offset ? 206 : 200);
        EXPECT_EQ(rec->head.mimeType, "video/mp4");
        EXPECT_EQ(rec->head.contentLength, server.file().size() - offset);
        EXPECT_EQ(rec->body, server.file().substr(offset));
        EXPECT_FALSE(rec->end->error);
        EXPECT_EQ(rec->end->bytesReceived, server.file().size() - offset);
    }
}

TEST_F(Transport, StreamStopsOnRequest) {
    ql::HttpStreamRequest req;
    req.url = server.url("/drip");
    {
        // The receiver says no: the transfer ends with an error.
        auto rec = std::make_shared<Recorder>();
        rec->onChunk = [](Recorder&) { return false; };
        auto call = ql::httpStream(req, rec);
        ASSERT_TRUE(waitFor([&] { return rec->ended(); }, 10s));
        ASSERT_TRUE(rec->end->error);
        EXPECT_EQ(rec->end->bytesReceived, 0u);
    }
    {
        // Cancelled from another thread mid-body: nothing at all after cancel() returns.
        auto rec = std::make_shared<Recorder>();
        auto call = ql::httpStream(req, rec);
        ASSERT_TRUE(waitFor([&] { return rec->bytes() > 0; }, 10s));
        call->cancel();
        size_t events = 0, bytes = 0;
        {
            std::lock_guard lock(rec->mutex);
            events = rec->events.size();
            bytes = rec->body.size();
        }
        std::this_thread::sleep_for(300ms);
        EXPECT_EQ(rec->bytes(), bytes);
        std::lock_guard lock(rec->mutex);
        EXPECT_EQ(rec->events.size(), events);
        EXPECT_FALSE(rec->end);
    }
    {
        // Cancelled from inside its own callback.
        std::shared_ptr<ql::HttpCall> call;
        std::mutex callMutex;
        auto rec = std::make_shared<Recorder>();
        std::atomic<int> chunks{0};
        rec->onChunk = [&](Recorder&) {
            std::lock_guard lock(callMutex);
            if (++chunks == 1 && call) call->cancel();
            return true;
        };
        {
            std::lock_guard lock(callMutex);
            call = ql::httpStream(req, rec);
        }
        ASSERT_TRUE(waitFor([&] { return chunks > 0; }, 10s));
        std::this_thread::sleep_for(300ms);
        EXPECT_EQ(chunks, 1);
        EXPECT_FALSE(rec->ended());
    }
}

TEST(Reachability, ProbesEveryAddressOfTheHost) {
    qltest::LocalHttpServer server;
    const std::string port = std::to_string(server.port());
    const std::string closed = std::to_string(qltest::closedPort());
    EXPECT_TRUE(ql::Reachability::isReachable(server.hostPort()));
    EXPECT_TRUE(ql::Reachability::isReachable("localhost:" + port));  // ::1 refuses, 127.0.0.1 answers
    EXPECT_TRUE(ql::Reachability::isUrlHostReachable(server.url("/a?b=c")));
    EXPECT_FALSE(ql::Reachability::isReachable("127.0.0.1:" + closed));
    EXPECT_FALSE(ql::Reachability::isReachable("localhost:" + closed));
    EXPECT_FALSE(ql::Reachability::isReachable("no-such-host.invalid:80"));
    EXPECT_FALSE(ql::Reachability::isReachable("127.0.0.1:99999"));
    EXPECT_FALSE(ql::Reachability::isUrlHostReachable("not a url"));
}

TEST(Reachability, HostPortOfUrl) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"http://127.0.0.1:8701/API/qlmobile/x.php?p=AB", "127.0.0.1:8701"},
        {"http://example.org/index.html", "example.org:80"},
        {"http://example.org", "example.org:80"},
        {"https://example.org/", "example.org:443"},
        {"http://user:pw@example.org:81/", "example.org:81"},
        {"http://[::1]:8080/x", "[::1]:8080"},
        {"http://[::1]/x", "[::1]:80"},
        {"http:///path", ""},
        {"no scheme", ""},
    };
    for (const auto& [url, want] : cases) EXPECT_EQ(ql::Reachability::hostPortOfUrl(url), want) << url;
}

TEST(NetworkType, ConfigurationForcesTheAnswer) {
    qltest::LocalHttpServer server;
    ql::AppConfig config;
    config.hosts.main = server.hostPort();
    for (auto [setting, want] : std::vector<std::pair<std::string, std::string>>{
             {"wifi", "wifi"}, {"3g", "3g"}, {"none", "NONET"}}) {
        config.network = setting;
        ql::AppConfig::setCurrent(config);
        EXPECT_EQ(ql::TestNetwork::GetCurrntNet(), want) << setting;
    }
    config.network = "auto";
    ql::AppConfig::setCurrent(config);
    EXPECT_NE(ql::TestNetwork::GetCurrntNet(), "NONET");
    server.stop();
    EXPECT_EQ(ql::TestNetwork::GetCurrntNet(), "NONET");  // read again, nothing remembered
    ql::AppConfig::setCurrent({});
}

TEST(NetworkType, KindOfLinkFromTheInterfaces) {
    struct Iface {
        std::string name, operstate, flags;
        bool wireless;
    };
    struct Case {
        std::vector<Iface> ifaces;
        std::string want;
    };
    const Iface lo{"lo", "unknown", "0x9", false};
    const Iface wlan{"wlan0", "up", "0x1003", true}, wlanDown{"wlan0", "down", "0x1002", true};
    const Iface eth{"eth0", "up", "0x1003", false}, ethDown{"eth0", "down", "0x1002", false};
    const Iface wwan{"wwan0", "up", "0x1003", false}, ppp{"ppp0", "unknown", "0x10d1", false};
    const Iface rmnet{"rmnet_data0", "up", "0x1003", false}, pppDown{"ppp0", "unknown", "0x1090", false};
    const std::vector<Case> cases = {
        {{lo, wlan}, "wifi"},           {{lo, eth}, "wifi"},          {{lo, wwan}, "3g"},
        {{lo, ppp}, "3g"},              {{lo, rmnet}, "3g"},          {{lo, wlanDown, wwan}, "3g"},
        {{lo, ethDown, ppp}, "3g"},     {{lo, wlan, wwan}, "wifi"},   {{lo}, "wifi"},
        {{lo, pppDown, eth}, "wifi"},
    };
    for (const auto& c : cases) {
        qltest::TempDir sys;
        std::string names;
        for (const auto& i : c.ifaces) {
            auto dir = sys.path() / i.name;
            ASSERT_TRUE(ql::writeFileAtomically(dir / "operstate", i.operstate + "\n"));
            ASSERT_TRUE(ql::writeFileAtomically(dir / "flags", i.flags + "\n"));
            if (i.wireless) std::filesystem::create_directories(dir / "wireless");
            names += i.name + "/" + i.operstate + " ";
        }
        EXPECT_EQ(ql::TestNetwork::linkTypeFromInterfaces(sys.path()), c.want) << names;
    }
}

}  // namespace
