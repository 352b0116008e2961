#include "TestSupport.h"
#include "HTTP/Endpoints.h"
#include "HTTP/QLHttpRequest.h"
#include "news/ColumnFiles.h"
#include "news/NewsColumns.h"
#include "platform/Preferences.h"
#include "platform/RunLoop.h"
#include "platform/SandboxPaths.h"

#include <gtest/gtest.h>

using namespace ql;

TEST(NewsColumns, RecommendedParametersFollowTheSubscribedOrder) {
    EXPECT_EQ(NewsColumns::recommendParams({"头条", "国考", "行测", "申论", "面试", "北京"}),
              "typeid[]=189&typeid[]=1826&typeid[]=1827&typeid[]=1828&typeid[]=1831&typeid[]=2044&");
    EXPECT_EQ(NewsColumns::recommendParams({"四川", "头条"}), "typeid[]=2044&");  // no fragment for these
    EXPECT_EQ(NewsColumns::recommendParams({"重庆", "时政"}), "typeid[]=1899&typeid[]=2001&typeid[]=2044&");
}

TEST(NewsColumns, EveryShippedColumnHasAScreen) {
    qltest::TempDir dir;
    AppConfig config;
    config.dataDir = dir.path().string();
    AppConfig::setCurrent(config);
    ColumnFiles::ensure();
    for (const char* file : {ColumnFiles::kSubscribed, ColumnFiles::kOthers}) {
        for (const auto& name : ColumnFiles::read(file)) EXPECT_TRUE(NewsColumns::columnFor(name)) << name;
    }
    EXPECT_EQ(NewsColumns::columnFor("国考")->typeId, "189");
    EXPECT_EQ(NewsColumns::columnFor("内蒙古")->screen, NewsColumns::Screen::ShengShi);
    EXPECT_EQ(NewsColumns::columnFor("头条")->screen, NewsColumns::Screen::Headlines);
    EXPECT_FALSE(NewsColumns::columnFor("体育"));
    AppConfig::setCurrent({});
}

TEST(NewsColumns, TheServiceHasNewsForEveryColumn) {
    qltest::ServiceProcess service;
    ASSERT_TRUE(service.ok());
    AppConfig::setCurrent(service.config());
    paths::prepare();
    RunLoop loop;
    MainQueue::setMain(&loop);
    struct Counter : GetArrayDelegate {
        std::optional<size_t> count;
        void getArray(const std::optional<RecordList>& items) override { count = items ? items->size() : 0; }
        void getDidFailWithError(const std::optional<HttpError>&) override { count = 0; }
    };
    auto names = ColumnFiles::read(ColumnFiles::kSubscribed);
    auto others = ColumnFiles::read(ColumnFiles::kOthers);
    names.insert(names.end(), others.begin(), others.end());
    for (const auto& name : names) {
        auto column = NewsColumns::columnFor(name);
        if (!column || column->typeId.empty()) continue;
        Counter counter;
        auto request = QLHttpRequest::create();
        request->setDelegate(&counter);
        request->getUrl(Endpoints::apiUrl(Host::Content, "consult.php", Endpoints::consultParams(column->typeId)));
        loop.runUntil([&] { return counter.count.has_value(); }, std::chrono::seconds(10));
        EXPECT_GT(counter.count.value_or(0), 0u) << name;
    }
    Counter recommended;
    auto request = QLHttpRequest::create();
    request->setDelegate(&recommended);
    request->getUrl(Endpoints::apiUrl(Host::Content, "consult_recommend.php",
                                      NewsColumns::recommendParams(ColumnFiles::read(ColumnFiles::kSubscribed))));
    loop.runUntil([&] { return recommended.count.has_value(); }, std::chrono::seconds(10));
    EXPECT_GT(recommended.count.value_or(0), 0u);
    MainQueue::setMain(nullptr);
    Preferences::standard().open({});
    AppConfig::setCurrent({});
}
