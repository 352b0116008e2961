#include "Faults.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

namespace qlsvc {

std::atomic<bool> g_stopping{false};

std::optional<Fault> Fault::fromJson(const nlohmann::json& j, std::string* error) {
    if (!j.is_object()) {
        *error = "a fault is a JSON object";
        return std::nullopt;
    }
    Fault f;
    try {
        f.host = j.value("host", std::string("*"));
        f.path = j.value("path", std::string());
        f.delayMs = j.value("delayMs", 0);
        f.status500 = j.value("status500", false);
        f.garbage = j.value("garbage", false);
        f.dropAfterBytes = j.value("dropAfterBytes", -1LL);
        f.slowBytesPerSec = j.value("slowBytesPerSec", 0LL);
        f.ignoreRange = j.value("ignoreRange", false);
        f.wrongStart = j.value("wrongStart", false);
        f.wrongTotal = j.value("wrongTotal", false);
        f.force416 = j.value("force416", false);
        f.cutAfterBytes = j.value("cutAfterBytes", -1LL);
        f.declareLength = j.value("declareLength", true);
        f.once = j.value("once", false);
    } catch (const nlohmann::json::exception& e) {
        *error = std::string("bad fault field: ") + e.what();
        return std::nullopt;
    }
    static const char* hosts[] = {"*", "main", "content", "site", "update", "video"};
    if (std::none_of(std::begin(hosts), std::end(hosts), [&](const char* h) { return f.host == h; })) {
        *error = "unknown host '" + f.host + "'";
        return std::nullopt;
    }
    return f;
}

nlohmann::json Fault::toJson() const {
    return {{"host", host},           {"path", path},
            {"delayMs", delayMs},     {"status500", status500},
            {"garbage", garbage},     {"dropAfterBytes", dropAfterBytes},
            {"slowBytesPerSec", slowBytesPerSec}, {"ignoreRange", ignoreRange},
            {"wrongStart", wrongStart}, {"wrongTotal", wrongTotal},
            {"force416", force416},   {"cutAfterBytes", cutAfterBytes},
            {"declareLength", declareLength}, {"once", once}};
}

void FaultRegistry::add(Fault fault) {
    std::lock_guard lock(mutex_);
    faults_.push_back(std::move(fault));
}

void FaultRegistry::reset() {
    std::lock_guard lock(mutex_);
    faults_.clear();
}

std::optional<Fault> FaultRegistry::take(const std::string& host, const std::string& path) {
    std::lock_guard lock(mutex_);
    for (auto it = faults_.begin(); it != faults_.end(); ++it) {
        if ((it->host == "*" || it->host == host) && path.compare(0, it->path.size(), it->path) == 0) {
            Fault f = *it;
            if (f.once) faults_.erase(it);
            return f;
        }
    }
    return std::nullopt;
}

nlohmann::json FaultRegistry::list() const {
    std::lock_guard lock(mutex_);
    nlohmann::json out = nlohmann::json::array();
    for (const auto& f : faults_) out.push_back(f.toJson());
    return out;
}

void interruptibleSleep(long long ms) {
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!g_stopping && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::min(std::chrono::milliseconds(20),
                                             std::chrono::duration_cast<std::chrono::milliseconds>(
                                                 until - std::chrono::steady_clock::now()) + std::chrono::milliseconds(1)));
}

bool applyAnswerFaults(httplib::Response& res, const std::optional<Fault>& fault) {
    if (!fault) return false;
    if (fault->delayMs > 0) interruptibleSleep(fault->delayMs);
    if (fault->status500) {
        res.status = 500;
        res.set_content("<html><head><title>500 Internal Server Error</title></head><body>"
                        "<h1>Internal Server Error</h1><p>The server encountered an internal error.</p></body></html>",
                        "text/html; charset=utf-8");
        return true;
    }
    if (fault->garbage) {
        res.status = 200;
        res.set_content("<b>Warning</b>: mysql_connect(): Too many connections in /API/qlmobile/conn.php on line 7",
                        "text/html; charset=utf-8");
        return true;
    }
    return false;
}

void deliverBody(httplib::Response& res, std::string body, const std::string& contentType,
                 const std::optional<Fault>& fault) {
    if (!fault || (fault->dropAfterBytes < 0 && fault->slowBytesPerSec <= 0)) {
        res.set_content(std::move(body), contentType);
        return;
    }
    auto data = std::make_shared<std::string>(std::move(body));
    long long drop = fault->dropAfterBytes;
    long long rate = fault->slowBytesPerSec;
    res.set_content_provider(data->size(), contentType,
                             [data, drop, rate](size_t offset, size_t length, httplib::DataSink& sink) {
                                 if (drop >= 0 && offset >= static_cast<size_t>(drop)) return false;
                                 size_t n = std::min<size_t>(length, 16384);
                                 if (rate > 0) n = std::max<size_t>(1, std::min<size_t>(n, static_cast<size_t>(rate / 10)));
                                 if (drop >= 0) n = std::min<size_t>(n, static_cast<size_t>(drop) - offset);
                                 if (n > 0 && !sink.write(data->data() + offset, n)) return false;
                                 if (rate > 0) interruptibleSleep(std::max<long long>(1, static_cast<long long>(n) * 1000 / rate));
                                 return !g_stopping.load();
                             });
}

}  // namespace qlsvc
