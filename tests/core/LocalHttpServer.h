#pragma once
// A small HTTP server on a free loopback port for the transport and cache tests, with canned routes:
//   /hello      200 JSON with a custom header        /fail   500 HTML page
//   /slow       answers after up to 3 s (cut short when the server stops)
//   /big        200 with `bigSize` bytes             /file   the bytes of `file`, ranges honoured
//   /drip       chunked, one chunk every 50 ms until the client leaves or the server stops
//   /old        302 to /new                          /new    200 "new body"
//   /count      200 "answer N", N counting the requests
//   POST /echo  200 "posted <body>"
// and a test fixture, LoopbackTest, with a main loop, a scratch data folder and the hosts pointing at it.

#include "TestSupport.h"
#include "platform/AppConfig.h"
#include "platform/HttpTransport.h"
#include "platform/RunLoop.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace qltest {

class LocalHttpServer {
public:
    static constexpr size_t bigSize = 64 * 1024;

    LocalHttpServer() {
        for (int i = 0; i < 4096; ++i) file_ += static_cast<char>(i * 7 % 256);
        // One answer per connection: a kept-alive connection would hold up stop() for seconds.
        server_.set_keep_alive_max_count(1);
        server_.Get("/hello", [](const httplib::Request&, httplib::Response& res) {
            res.set_header("X-Test", "yes");
            res.set_content(R"({"ok":1})", "application/json; charset=utf-8");
        });
        server_.Get("/fail", [](const httplib::Request&, httplib::Response& res) {
            res.status = 500;
            res.set_content("<html>oops</html>", "text/html");
        });
        server_.Get("/slow", [this](const httplib::Request&, httplib::Response& res) {
            slowStarted_ = true;
            auto until = std::chrono::steady_clock::now() + std::chrono::seconds(3);
            while (!stopping_ && std::chrono::steady_clock::now() < until)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            res.set_content("late", "text/plain");
        });
        server_.Get("/big", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(std::string(bigSize, 'b'), "application/octet-stream");
        });
        server_.Get("/file", [this](const httplib::Request&, httplib::Response& res) {
            res.set_content(file_, "video/mp4");
        });
        server_.Get("/drip", [this](const httplib::Request&, httplib::Response& res) {
            res.set_chunked_content_provider("text/plain", [this](size_t, httplib::DataSink& sink) {
                if (stopping_) return false;
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                return sink.write("drip\n", 5);
            });
        });
        server_.Get("/old", [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/new"); });
        server_.Get("/new", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("new body", "text/plain");
        });
        server_.Post("/echo", [](const httplib::Request& req, httplib::Response& res) {
            res.set_content("posted " + req.body, "text/plain");
        });
        server_.Get("/count", [this](const httplib::Request&, httplib::Response& res) {
            res.set_content("answer " + std::to_string(++count_), "text/plain");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~LocalHttpServer() { stop(); }
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    void stop() {
        stopping_ = true;
        if (thread_.joinable()) {
            server_.stop();
            thread_.join();
        }
    }

    int port() const { return port_; }
    std::string hostPort() const { return "127.0.0.1:" + std::to_string(port_); }
    std::string url(const std::string& path) const { return "http://" + hostPort() + path; }
    const std::string& file() const { return file_; }
    bool slowStarted() const { return slowStarted_; }

private:
    httplib::Server server_;
    std::thread thread_;
    int port_ = 0;
    std::string file_;
    std::atomic<bool> stopping_{false}, slowStarted_{false};
    std::atomic<int> count_{0};
};

// A loopback port with nobody listening (bound, then released).
inline int closedPort() {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    ::close(fd);
    return ntohs(addr.sin_port);
}

// A main loop, a scratch data folder and a local server, with the configuration pointing the main
// host at the server (as 127.0.0.1:P) and the content host at it too (as localhost:P).
class LoopbackTest : public ::testing::Test {
protected:
    void SetUp() override {
        ql::MainQueue::setMain(&loop);
        ql::AppConfig config;
        config.dataDir = dir.path().string();
        config.hosts.main = server.hostPort();
        config.hosts.content = "localhost:" + std::to_string(server.port());
        ql::AppConfig::setCurrent(config);
    }
    void TearDown() override {
        ql::MainQueue::setMain(nullptr);
        ql::AppConfig::setCurrent({});
    }

    static ql::HttpRequestSpec request(std::string url, bool cached = true) {
        ql::HttpRequestSpec options;
        options.url = std::move(url);
        options.useResponseCache = cached;
        return options;
    }

    // Runs the main loop until the answer arrives; checks it came once, on the main thread.
    ql::HttpResult load(ql::HttpRequestSpec options) {
        std::optional<ql::HttpResult> got;
        int calls = 0;
        bool onMain = false;
        auto call = ql::httpLoad(std::move(options), [&](ql::HttpResult r) {
            ++calls;
            onMain = loop.isMainThread();
            got = std::move(r);
        });
        EXPECT_TRUE(loop.runUntil([&] { return got.has_value(); }, std::chrono::seconds(15)));
        call->cancel();  // nothing may reach this frame's locals once it returns
        EXPECT_EQ(calls, 1);
        EXPECT_TRUE(onMain);
        if (!got) return {ql::HttpError{ql::HttpError::Code::Other, "no answer"}, {}, false};
        return std::move(*got);
    }

    ql::RunLoop loop;
    TempDir dir;
    LocalHttpServer server;
};

}  // namespace qltest
