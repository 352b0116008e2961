#pragma once
// HTTP for the whole app: one libcurl I/O thread carries every transfer.
//
//  - httpLoad / httpLoadSync: a whole answer in memory, through the response cache unless the request
//    opts out; redirects are followed by the loader so that the cache sees each hop.
//  - httpExchange: one request/answer on the wire, no cache, no redirect following (the loader's
//    building block).
//  - httpStream: a long download that hands its body over chunk by chunk, resumable.

#include "platform/MainQueue.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ql {

using HttpHeaders = std::vector<std::pair<std::string, std::string>>;

struct HttpError {
    enum class Code { CannotConnectToHost, TimedOut, HostNotFound, ConnectionLost, BadUrl, TooLarge, Other };
    Code code = Code::Other;
    std::string message;          // readable, e.g. "could not connect to 127.0.0.1:8701"
};

struct HttpResponse {
    long status = 0;              // HTTP status (0 when none arrived)
    std::string mimeType;         // the Content-Type without parameters, lower case
    HttpHeaders headers;          // as received, in order
    std::string body;             // decoded (gzip is undone by the transport)
    std::string url;              // the final URL (after redirects)
};

struct HttpRequestSpec {
    std::string url;
    std::string method = "GET";
    std::chrono::milliseconds timeout{10000};
    HttpHeaders headers;
    std::string body;             // for POST
    bool useResponseCache = true; // false: straight to the network, never stored (version file, analytics, login)
    size_t maxBodyBytes = 16 * 1024 * 1024;  // larger bodies fail with TooLarge (no unbounded memory)
};

struct HttpResult {
    std::optional<HttpError> error;   // transport failure; an HTTP 500 is NOT an error here
    HttpResponse response;
    bool fromCache = false;
};

class HttpCall {                      // handle of a request in flight
public:
    virtual ~HttpCall() = default;
    virtual void cancel() = 0;        // httpLoad: call on the queue's thread; after it returns, `done` never runs
};
using HttpCallPtr = std::shared_ptr<HttpCall>;

// Starts the request (through the response cache when options.useResponseCache) and returns at once;
// `done` runs exactly once on `queue` unless cancelled first. Defined with the response cache, which
// is the interception point of all loading.
HttpCallPtr httpLoad(HttpRequestSpec options, std::function<void(HttpResult)> done, MainQueue& queue = MainQueue::main());
// Blocking variant (for the few plain synchronous fetches); honours the timeout of each hop and never
// needs the main queue. Must not be called from a transport callback.
HttpResult httpLoadSync(HttpRequestSpec options);

// One exchange on the wire: no response cache, no redirect following. `done` runs on the I/O thread
// (so it must be quick) unless cancel() ran first -- or at once, when the transport has already shut
// down at exit. `redirectTarget` is the absolute target of a 3xx answer that named one, else empty.
HttpCallPtr httpExchange(const HttpRequestSpec& options,
                         std::function<void(HttpResult result, std::string redirectTarget)> done);

// ---- Streaming (lesson downloads) ----

struct HttpStreamRequest {
    std::string url;
    std::string method = "GET";
    HttpHeaders headers;
    std::string body;
    uint64_t resumeFrom = 0;                           // asks for the bytes from this offset on
    std::chrono::milliseconds connectTimeout{10000};
    std::chrono::milliseconds stallTimeout{30000};     // fewer than 1 byte/s for this long: TimedOut (0: never)
    std::chrono::milliseconds totalTimeout{0};         // 0: no limit on the whole transfer
    bool acceptCompressed = false;                     // ask for gzip (never with a resume offset)
};

struct HttpResponseHead {
    long status = 0;
    std::string mimeType;
    HttpHeaders headers;
    std::string url;
    std::optional<uint64_t> contentLength;  // of this answer's body (after the offset, for a 206)
};

struct HttpStreamEnd {
    std::optional<HttpError> error;
    uint64_t bytesReceived = 0;             // body bytes handed to onData
    std::string redirectTarget;             // absolute target of a 3xx with Location
};

// Called on the I/O thread, one call at a time, in this order: onResponse (once, before any body;
// also for an answer without body), onData per chunk, onEnd (once). Nothing is called after
// cancel() returns. The callbacks must not block for long: every transfer shares the thread.
class HttpStreamHandler {
public:
    virtual ~HttpStreamHandler() = default;
    virtual void onResponse(const HttpResponseHead& head) { (void)head; }
    virtual bool onData(std::string_view chunk) = 0;   // false aborts: onEnd follows with an error
    virtual void onEnd(const HttpStreamEnd& end) = 0;
};

// cancel() may be called from any thread, the handler's own callbacks included. A request that cannot
// start (bad options, transport shut down) ends at once, with onEnd on the calling thread.
HttpCallPtr httpStream(HttpStreamRequest request, std::shared_ptr<HttpStreamHandler> handler);

// The MIME type of a Content-Type value: "Text/HTML; charset=utf-8" -> "text/html".
std::string mimeTypeOf(std::string_view contentType);

}  // namespace ql
