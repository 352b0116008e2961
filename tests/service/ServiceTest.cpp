// qinglan-service over loopback: every enciphered endpoint, paging, both parameter orders,
// accounts, orders, the video host with ranges, the fault switches and the command line.

#include "platform/Sha256.h"
#include "TestSupport.h"
#include "protocol/Envelope.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <cstring>
#include <memory>
#include <set>
#include <unistd.h>

namespace {

using nlohmann::json;

class ServiceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        service_ = new qltest::ServiceProcess();
        ASSERT_TRUE(service_->ok());
    }
    static void TearDownTestSuite() {
        delete service_;
        service_ = nullptr;
    }
    void TearDown() override { control("/control/reset", json::object()); }

    static const ql::Hosts& hosts() { return service_->config().hosts; }
    static httplib::Client client(const std::string& host) {
        httplib::Client c("http://" + host);
        c.set_connection_timeout(5);
        c.set_read_timeout(10);
        return c;
    }
    static std::string apiPath(const std::string& file, const std::string& p) { return "/API/qlmobile/" + file + "?p=" + p; }

    // Sends an enciphered request and opens the answer; null when it cannot be opened.
    static json call(const std::string& host, const std::string& file, const std::string& params, bool raw = false) {
        auto res = client(host).Get(apiPath(file, raw ? ql::Envelope::sealRaw(params) : ql::Envelope::seal(params)));
        if (!res || res->status != 200) return nullptr;
        auto text = ql::Envelope::open(res->body);
        if (!text) return nullptr;
        return json::parse(*text, nullptr, false);
    }
    static json control(const std::string& path, const json& body) {
        auto res = client(hosts().main).Post(path, body.dump(), "application/json");
        return res ? json::parse(res->body, nullptr, false) : json();
    }
    static void fault(const json& f) { ASSERT_EQ(control("/control/faults", f)["ok"], true); }

    static qltest::ServiceProcess* service_;
};
qltest::ServiceProcess* ServiceTest::service_ = nullptr;

std::string sha256(const std::string& data) { return ql::Sha256::of(data); }

// The client's video-id extraction, written independently from the service's address builder.
struct Ids {
    std::string uid, vid;
};
std::optional<Ids> extract(const std::string& url, bool openCourse) {
    auto at = [&](size_t pos, const char* text) { return url.compare(pos, std::strlen(text), text) == 0 && url.size() >= pos + std::strlen(text); };
    auto sub = [&](size_t pos, size_t n) { return url.size() >= pos + n ? url.substr(pos, n) : std::string(); };
    if (at(41, "videoID")) return Ids{sub(49, 16), sub(66, at(82, "&autoStart") ? 16 : 32)};
    if (at(43, "videoID")) return Ids{sub(51, 16), sub(68, 16)};
    if (at(41, "vid") && url.size() >= 68) {
        if (openCourse && at(101, "&autoStart")) return Ids{sub(85, 16), sub(45, 32)};
        return Ids{sub(69, 16), sub(45, 16)};
    }
    if (at(48, "vid") && url.size() >= 68) return Ids{sub(76, 16), sub(52, 16)};
    return std::nullopt;
}

TEST_F(ServiceTest, EveryEncipheredEndpointAnswersWithItsKeys) {
    struct Case {
        const char* file;
        std::string params;
        std::vector<const char*> keys;
        bool raw = false;
    };
    const std::vector<Case> cases = {
        {"login.php", "username=kaoshi2026&password=qinglan123", {"user"}, true},
        {"reg.php", "username=&password=&useremail=&repassword=", {"error"}, true},
        {"account.php", "cl_userName=kaoshi2026", {"account_list", "returncode"}},
        {"class.php", "userid=20261&username=qinglan123", {"classlist", "returncode"}},
        {"lessonlist.php", "userid=20261&classid=10001&", {"lessonlist", "next", "returncode"}},
        {"lessonlist.php", "userid=20261&classid=10015&", {"pactclass", "next", "returncode"}},
        {"student.php", "username=qinglan123&lessonid=1000101&title=开班导学", {"returncode"}},
        {"openclass_list.php", "openclassid=7", {"openclass_list", "next", "returncode"}},
        {"openclass_list_1.php", "openclassid=1", {"openclass_list_1", "returncode"}},
        {"consult_recommend.php", "typeid[]=189&typeid[]=1826&typeid[]=2044&", {"consult_list_arr", "returncode"}},
        {"headline.php", "typeid=2000", {"headline_arr", "returncode"}},
        {"consult.php", "typeid=1831", {"consult_list_arr", "next", "returncode"}},
        {"consult_article_mobStyle.php", "consultid=30001&typeid=2000", {"consult_article", "returncode"}},
        {"consult_article.php", "consultid=32001&typeid=1826", {"consult_article", "returncode"}},
        {"Classification_Search.php", "CategoryId=2&ProvinceId=32&SubjectName=0", {"Market_classlist", "next", "returncode"}},
        {"Keyword_Search.php", "keyword=申论", {"keyword_classlist", "next", "returncode"}},
        {"Class_Details.php", "NetclassId=10001", {"classdel", "returncode"}},
        {"order.php", "userid=20261&ordertypeclassid=1", {"orderList", "next", "returncode"}},
        {"order_info.php", "userid=20261&orderid=4", {"orderinfo", "returncode"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        // Every endpoint answers on the main, content and site hosts alike.
        for (const auto& host : {hosts().main, hosts().content, hosts().site}) {
            json answer = call(host, c.file, c.params, c.raw);
            ASSERT_TRUE(answer.is_object()) << host;
            for (const char* key : c.keys) EXPECT_TRUE(answer.contains(key)) << key;
            for (const char* key : c.keys)
                if (answer[key].is_array()) {
                    EXPECT_FALSE(answer[key].empty()) << key;
                }
        }
    }
}

TEST_F(ServiceTest, AnswersKeepChineseTextAndPercentSigns) {
    json article = call(hosts().main, "consult_article_mobStyle.php", "consultid=30001&typeid=2000");
    ASSERT_TRUE(article["consult_article"].is_array());
    const json& a = article["consult_article"][0];
    EXPECT_EQ(a["title"], "2026年度国考报名今日启动 计划招录3.96万人");
    std::string body = a["body"];
    for (const char* part : {"<table", "<img alt=", "#ff0000", "#p#副标题#e#"}) EXPECT_NE(body.find(part), std::string::npos) << part;
    json classes = call(hosts().content, "class.php", "userid=20261&username=x");
    EXPECT_EQ(classes["classlist"][0]["learning"], "35%");  // a literal percent survives the escaping
    EXPECT_EQ(call(hosts().main, "consult_article.php", "consultid=999999&typeid=1")["consult_article"], "null");
}

TEST_F(ServiceTest, PagingUsesTheLastPageAndAnnouncesNext) {
    json first = call(hosts().content, "consult.php", "typeid=189");
    json second = call(hosts().content, "consult.php", "typeid=189&page=2");
    json third = call(hosts().content, "consult.php", "typeid=189&page=2&page=3");
    EXPECT_EQ(first["next"], 1);
    EXPECT_EQ(second["next"], 1);
    EXPECT_EQ(third["next"], 0);
    EXPECT_EQ(first["consult_list_arr"].size(), 10u);
    std::set<std::string> ids;
    for (const auto* page : {&first, &second, &third})
        for (const auto& row : (*page)["consult_list_arr"]) EXPECT_TRUE(ids.insert(row["id"].get<std::string>()).second);
    EXPECT_EQ(ids.size(), 22u);
    // Newest first, with publication times in the past.
    auto now = std::time(nullptr);
    EXPECT_LE(std::stoll(first["consult_list_arr"][0]["pubdate"].get<std::string>()), now);
    EXPECT_GT(std::stoll(first["consult_list_arr"][0]["pubdate"].get<std::string>()),
              std::stoll(first["consult_list_arr"][1]["pubdate"].get<std::string>()));
    // The catalogue search doubles its ampersands once paging has begun.
    json mall2 = call(hosts().main, "Classification_Search.php", "CategoryId=1&ProvinceId=100&SubjectName=0&&page=2");
    EXPECT_EQ(mall2["next"], 0);
    EXPECT_EQ(mall2["Market_classlist"].size(), 5u);
    json beyond = call(hosts().content, "openclass_list.php", "openclassid=8&page=9");
    EXPECT_EQ(beyond["openclass_list"], "null");
}

TEST_F(ServiceTest, BothParameterOrdersOpen) {
    json escaped = call(hosts().main, "Keyword_Search.php", "keyword=国考面试");
    json raw = call(hosts().main, "Keyword_Search.php", "keyword=国考面试", true);
    ASSERT_TRUE(escaped["keyword_classlist"].is_array());
    EXPECT_EQ(escaped, raw);
    EXPECT_NE(escaped["keyword_classlist"][0]["Title"].get<std::string>().find("国考面试"), std::string::npos);
    // A value holding '%' reaches the service escaped and comes back as typed.
    json recorded = call(hosts().main, "student.php", "username=50%off&lessonid=7&title=讲评 100%");
    EXPECT_EQ(recorded["returncode"], 1);
    auto records = client(hosts().main).Get("/control/records?kind=student");
    ASSERT_TRUE(records);
    json last = json::parse(records->body)["records"].back()["data"];
    EXPECT_EQ(last["username"], "50%off");
    EXPECT_EQ(last["title"], "讲评 100%");
}

TEST_F(ServiceTest, LoginAndRegistrationReturnCodes) {
    struct Case {
        const char* file;
        std::string params;
        int code;  // 1: a "user" answer
    };
    const std::vector<Case> cases = {
        {"login.php", "username=kaoshi2026&password=qinglan123", 1},
        {"login.php", "username=kaoshi2026&password=wrong", -2},
        {"login.php", "username=nobody_here&password=qinglan123", -2},
        {"login.php", "username=&password=qinglan123", -1},
        {"login.php", "username=kaoshi2026&password=", -1},
        {"reg.php", "username=newstudent&password=&useremail=a@b.cn&repassword=", -1},
        {"reg.php", "username=短名字&password=p1&useremail=a@b.cn&repassword=p1", -2},
        {"reg.php", "username=newstudent&password=p1&useremail=not-an-email&repassword=p1", -3},
        {"reg.php", "username=newstudent&password=p1&useremail=new@student.cn&repassword=p2", -4},
        {"reg.php", "username=kaoshi2026&password=p1&useremail=other@student.cn&repassword=p1", -5},
        {"reg.php", "username=newstudent&password=p1&useremail=KAOSHI2026@qinglanwx.cn&repassword=p1", -6},
        {"reg.php", "username=青岚新学员01&password=p%1 x&useremail=new@student.cn&repassword=p%1 x", 1},
        {"reg.php", "username=青岚新学员01&password=p1&useremail=new2@student.cn&repassword=p1", -5},
        {"login.php", "username=青岚新学员01&password=p%1 x", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.params);
        json answer = call(hosts().main, c.file, c.params, true);
        ASSERT_TRUE(answer.is_object());
        if (c.code == 1) {
            ASSERT_TRUE(answer.contains("user"));
            EXPECT_FALSE(answer["user"]["userid"].get<std::string>().empty());
        } else {
            EXPECT_FALSE(answer.contains("user"));
            EXPECT_EQ(answer["error"]["returncode"], c.code);
        }
    }
}

TEST_F(ServiceTest, OrderIsCreatedListedAndPaid) {
    json account = call(hosts().main, "account.php", "cl_userName=kaoshi2026")["account_list"][0];
    EXPECT_EQ(account["Userid"], "20261");
    EXPECT_EQ(account["Userpoint"], 1280);
    std::string params = "currentusername=kaoshi2026&currentuserid=20261&strClassId=10005,10006&ConSignee=张晓岚"
                         "&Province=beijing&City=1&Address=北京市海淀区&tel=&Phone=13811112026&ZipCode=100083"
                         "&Email=kaoshi2026@qinglanwx.cn&InvoiceHead=&Discount=0&IFDiscount=0&Total=0";
    json created = call(hosts().main, "order_buy3.php", params);
    ASSERT_TRUE(created["CreateOrderinfo"].is_array());
    std::string number = created["CreateOrderinfo"][0]["OrderNum"];
    EXPECT_EQ(created["CreateOrderinfo"][0]["MoneySum"], "398");  // 199 + 199, below the campaign's threshold

    json unpaid = call(hosts().main, "order.php", "userid=20261&ordertypeclassid=0");
    bool listed = false;
    for (const auto& order : unpaid["orderList"])
        if (order["OrderNum"] == number) {
            listed = true;
            EXPECT_EQ(order["orderstatus"], "未处理");
            EXPECT_EQ(order["jj"].size(), 2u);
            json info = call(hosts().main, "order_info.php", "userid=20261&orderid=" + order["OrderID"].get<std::string>());
            EXPECT_EQ(info["orderinfo"][0]["ConSignee"], "张晓岚");
            EXPECT_EQ(call(hosts().main, "order_info.php", "userid=20262&orderid=" + order["OrderID"].get<std::string>())["orderinfo"],
                      "-2");
        }
    EXPECT_TRUE(listed);
    EXPECT_EQ(call(hosts().main, "order_buy3.php", "currentusername=gongkao_xiaoli&currentuserid=20261&strClassId=10005")
                  ["CreateOrderinfo"],
              "null");

    EXPECT_EQ(control("/control/paid", {{"orderNum", number}})["ok"], true);
    json classes = call(hosts().content, "class.php", "userid=20261&username=x");
    std::set<std::string> owned;
    for (const auto& c : classes["classlist"]) owned.insert(c["classid"]);
    EXPECT_TRUE(owned.count("10005") && owned.count("10006"));
    EXPECT_EQ(call(hosts().main, "lessonlist.php", "userid=20262&classid=10001&")["lessonlist"], "null");
}

TEST_F(ServiceTest, EveryLessonAddressLeadsToAFileOnTheVideoHost) {
    auto video = client(hosts().video);
    std::set<int> layouts;
    auto check = [&](const std::string& url, bool openCourse) {
        SCOPED_TRACE(url);
        auto ids = extract(url, openCourse);
        ASSERT_TRUE(ids);
        auto res = video.Get("/file/" + ids->uid + "/" + ids->vid + ".mp4", {{"Range", "bytes=0-7"}});
        ASSERT_TRUE(res);
        EXPECT_EQ(res->status, 206);
        EXPECT_EQ(res->body.substr(4, 4), "ftyp");
    };
    for (const char* course : {"10001", "10012", "10004", "10009", "30001"}) {
        std::string pages;
        for (int page = 1; page < 5; ++page) {
            json answer = call(hosts().main, "lessonlist.php", std::string("userid=20261&classid=") + course + "&" + pages);
            for (const auto& lesson : answer["lessonlist"]) {
                std::string url = lesson["fileurl"];
                check(url, false);
                layouts.insert(url.compare(41, 7, "videoID") == 0 ? 1 : url.compare(43, 7, "videoID") == 0 ? 2
                                                                 : url.compare(41, 3, "vid") == 0       ? 3
                                                                                                        : 4);
            }
            if (answer["next"] != 1) break;
            pages += "&page=" + std::to_string(page + 1);
        }
    }
    EXPECT_EQ(layouts, (std::set<int>{1, 2, 3, 4}));
    for (int kind : {1, 6, 7, 8})
        for (const auto& lesson : call(hosts().content, "openclass_list.php", "openclassid=" + std::to_string(kind))["openclass_list"])
            if (!lesson["netopenvideourl"].get<std::string>().empty()) check(lesson["netopenvideourl"], true);
}

TEST_F(ServiceTest, VideoHostServesRanges) {
    auto video = client(hosts().video);
    const std::string large = "/file/LARGEFILEUSER001/LARGEFILEVIDEO01.mp4";
    auto middle = video.Get(large, {{"Range", "bytes=78643200-78643299"}});
    ASSERT_TRUE(middle);
    EXPECT_EQ(middle->status, 206);
    EXPECT_EQ(middle->get_header_value("Content-Range"), "bytes 78643200-78643299/157286400");
    EXPECT_EQ(middle->body.size(), 100u);
    auto overlap = video.Get(large, {{"Range", "bytes=78643250-78643349"}});
    ASSERT_TRUE(overlap);
    EXPECT_EQ(middle->body.substr(50), overlap->body.substr(0, 50));
    auto past = video.Get(large, {{"Range", "bytes=157286400-"}});
    ASSERT_TRUE(past);
    EXPECT_EQ(past->status, 416);
    EXPECT_EQ(past->get_header_value("Content-Range"), "bytes */157286400");
    auto tail = video.Get(large, {{"Range", "bytes=-10"}});
    ASSERT_TRUE(tail);
    EXPECT_EQ(tail->get_header_value("Content-Range"), "bytes 157286390-157286399/157286400");
    // The large file's size, without fetching it.
    auto info = json::parse(video.Get("/control/sha256?path=" + large)->body);
    EXPECT_EQ(info["size"], 157286400);

    // A whole lesson file: 200, and the checksum the control API tells.
    json lessons = call(hosts().main, "lessonlist.php", "userid=20261&classid=10004&");
    std::string downloadUrl = lessons["lessonlist"][0]["downLoadurl"];
    std::string path = downloadUrl.substr(downloadUrl.find("/file/"));
    auto whole = video.Get(path);
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->status, 200);
    json sum = json::parse(video.Get("/control/sha256?path=" + path)->body);
    EXPECT_EQ(sum["size"], whole->body.size());
    EXPECT_EQ(sum["sha256"], sha256(whole->body));
    EXPECT_EQ(video.Get("/file/NOSUCHUSER000000/NOSUCHVIDEO00000.mp4")->status, 404);
}

TEST_F(ServiceTest, AnswerFaults) {
    auto main = client(hosts().main);
    const std::string path = apiPath("headline.php", ql::Envelope::seal("typeid=2000"));
    {
        fault({{"host", "main"}, {"path", "/API/qlmobile/headline.php"}, {"status500", true}, {"once", true}});
        auto res = main.Get(path);
        ASSERT_TRUE(res);
        EXPECT_EQ(res->status, 500);
        EXPECT_NE(res->body.find("<html>"), std::string::npos);
        EXPECT_EQ(main.Get(path)->status, 200);  // used up
        // Other hosts are not affected by a main-host switch.
        fault({{"host", "main"}, {"status500", true}});
        EXPECT_EQ(client(hosts().content).Get(path)->status, 200);
        control("/control/reset", json::object());
    }
    {
        fault({{"host", "*"}, {"garbage", true}, {"once", true}});
        auto res = main.Get(path);
        ASSERT_TRUE(res);
        auto opened = ql::Envelope::open(res->body);
        EXPECT_TRUE(!opened || opened->empty());
    }
    {
        fault({{"host", "main"}, {"delayMs", 400}, {"once", true}});
        auto begin = std::chrono::steady_clock::now();
        ASSERT_TRUE(main.Get(path));
        EXPECT_GE(std::chrono::steady_clock::now() - begin, std::chrono::milliseconds(400));
    }
    {
        fault({{"host", "main"}, {"dropAfterBytes", 16}, {"once", true}});
        auto res = main.Get(path);
        EXPECT_FALSE(res && res->status == 200 && ql::Envelope::open(res->body).has_value() &&
                     !ql::Envelope::open(res->body)->empty());
    }
    {
        fault({{"host", "site"}, {"path", "/uploads/"}, {"slowBytesPerSec", 200000}, {"once", true}});
        auto slow = client(hosts().site).Get("/uploads/course/10001.png");
        ASSERT_TRUE(slow);
        EXPECT_EQ(slow->body, client(hosts().site).Get("/uploads/course/10001.png")->body);
        EXPECT_EQ(slow->body.substr(1, 3), "PNG");
    }
    EXPECT_EQ(control("/control/faults", {{"host", "moon"}})["ok"], false);
}

TEST_F(ServiceTest, VideoFaults) {
    auto video = client(hosts().video);
    const std::string file = "/file/LARGEFILEUSER001/LARGEFILEVIDEO01.mp4";
    httplib::Headers range = {{"Range", "bytes=1000-1999"}};
    auto expected = video.Get(file, range)->body;
    {
        fault({{"host", "video"}, {"ignoreRange", true}, {"path", "/file/"}, {"once", true}});
        int status = 0;
        std::string length;
        video.Get(
            file, range,
            [&](const httplib::Response& r) {
                status = r.status;
                length = r.get_header_value("Content-Length");
                return true;
            },
            [](const char*, size_t) { return false; });  // the header is enough
        EXPECT_EQ(status, 200);
        EXPECT_EQ(length, "157286400");
    }
    {
        fault({{"host", "video"}, {"wrongStart", true}, {"once", true}});
        auto res = video.Get(file, range);
        ASSERT_TRUE(res);
        EXPECT_EQ(res->status, 206);
        EXPECT_NE(res->get_header_value("Content-Range").rfind("bytes 1000-", 0), 0u);
    }
    {
        fault({{"host", "video"}, {"wrongTotal", true}, {"once", true}});
        auto res = video.Get(file, range);
        ASSERT_TRUE(res);
        EXPECT_EQ(res->get_header_value("Content-Range").rfind("bytes 1000-1999/", 0), 0u);
        EXPECT_NE(res->get_header_value("Content-Range"), "bytes 1000-1999/157286400");
    }
    {
        fault({{"host", "video"}, {"force416", true}, {"once", true}});
        EXPECT_EQ(video.Get(file, range)->status, 416);
    }
    {
        fault({{"host", "video"}, {"cutAfterBytes", 300}, {"declareLength", false}, {"once", true}});
        auto res = video.Get(file, range);
        ASSERT_TRUE(res);
        EXPECT_FALSE(res->has_header("Content-Length"));
        EXPECT_EQ(res->body, expected.substr(0, 300));
    }
    for (const char* kind : {"cutAfterBytes", "dropAfterBytes"}) {
        SCOPED_TRACE(kind);
        fault({{"host", "video"}, {kind, 300}, {"once", true}});
        std::string got;
        auto res = video.Get(file, range, [&](const char* data, size_t n) {
            got.append(data, n);
            return true;
        });
        EXPECT_FALSE(res);  // the connection closed before the declared length arrived
        EXPECT_EQ(got, expected.substr(0, 300));
    }
    EXPECT_EQ(video.Get(file, range)->body, expected);
}

TEST_F(ServiceTest, VersionFileAndDiscountAreChangeable) {
    auto update = client(hosts().update);
    auto read = [&] { return json::parse(update.Get("/download/IOS/VD_API_ver_1_4.txt")->body)["VerResponse"]["Results"][0]; };
    EXPECT_EQ(read()["Ver"], "1.4");
    EXPECT_EQ(read()["url2"], "0");
    control("/control/version", {{"ver", "1.5"}, {"url2", "1"}, {"details", "新版本上线"}});
    EXPECT_EQ(read()["Ver"], "1.5");
    EXPECT_EQ(read()["url2"], "1");
    EXPECT_EQ(update.Get(read()["url"].get<std::string>().substr(("http://" + hosts().update).size()))->status, 200);
    json discount = json::parse(client(hosts().main).Get("/API/qlmobile/Discount.php")->body)["VerResponse"]["Results"][0];
    for (const char* key : {"IFDiscount", "Discount", "Total", "details"}) EXPECT_TRUE(discount.contains(key)) << key;
    auto page = client(hosts().main).Get("/qlnews/plus/view.php?aid=30001");
    ASSERT_TRUE(page);
    EXPECT_NE(page->body.find("计划招录3.96万人"), std::string::npos);
    EXPECT_EQ(client(hosts().main).Get("/qlnews/plus/view.php?aid=1")->status, 404);
    auto event = client(hosts().main).Post("/analytics/event", R"({"page":"资讯页","event":"begin"})", "application/json");
    ASSERT_TRUE(event);
    auto records = json::parse(client(hosts().main).Get("/control/records?kind=analytics")->body)["records"];
    EXPECT_EQ(records.back()["data"]["page"], "资讯页");
}

TEST_F(ServiceTest, ContentHostAnswersOnBothLoopbackAddresses) {
    std::string port = hosts().content.substr(hosts().content.rfind(':') + 1);
    EXPECT_EQ(hosts().content.rfind("localhost:", 0), 0u);
    httplib::Client v4("127.0.0.1", std::stoi(port));
    EXPECT_EQ(v4.Get("/uploads/openclass/501.png")->status, 200);
    if (::access("/proc/net/if_inet6", F_OK) != 0) GTEST_SKIP() << "no IPv6 loopback";
    httplib::Client v6("::1", std::stoi(port));
    auto res = v6.Get("/uploads/openclass/501.png");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
}

TEST(ServiceCommandLine, BadArgumentsAndHelp) {
    auto bad = qltest::runProgram({QINGLAN_SERVICE_BIN, "--ports", "main=notaport"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_FALSE(bad.err.empty());
    EXPECT_EQ(qltest::runProgram({QINGLAN_SERVICE_BIN, "--frobnicate"}).status, 2);
    EXPECT_EQ(qltest::runProgram({QINGLAN_SERVICE_BIN, "--write-config"}).status, 2);
    auto help = qltest::runProgram({QINGLAN_SERVICE_BIN, "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--free-ports"), std::string::npos);
}

TEST(ServiceStart, AnnouncesTheVersionGivenOnTheCommandLine) {
    qltest::ServiceProcess service({"--announce-version", "1.6"});
    ASSERT_TRUE(service.ok());
    httplib::Client update("http://" + service.config().hosts.update);
    EXPECT_EQ(json::parse(update.Get("/download/IOS/VD_API_ver_1_4.txt")->body)["VerResponse"]["Results"][0]["Ver"], "1.6");
}

}  // namespace
