#pragma once
// The loader behind httpLoad, and so under every request of the program's own (API client, article
// pages, pictures): it applies the response cache's serve rule to each hop, stores what the network
// answers, and follows redirects itself so that each redirect is stored under the URL that gave it.
//
// Blocking work (reachability probes, cache files) runs on a few loader threads, the transfers on the
// transport's I/O thread; `done` is posted to the caller's queue and dropped unseen after cancel().

#include "platform/HttpTransport.h"

namespace ql {

class CachedLoader {
public:
    static constexpr int kMaxRedirects = 10;

    static HttpCallPtr load(HttpRequestSpec options, std::function<void(HttpResult)> done, MainQueue& queue);
};

}  // namespace ql
