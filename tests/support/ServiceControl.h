#pragma once
// Talks to the control API of a running qinglan-service (fault switches, announced version,
// recorded events) straight over HTTP, past the response cache.

#include "platform/HttpTransport.h"

#include <nlohmann/json.hpp>

#include <string>

namespace qltest {

inline ql::HttpResult controlPost(const std::string& mainHost, const std::string& path, const nlohmann::json& body) {
    ql::HttpRequestSpec options;
    options.url = "http://" + mainHost + path;
    options.method = "POST";
    options.body = body.dump();
    options.headers = {{"Content-Type", "application/json"}};
    options.useResponseCache = false;
    return ql::httpLoadSync(options);
}

inline nlohmann::json controlGet(const std::string& mainHost, const std::string& pathAndQuery) {
    ql::HttpRequestSpec options;
    options.url = "http://" + mainHost + pathAndQuery;
    options.useResponseCache = false;
    auto result = ql::httpLoadSync(options);
    return nlohmann::json::parse(result.response.body, nullptr, false);
}

}  // namespace qltest
