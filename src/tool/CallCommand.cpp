#include "ToolCommands.h"

#include "HTTP/Endpoints.h"
#include "HTTP/QLHttpRequest.h"
#include "HTTP/RecordJson.h"
#include "platform/AppConfig.h"
#include "platform/Preferences.h"
#include "platform/RunLoop.h"
#include "platform/SandboxPaths.h"

#include <iostream>

namespace qltool {

namespace {

constexpr const char* kUsage =
    "usage: qinglan-tool call [--config FILE] [--host main|content|site] [--identify TAG] ENDPOINT PARAMS\n"
    "  Sends ENDPOINT (a file name such as consult.php) with the parameter string PARAMS through the\n"
    "  API client and the response cache, and prints each callback as one JSON line.\n"
    "  --config FILE   client configuration (default: $QINGLAN_CONFIG, else the built-in hosts)\n"
    "  --host H        the host to ask (default: the endpoint's own host)\n"
    "  --identify TAG  the request's tag (guokao, xingce, shenglun, mianshi)\n"
    "  Exit status 1 when the request fails.\n";

using nlohmann::json;

// Prints every callback as it arrives.
class PrintingDelegate : public ql::GetArrayDelegate {
public:
    bool done = false;
    bool failed = false;

    void getJson(const std::optional<json>& answer) override {
        print({{"callback", "getJson"}, {"answer", answer ? *answer : json()}}, false);
    }
    void getArray(const std::optional<ql::RecordList>& items) override {
        print({{"callback", "getArray"}, {"records", items ? ql::toJson(*items) : json()}});
    }
    void getArrayClass(const ql::RecordList& i) override { list("getArrayClass", i); }
    void getArrayHeadline(const ql::RecordList& i) override { list("getArrayHeadline", i); }
    void getArrayGuokao(const ql::RecordList& i) override { list("getArrayGuokao", i); }
    void getArrayXingce(const ql::RecordList& i) override { list("getArrayXingce", i); }
    void getArrayShenglun(const ql::RecordList& i) override { list("getArrayShenglun", i); }
    void getArrayMianshi(const ql::RecordList& i) override { list("getArrayMianshi", i); }
    void getArrayOrdernum(const ql::RecordList& i) override { list("getArrayOrdernum", i); }
    void getArrayUserInfo(const ql::RecordList& i) override { list("getArrayUserInfo", i); }
    void getDidFailWithError(const std::optional<ql::HttpError>& error) override {
        failed = true;
        print({{"callback", "getDidFailWithError"}, {"error", error ? json(error->message) : json()}});
    }

private:
    void list(const char* name, const ql::RecordList& items) {
        print({{"callback", name}, {"records", ql::toJson(items)}});
    }
    void print(const json& line, bool last = true) {
        std::cout << line.dump(-1, ' ', false, json::error_handler_t::replace) << std::endl;
        done |= last;
    }
};

}  // namespace

int call(const Args& args) {
    if (wantsHelp(args, kUsage)) return 0;
    std::string configPath, hostName, identify;
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        const auto& a = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) return false;
            out = args[++i];
            return true;
        };
        if (a == "--config") {
            if (!value(configPath)) return badArguments("--config needs a FILE", kUsage);
        } else if (a == "--host") {
            if (!value(hostName)) return badArguments("--host needs main, content or site", kUsage);
        } else if (a == "--identify") {
            if (!value(identify)) return badArguments("--identify needs a TAG", kUsage);
        } else if (a.starts_with("--")) {
            return badArguments("unknown option " + a, kUsage);
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() != 2) return badArguments("ENDPOINT and PARAMS are needed", kUsage);
    const std::string& endpoint = positional[0];
    if (endpoint.empty() || endpoint.find('/') != std::string::npos)
        return badArguments("ENDPOINT is a file name such as consult.php", kUsage);

    ql::Host host = ql::Endpoints::defaultHost(endpoint);
    if (hostName == "main") host = ql::Host::Main;
    else if (hostName == "content") host = ql::Host::Content;
    else if (hostName == "site") host = ql::Host::Site;
    else if (!hostName.empty()) return badArguments("--host is main, content or site", kUsage);

    if (!useConfiguration(configPath)) return 2;
    ql::paths::prepare();

    ql::RunLoop loop;
    ql::MainQueue::setMain(&loop);
    PrintingDelegate delegate;
    auto request = ql::QLHttpRequest::create();
    request->setDelegate(&delegate);
    request->setIdentify(identify);
    request->getUrl(ql::Endpoints::apiUrl(host, endpoint, positional[1]));
    // The client times out after 10 seconds; the loop waits a little longer.
    loop.runUntil([&] { return delegate.done; }, std::chrono::seconds(15));
    ql::Preferences::standard().synchronize();
    ql::MainQueue::setMain(nullptr);
    if (!delegate.done) {
        std::cerr << "qinglan-tool: no answer\n";
        return 1;
    }
    return delegate.failed ? 1 : 0;
}

}  // namespace qltool
