// The API client end to end: the real transport, the response cache and the decoding against
// qinglan-service on loopback.

#include "HTTP/Endpoints.h"
#include "HTTP/QLHttpRequest.h"
#include "ServiceControl.h"
#include "TestSupport.h"
#include "platform/NetworkActivity.h"
#include "platform/Preferences.h"
#include "platform/RunLoop.h"
#include "platform/SandboxPaths.h"

#include <gtest/gtest.h>

using namespace ql;
using namespace std::chrono_literals;

namespace {

struct Recorder : GetArrayDelegate {
    std::vector<std::string> calls;
    RecordList records;
    std::optional<HttpError> error;

    void getJson(const std::optional<nlohmann::json>& a) override {
        calls.push_back(a ? "getJson " + std::to_string(a->size()) : "getJson nothing");
    }
    void getArray(const std::optional<RecordList>& items) override {
        calls.push_back(items ? "getArray " + std::to_string(items->size()) : "getArray nothing");
        if (items) records = *items;
    }
    void getArrayXingce(const RecordList& items) override {
        calls.push_back("getArrayXingce " + std::to_string(items.size()));
        records = items;
    }
    void getDidFailWithError(const std::optional<HttpError>& e) override {
        calls.push_back("fail");
        error = e;
    }
};

class QLHttpRequestTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(service.ok());
        AppConfig::setCurrent(service.config());
        paths::prepare();
        Preferences::standard().setObject("returncode", "1");
        MainQueue::setMain(&loop);
        NetworkActivity::reset();
    }
    void TearDown() override {
        MainQueue::setMain(nullptr);
        Preferences::standard().open({});
        AppConfig::setCurrent({});
    }

    // Sends one request and runs the loop until its last callback (or the time-out).
    std::vector<std::string> fetch(Recorder& rec, const std::string& url, const std::string& identify = {},
                                   bool threadVariant = false) {
        std::shared_ptr<QLHttpRequest> request =
            threadVariant ? std::static_pointer_cast<QLHttpRequest>(QLHttpRequestThread::create()) : QLHttpRequest::create();
        request->setDelegate(&rec);
        request->setIdentify(identify);
        NetworkActivity::on();
        request->getUrl(url);
        request.reset();  // the request keeps itself alive while it loads
        loop.runUntil([&] { return !rec.calls.empty() && rec.calls.back().rfind("getJson", 0) != 0; }, 15s);
        return rec.calls;
    }

    std::string url(Host host, const char* file, const std::string& params) {
        return Endpoints::apiUrl(host, file, params);
    }

    qltest::ServiceProcess service;
    RunLoop loop;
};

using Calls = std::vector<std::string>;

}  // namespace

TEST_F(QLHttpRequestTest, AnswersReachTheDelegateOnTheMainQueue) {
    Recorder news;
    auto calls = fetch(news, url(Host::Content, "consult.php", "typeid=189"));
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].rfind("getJson", 0), 0u);
    ASSERT_FALSE(news.records.empty());
    for (const auto& r : news.records) {
        const auto& item = std::get<QLFirstview>(r);
        EXPECT_FALSE(textOf(item.classTitle).empty());
        EXPECT_EQ(textOf(item.classImg), "189");
    }
    EXPECT_FALSE(NetworkActivity::visible());

    Recorder tagged;
    EXPECT_EQ(fetch(tagged, url(Host::Content, "consult.php", "typeid=1826"), "xingce").at(0).rfind("getArrayXingce", 0), 0u);
    EXPECT_FALSE(tagged.records.empty());

    // An error page is decoded like any answer: an empty object and an empty list.
    qltest::controlPost(service.config().hosts.main, "/control/faults",
                        {{"host", "content"}, {"status500", true}, {"once", true}});
    Recorder errorPage;
    EXPECT_EQ(fetch(errorPage, url(Host::Content, "consult.php", "typeid=189")), (Calls{"getJson 0", "getArray 0"}));
}

TEST_F(QLHttpRequestTest, CancelledOrAbandonedRequestsNeverCallBack) {
    qltest::controlPost(service.config().hosts.main, "/control/faults", {{"host", "*"}, {"delayMs", 400}});
    Recorder cancelled;
    auto request = QLHttpRequest::create();
    request->setDelegate(&cancelled);
    NetworkActivity::on();
    request->getUrl(url(Host::Main, "consult.php", "typeid=189"));
    request->test();
    EXPECT_FALSE(NetworkActivity::visible());

    // A delegate destroyed while its request loads is not called (and nothing crashes).
    auto gone = std::make_unique<Recorder>();
    auto orphan = QLHttpRequest::create();
    orphan->setDelegate(gone.get());
    orphan->getUrl(url(Host::Main, "consult.php", "typeid=1826"));
    gone.reset();

    loop.runUntil([&] { return !orphan->isLoading(); }, 5s);
    EXPECT_FALSE(orphan->isLoading());
    loop.runUntil([] { return false; }, 600ms);
    EXPECT_TRUE(cancelled.calls.empty());
    EXPECT_TRUE(orphan->classItems().has_value());  // it was decoded, for nobody
}

TEST_F(QLHttpRequestTest, StoredAnswersServeWhileTheServiceIsDown) {
    auto mainUrl = url(Host::Main, "consult.php", "typeid=189");
    auto contentUrl = url(Host::Content, "consult.php", "typeid=189");
    Recorder online, onlineContent;
    fetch(online, mainUrl);
    fetch(onlineContent, contentUrl);
    ASSERT_FALSE(online.records.empty());

    service.stop();

    Recorder offline;
    EXPECT_EQ(fetch(offline, mainUrl), online.calls);
    EXPECT_EQ(offline.records.size(), online.records.size());

    // The content host's answers are stored but never served.
    Recorder content;
    EXPECT_EQ(fetch(content, contentUrl), (Calls{"fail"}));

    Recorder never;
    EXPECT_EQ(fetch(never, url(Host::Main, "consult.php", "typeid=1827")), (Calls{"fail"}));
    ASSERT_TRUE(never.error);
    EXPECT_EQ(never.error->code, HttpError::Code::CannotConnectToHost);

    // The thread variant reports a network failure as empty answers.
    Recorder threadVariant;
    EXPECT_EQ(fetch(threadVariant, url(Host::Main, "consult.php", "typeid=1828"), "mianshi", true),
              (Calls{"getJson nothing", "getArray nothing"}));
}
