#include "HTTP/Endpoints.h"
#include "platform/AppConfig.h"
#include "protocol/Envelope.h"

#include <gtest/gtest.h>

using namespace ql;

TEST(Endpoints, AddressesAreStableAndCarryOnlyP) {
    AppConfig config;
    config.hosts.main = "127.0.0.1:9001";
    config.hosts.content = "localhost:9002";
    AppConfig::setCurrent(config);
    auto url = Endpoints::apiUrl(Host::Content, "consult.php", Endpoints::consultParams("189"));
    EXPECT_EQ(url, Endpoints::apiUrl(Host::Content, "consult.php", "typeid=189"));
    ASSERT_TRUE(url.starts_with("http://localhost:9002/API/qlmobile/consult.php?p="));
    auto p = url.substr(url.find("?p=") + 3);
    EXPECT_EQ(Envelope::TripleDES(p, Envelope::kDecrypt), "typeid=189");
    EXPECT_NE(url, Endpoints::apiUrl(Host::Main, "consult.php", "typeid=189"));

    // Login and registration carry raw UTF-8 inside the cipher text.
    auto login = Endpoints::apiUrlRaw(Host::Main, "login.php", Endpoints::loginParams("张三", "a b"));
    EXPECT_EQ(Envelope::TripleDES(login.substr(login.find("?p=") + 3), Envelope::kDecrypt),
              "username=张三&password=a b");
    EXPECT_EQ(Endpoints::lessonListParams(5301, 12, "page=1"), "userid=5301&classid=12&page=1");
    EXPECT_EQ(Endpoints::wapPayUrl("u", "10", "N1", "s"),
              "http://127.0.0.1:9001/api/qlmobile/wappay2/alipayto.php?out_user=u&total_fee=10&out_trade_no=N1&subject=s");
    AppConfig::setCurrent({});
}

TEST(Pager, NextGrowsTheParameterString) {
    Pager pager(Endpoints::openClassListParams(6));
    EXPECT_TRUE(pager.advance({{"next", 1}}));
    EXPECT_TRUE(pager.advance({{"next", "1"}}));
    EXPECT_TRUE(pager.advance({{"next", 1}}));
    EXPECT_EQ(pager.params(), "openclassid=6&page=2&page=3&page=4");
    EXPECT_EQ(pager.page(), 4);
    EXPECT_FALSE(pager.advance({{"next", 0}}));
    EXPECT_EQ(pager.page(), 1);
    EXPECT_FALSE(pager.advance(nlohmann::json::object()));
    pager.reset("openclassid=1");
    EXPECT_EQ(pager.params(), "openclassid=1");
}
