#pragma once
// Fault switches that tests set at run time (see Control.cpp for the control API), and the
// delivery of an answer body under them: delays, 500 pages, garbage, dropped and slow bodies.

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace qlsvc {

struct Fault {
    std::string host = "*";   // "main", "content", "site", "update", "video" or "*"
    std::string path;         // prefix of the request path; empty matches every path
    int delayMs = 0;
    bool status500 = false;
    bool garbage = false;
    long long dropAfterBytes = -1;   // close the connection after N body bytes
    long long slowBytesPerSec = 0;
    // Video host only:
    bool ignoreRange = false;        // 200 with the whole file although a range was asked for
    bool wrongStart = false;         // 206 for another start than the one asked for
    bool wrongTotal = false;         // 206 whose Content-Range states a wrong total
    bool force416 = false;           // 416 for a satisfiable range
    long long cutAfterBytes = -1;    // body ends after N bytes ...
    bool declareLength = true;       // ... with the full Content-Length declared, or none at all
    bool once = false;

    static std::optional<Fault> fromJson(const nlohmann::json& j, std::string* error);
    nlohmann::json toJson() const;
};

class FaultRegistry {
public:
    void add(Fault fault);
    void reset();
    // The first fault that matches; a fault marked `once` is removed when it is returned.
    std::optional<Fault> take(const std::string& host, const std::string& path);
    nlohmann::json list() const;

private:
    mutable std::mutex mutex_;
    std::vector<Fault> faults_;
};

// Set when the service is stopping, so that slow bodies end early.
extern std::atomic<bool> g_stopping;

// Puts `body` into the response, honouring the body faults (dropAfterBytes, slowBytesPerSec).
void deliverBody(httplib::Response& res, std::string body, const std::string& contentType,
                 const std::optional<Fault>& fault);

// Applies the faults that replace the answer (delay first, then 500 or garbage). Returns true
// when the response has been filled and the handler must not run.
bool applyAnswerFaults(httplib::Response& res, const std::optional<Fault>& fault);

// Sleeps for `ms` in small steps, giving up when the service stops.
void interruptibleSleep(long long ms);

}  // namespace qlsvc
