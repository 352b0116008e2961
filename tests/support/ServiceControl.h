#pragma once
// Talks to the control API of a running qinglan-service (fault switches, announced version,
// recorded events) straight over HTTP, past the response cache.

#include "platform/HttpTransport.h"

#include <nlohmann/json.hpp>

#include <string>

namespace qltest {

inline ql::HttpResult controlPost(const std::string& mainHost, const std::string& path, const nlohmann::json& body) {
    ql::HttpRequestSpec spec;
    spec.url = "http://" + mainHost + path;
    spec.method = "POST";
    spec.body = body.dump();
    spec.headers = {{"Content-Type", "application/json"}};
    spec.useResponseCache = false;
    return ql::httpLoadSync(spec);
}

inline nlohmann::json controlGet(const std::string& mainHost, const std::string& pathAndQuery) {
    ql::HttpRequestSpec spec;
    spec.url = "http://" + mainHost + pathAndQuery;
    spec.useResponseCache = false;
    auto result = ql::httpLoadSync(spec);
    return nlohmann::json::parse(result.response.body, nullptr, false);
}

}  // namespace qltest
