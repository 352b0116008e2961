#include "platform/HttpTransport.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstdlib>
#include <cctype>
#include <mutex>
#include <strings.h>
#include <thread>
#include <unordered_map>

namespace ql {

namespace {

std::string trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
    return std::string(s.substr(b, e - b));
}

// "http://host:port/path" -> "host:port", for messages.
std::string authorityOf(const std::string& url) {
    auto start = url.find("://");
    start = start == std::string::npos ? 0 : start + 3;
    auto end = url.find_first_of("/?#", start);
    return url.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

HttpError errorFor(CURLcode rc, const std::string& url, const char* detail) {
    using C = HttpError::Code;
    const std::string host = authorityOf(url);
    HttpError e;
    switch (rc) {
    case CURLE_COULDNT_CONNECT: e = {C::CannotConnectToHost, "could not connect to " + host}; break;
    case CURLE_OPERATION_TIMEDOUT: e = {C::TimedOut, "timed out waiting for " + host}; break;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY: e = {C::HostNotFound, "host not found: " + host}; break;
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_PARTIAL_FILE:
    case CURLE_GOT_NOTHING: e = {C::ConnectionLost, "connection to " + host + " was lost"}; break;
    case CURLE_URL_MALFORMAT:
    case CURLE_UNSUPPORTED_PROTOCOL: e = {C::BadUrl, "bad URL: " + url}; break;
    case CURLE_FILESIZE_EXCEEDED: e = {C::TooLarge, "answer of " + url + " is too large"}; break;
    default: e = {C::Other, std::string(curl_easy_strerror(rc)) + " (" + url + ")"}; break;
    }
    if (detail && *detail) e.message += " [" + trim(detail) + "]";
    return e;
}

// One transfer: the easy handle, its request data and the receiver. The gate is held while a
// callback of the receiver runs, and by cancel(), so no callback starts once cancel() has returned.
struct Transfer {
    CURL* easy = nullptr;
    curl_slist* headerList = nullptr;
    char errbuf[CURL_ERROR_SIZE] = {};
    std::string url;
    std::recursive_mutex gate;
    std::shared_ptr<HttpStreamHandler> handler;  // under gate; dropped at the end or on cancel

    // I/O thread only.
    HttpResponseHead head;
    bool headSent = false;
    bool abortedByReceiver = false;
    uint64_t received = 0;

    ~Transfer() {
        if (easy) curl_easy_cleanup(easy);
        curl_slist_free_all(headerList);
    }

    std::shared_ptr<HttpStreamHandler> receiver() {
        std::lock_guard lock(gate);
        return handler;
    }
    void cancel() {
        std::lock_guard lock(gate);
        handler.reset();
    }
    bool cancelled() { return receiver() == nullptr; }

    void sendHead() {
        headSent = true;
        curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &head.status);
        char* type = nullptr;
        if (curl_easy_getinfo(easy, CURLINFO_CONTENT_TYPE, &type) == CURLE_OK && type) head.mimeType = mimeTypeOf(type);
        char* effective = nullptr;
        head.url = curl_easy_getinfo(easy, CURLINFO_EFFECTIVE_URL, &effective) == CURLE_OK && effective ? effective : url;
        curl_off_t length = -1;
        if (curl_easy_getinfo(easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) == CURLE_OK && length >= 0)
            head.contentLength = static_cast<uint64_t>(length);
        std::lock_guard lock(gate);
        if (auto h = handler) h->onResponse(head);
    }

    void finish(CURLcode rc) {
        if (!headSent) {
            long status = 0;
            curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
            if (status > 0) sendHead();
        }
        HttpStreamEnd end;
        end.bytesReceived = received;
        if (abortedByReceiver) {
            end.error = HttpError{HttpError::Code::Other, "transfer of " + url + " aborted by the receiver"};
        } else if (rc != CURLE_OK) {
            end.error = errorFor(rc, url, errbuf);
        }
        char* target = nullptr;
        if (head.status / 100 == 3 && curl_easy_getinfo(easy, CURLINFO_REDIRECT_URL, &target) == CURLE_OK && target)
            end.redirectTarget = target;
        std::lock_guard lock(gate);
        if (auto h = std::move(handler)) h->onEnd(end);
    }

    static size_t onHeader(char* data, size_t size, size_t count, void* user) {
        auto* t = static_cast<Transfer*>(user);
        std::string_view line(data, size * count);
        if (line.starts_with("HTTP/")) {
            t->head.headers.clear();  // a new answer (after "100 Continue")
        } else if (auto colon = line.find(':'); colon != std::string_view::npos) {
            t->head.headers.emplace_back(trim(line.substr(0, colon)), trim(line.substr(colon + 1)));
        }
        return size * count;
    }

    static size_t onBody(char* data, size_t size, size_t count, void* user) {
        auto* t = static_cast<Transfer*>(user);
        if (!t->headSent) t->sendHead();
        std::lock_guard lock(t->gate);
        auto h = t->handler;
        if (!h) return CURL_WRITEFUNC_ERROR;
        if (!h->onData(std::string_view(data, size * count))) {
            t->abortedByReceiver = true;
            return CURL_WRITEFUNC_ERROR;
        }
        t->received += size * count;
        return size * count;
    }
};

// The loopback names, plus whatever the environment already exempts from its proxy.
const std::string& noProxyList() {
    static const std::string list = [] {
        std::string l = "localhost,127.0.0.1,::1";
        for (const char* name : {"no_proxy", "NO_PROXY"}) {
            if (const char* v = std::getenv(name); v && *v) return l + "," + v;
        }
        return l;
    }();
    return list;
}

std::shared_ptr<Transfer> makeTransfer(const HttpStreamRequest& r, std::shared_ptr<HttpStreamHandler> handler) {
    auto t = std::make_shared<Transfer>();
    t->url = r.url;
    t->handler = std::move(handler);
    CURL* e = t->easy = curl_easy_init();
    if (!e) return nullptr;
    curl_easy_setopt(e, CURLOPT_URL, r.url.c_str());
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    // A proxy set in the environment must not take the loopback hosts of the local service.
    curl_easy_setopt(e, CURLOPT_NOPROXY, noProxyList().c_str());
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(e, CURLOPT_PRIVATE, t.get());
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, t->errbuf);
    curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &Transfer::onHeader);
    curl_easy_setopt(e, CURLOPT_HEADERDATA, t.get());
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &Transfer::onBody);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, t.get());
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(r.connectTimeout.count()));
    if (r.totalTimeout.count() > 0) curl_easy_setopt(e, CURLOPT_TIMEOUT_MS, static_cast<long>(r.totalTimeout.count()));
    if (r.stallTimeout.count() > 0) {
        curl_easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(e, CURLOPT_LOW_SPEED_TIME, std::max(1L, static_cast<long>(r.stallTimeout.count() / 1000)));
    }
    if (r.acceptCompressed && r.resumeFrom == 0) curl_easy_setopt(e, CURLOPT_ACCEPT_ENCODING, "");
    if (r.resumeFrom > 0) curl_easy_setopt(e, CURLOPT_RESUME_FROM_LARGE, static_cast<curl_off_t>(r.resumeFrom));

    if (r.method == "GET") {
        curl_easy_setopt(e, CURLOPT_HTTPGET, 1L);
    } else if (r.method == "HEAD") {
        curl_easy_setopt(e, CURLOPT_NOBODY, 1L);
    } else {
        if (r.method == "POST") curl_easy_setopt(e, CURLOPT_POST, 1L);
        else curl_easy_setopt(e, CURLOPT_CUSTOMREQUEST, r.method.c_str());
        if (r.method == "POST" || !r.body.empty()) {
            curl_easy_setopt(e, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(r.body.size()));
            curl_easy_setopt(e, CURLOPT_COPYPOSTFIELDS, r.body.c_str());
        }
        // No "Expect: 100-continue" round trip for the small bodies we send.
        t->headerList = curl_slist_append(t->headerList, "Expect:");
    }
    for (const auto& [name, value] : r.headers) {
        if (name.find_first_of("\r\n:") != std::string::npos || value.find_first_of("\r\n") != std::string::npos) continue;
        t->headerList = curl_slist_append(t->headerList, (name + ": " + value).c_str());
    }
    if (t->headerList) curl_easy_setopt(e, CURLOPT_HTTPHEADER, t->headerList);
    return t;
}

// The one thread that runs every transfer. Created on first use and never destroyed, so late
// callers after exit began get a clean refusal instead of a dangling object; the thread itself is
// stopped and joined during static destruction.
class IoThread {
public:
    static IoThread& instance() {
        static IoThread* io = new IoThread;
        static struct Stopper {
            ~Stopper() { io->shutdown(); }
        } stopper;
        return *io;
    }

    bool submit(const std::shared_ptr<Transfer>& t) {
        std::lock_guard lock(mutex_);
        if (stopping_) return false;
        toAdd_.push_back(t);
        curl_multi_wakeup(multi_);
        return true;
    }

    void cancel(const std::shared_ptr<Transfer>& t) {
        t->cancel();
        std::lock_guard lock(mutex_);
        if (stopping_) return;
        toRemove_.push_back(t);
        curl_multi_wakeup(multi_);
    }

    void shutdown() {
        {
            std::lock_guard lock(mutex_);
            if (stopping_) return;
            stopping_ = true;
            curl_multi_wakeup(multi_);
        }
        if (thread_.joinable()) thread_.join();
        curl_multi_cleanup(multi_);
        multi_ = nullptr;
    }

private:
    IoThread() {
        curl_global_init(CURL_GLOBAL_DEFAULT);
        multi_ = curl_multi_init();
        thread_ = std::thread([this] { run(); });
    }

    void run() {
        for (;;) {
            std::vector<std::shared_ptr<Transfer>> add, remove;
            {
                std::lock_guard lock(mutex_);
                if (stopping_) break;
                add.swap(toAdd_);
                remove.swap(toRemove_);
            }
            for (auto& t : remove) {
                if (active_.erase(t.get())) curl_multi_remove_handle(multi_, t->easy);
            }
            for (auto& t : add) {
                if (t->cancelled()) continue;
                active_[t.get()] = t;
                curl_multi_add_handle(multi_, t->easy);
            }
            int running = 0;
            curl_multi_perform(multi_, &running);
            int left = 0;
            while (CURLMsg* msg = curl_multi_info_read(multi_, &left)) {
                if (msg->msg != CURLMSG_DONE) continue;
                Transfer* raw = nullptr;
                curl_easy_getinfo(msg->easy_handle, CURLINFO_PRIVATE, &raw);
                const CURLcode rc = msg->data.result;
                auto it = active_.find(raw);
                if (it == active_.end()) continue;
                auto t = std::move(it->second);
                active_.erase(it);
                curl_multi_remove_handle(multi_, t->easy);
                t->finish(rc);
            }
            curl_multi_poll(multi_, nullptr, 0, 1000, nullptr);
        }
        for (auto& [raw, t] : active_) curl_multi_remove_handle(multi_, t->easy);
        active_.clear();
    }

    CURLM* multi_ = nullptr;
    std::mutex mutex_;
    bool stopping_ = false;
    std::vector<std::shared_ptr<Transfer>> toAdd_, toRemove_;
    std::thread thread_;
    std::unordered_map<Transfer*, std::shared_ptr<Transfer>> active_;  // I/O thread only
};

class StreamCall final : public HttpCall {
public:
    explicit StreamCall(std::shared_ptr<Transfer> t) : transfer_(std::move(t)) {}
    void cancel() override { IoThread::instance().cancel(transfer_); }

private:
    std::shared_ptr<Transfer> transfer_;
};

// Collects one whole answer in memory for httpExchange.
class BufferingHandler final : public HttpStreamHandler {
public:
    using Done = std::function<void(HttpResult, std::string)>;
    BufferingHandler(const HttpRequestSpec& options, Done done) : max_(options.maxBodyBytes), done_(std::move(done)) {
        result_.response.url = options.url;
    }

    void onResponse(const HttpResponseHead& head) override {
        auto& r = result_.response;
        r.status = head.status;
        r.mimeType = head.mimeType;
        r.url = head.url;
        // The body handed on is decoded, so the headers that describe the encoded one would mislead.
        bool encoded = false;
        for (const auto& [name, value] : head.headers)
            encoded = encoded || (strcasecmp(name.c_str(), "Content-Encoding") == 0 && strcasecmp(value.c_str(), "identity") != 0);
        for (const auto& h : head.headers) {
            const bool stale = strcasecmp(h.first.c_str(), "Content-Encoding") == 0 ||
                               strcasecmp(h.first.c_str(), "Content-Length") == 0;
            if (!(encoded && stale)) r.headers.push_back(h);
        }
    }
    bool onData(std::string_view chunk) override {
        if (result_.response.body.size() + chunk.size() > max_) {
            tooLarge_ = true;
            return false;
        }
        result_.response.body.append(chunk);
        return true;
    }
    void onEnd(const HttpStreamEnd& end) override {
        result_.error = end.error;
        if (tooLarge_) {
            result_.error = HttpError{HttpError::Code::TooLarge,
                                      "answer of " + result_.response.url + " exceeds " + std::to_string(max_) + " bytes"};
            result_.response.body.clear();
        }
        auto done = std::move(done_);
        done(std::move(result_), end.redirectTarget);
    }

private:
    size_t max_;
    bool tooLarge_ = false;
    HttpResult result_;
    Done done_;
};

// A call that never reached the I/O thread.
class FinishedCall final : public HttpCall {
public:
    void cancel() override {}
};

}  // namespace

std::string mimeTypeOf(std::string_view contentType) {
    std::string type = trim(contentType.substr(0, contentType.find(';')));
    std::transform(type.begin(), type.end(), type.begin(), [](unsigned char c) { return std::tolower(c); });
    return type;
}

HttpCallPtr httpStream(HttpStreamRequest request, std::shared_ptr<HttpStreamHandler> handler) {
    auto transfer = makeTransfer(request, handler);
    if (!transfer || !IoThread::instance().submit(transfer)) {
        HttpStreamEnd end;
        end.error = HttpError{HttpError::Code::Other, "the HTTP transport is not running"};
        handler->onEnd(end);
        return std::make_shared<FinishedCall>();
    }
    return std::make_shared<StreamCall>(std::move(transfer));
}

HttpCallPtr httpExchange(const HttpRequestSpec& options, std::function<void(HttpResult, std::string)> done) {
    HttpStreamRequest r;
    r.url = options.url;
    r.method = options.method;
    r.headers = options.headers;
    r.body = options.body;
    r.connectTimeout = options.timeout;
    r.totalTimeout = options.timeout;
    r.stallTimeout = std::chrono::milliseconds(0);
    r.acceptCompressed = true;
    return httpStream(std::move(r), std::make_shared<BufferingHandler>(options, std::move(done)));
}

}  // namespace ql
