#include "platform/Analytics.h"

#include "HTTP/Endpoints.h"
#include "platform/HttpTransport.h"

#include <nlohmann/json.hpp>

#include <chrono>
#include <mutex>

namespace ql::Analytics {

namespace {
std::mutex g_mutex;
std::string g_key, g_channel;
bool g_started = false;

void send(const char* event, const std::string& page) {
    nlohmann::json body;
    {
        std::lock_guard lock(g_mutex);
        if (!g_started) return;
        body = {{"appKey", g_key}, {"channel", g_channel}};
    }
    body["event"] = event;
    body["page"] = page;
    body["time"] = std::chrono::duration_cast<std::chrono::milliseconds>(
                       std::chrono::system_clock::now().time_since_epoch()).count();
    HttpRequestSpec request;
    request.url = Endpoints::analyticsUrl();
    request.method = "POST";
    request.body = body.dump();
    request.headers = {{"Content-Type", "application/json"}};
    request.useResponseCache = false;
    request.timeout = std::chrono::seconds(5);
    // Fire and forget: the call keeps itself alive until it ends, and the answer is ignored.
    httpLoad(std::move(request), [](HttpResult) {});
}
}  // namespace

void start(const std::string& appKey, const std::string& channel) {
    std::lock_guard lock(g_mutex);
    g_key = appKey;
    g_channel = channel;
    g_started = true;
}

void beginLogPageView(const std::string& page) { send("pageBegin", page); }
void endLogPageView(const std::string& page) { send("pageEnd", page); }

}  // namespace ql::Analytics
