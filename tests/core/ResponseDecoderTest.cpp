#include "HTTP/ResponseDecoder.h"
#include "platform/NotificationCenter.h"
#include "platform/Preferences.h"
#include "protocol/Envelope.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <iconv.h>

using namespace ql;
using nlohmann::json;

namespace {

// The GB18030 escapes of one UTF-8 character, through iconv.
std::string testGB18030Escape(const std::string& utf8) {
    iconv_t cd = iconv_open("GB18030", "UTF-8");
    char out[16];
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size(), outLeft = sizeof out;
    char* o = out;
    iconv(cd, &in, &inLeft, &o, &outLeft);
    iconv_close(cd);
    std::string escaped;
    char buf[4];
    for (char* p = out; p < o; ++p) {
        std::snprintf(buf, sizeof buf, "%%%02X", static_cast<unsigned char>(*p));
        escaped += buf;
    }
    return escaped;
}

// Writes every callback as one line: name, then the record count or "nothing".
struct Recorder : GetArrayDelegate {
    std::vector<std::string> calls;
    std::optional<json> answer;
    RecordList records;

    void list(const char* name, const RecordList& items) {
        calls.push_back(std::string(name) + " " + std::to_string(items.size()));
        records = items;
    }
    void getJson(const std::optional<json>& a) override {
        calls.push_back(a ? "getJson " + std::to_string(a->size()) : "getJson nothing");
        answer = a;
    }
    void getArray(const std::optional<RecordList>& items) override {
        if (items) list("getArray", *items); else calls.push_back("getArray nothing");
    }
    void getArrayClass(const RecordList& i) override { list("getArrayClass", i); }
    void getArrayHeadline(const RecordList& i) override { list("getArrayHeadline", i); }
    void getArrayGuokao(const RecordList& i) override { list("getArrayGuokao", i); }
    void getArrayXingce(const RecordList& i) override { list("getArrayXingce", i); }
    void getArrayShenglun(const RecordList& i) override { list("getArrayShenglun", i); }
    void getArrayMianshi(const RecordList& i) override { list("getArrayMianshi", i); }
    void getArrayOrdernum(const RecordList& i) override { list("getArrayOrdernum", i); }
    void getArrayUserInfo(const RecordList& i) override { list("getArrayUserInfo", i); }
    void getDidFailWithError(const std::optional<HttpError>& e) override {
        calls.push_back(e ? "fail error" : "fail nothing");
    }
};

// Seals JSON text the way the service does: non-ASCII characters as GB18030 escapes.
std::string seal(const std::string& jsonText) {
    std::string escaped;
    for (size_t i = 0; i < jsonText.size();) {
        auto c = static_cast<unsigned char>(jsonText[i]);
        if (c < 0x80) {
            escaped.push_back(static_cast<char>(c));
            ++i;
            continue;
        }
        size_t len = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
        escaped += testGB18030Escape(jsonText.substr(i, len));
        i += len;
    }
    return *Envelope::TripleDES(escaped, Envelope::kEncrypt);
}

json entries(int n, const json& entry) {
    json a = json::array();
    for (int i = 0; i < n; ++i) a.push_back(entry);
    return a;
}

class ResponseDecoderTest : public ::testing::Test {
protected:
    void SetUp() override {
        Preferences::standard().clear();
        Preferences::standard().setObject("returncode", "1");  // no hand-over unless a test asks
    }
    std::vector<std::string> decode(const json& answer, const std::string& identify = {}) {
        return decodeBody(seal(answer.dump()), identify);
    }
    std::vector<std::string> decodeBody(const std::string& body, const std::string& identify = {}) {
        rec = Recorder{};
        items.reset();
        ResponseDecoder::decode(body, identify, DelegateRef(&rec), items, this);
        return rec.calls;
    }
    Recorder rec;
    std::optional<RecordList> items;
};

using Calls = std::vector<std::string>;

}  // namespace

TEST_F(ResponseDecoderTest, KeysChooseTheCallbacks) {
    json lesson = {{"netopenclassid", "7"}, {"netopenclasstitle", "行测速算"}};
    json news = {{"id", "1"}, {"title", "公告"}, {"pubdate", "1700000000"}};
    struct Case { json answer; std::string identify; Calls expected; };
    std::vector<Case> cases = {
        {{{"openclass_list", entries(5, lesson)}}, "", {"getJson 1", "getArray 5"}},
        {{{"openclass_list_1", entries(5, lesson)}}, "", {"getArrayClass 2"}},
        {{{"headline_arr", entries(5, news)}}, "", {"getArrayHeadline 3"}},
        {{{"orderList", "null"}}, "", {"getArray nothing"}},
        {{{"orderList", json::array()}}, "", {"getArray 0"}},
        {{{"orderList", entries(2, {{"OrderNum", "A1"}})}}, "", {"getArray 2"}},
        {{{"orderinfo", "-2"}}, "", {"getArray nothing"}},
        {{{"orderinfo", "null"}}, "", {"getArray nothing"}},
        {{{"orderinfo", "other"}}, "", {"getArray 0"}},
        {{{"orderinfo", nullptr}}, "", {"getArray 0"}},
        {{{"consult_list_arr", "null"}}, "xingce", {"getArrayXingce 0"}},
        {{{"consult_list_arr", "null"}}, "", {"getJson 1", "getArray 0"}},
        {{{"consult_list_arr", entries(4, news)}}, "mianshi", {"getArrayMianshi 4"}},
        {{{"consult_list_arr", entries(4, news)}}, "guokao", {"getArrayGuokao 4"}},
        {{{"consult_list_arr", entries(1, news)}}, "shenglun", {"getArrayShenglun 1"}},
        {{{"CreateOrderinfo", entries(1, {{"OrderNum", "Q1"}})}}, "", {"getArrayOrdernum 1"}},
        {{{"classlist", {{"classid", "1"}}}}, "", {"getJson 1", "getArray 0"}},
        {{{"classlist", entries(2, {{"classid", "1"}})}, {"pactclass", entries(1, {{"classid", "9"}})}},
         "", {"getJson 2", "getArray 3"}},
        // Steps run in order: open-class records are collected before a later key stops.
        {{{"openclass_list", entries(2, lesson)}, {"headline_arr", entries(1, news)}}, "",
         {"getArrayHeadline 3"}},
        // A stop in an earlier step skips the keys of later steps.
        {{{"orderList", json::array()}, {"headline_arr", entries(1, news)}}, "", {"getArray 0"}},
        {{{"unknown", 1}}, "", {"getJson 1", "getArray 0"}},
        // Entries that are not objects are skipped.
        {{{"lessonlist", {1, "x", {{"lessionsid", "3"}}}}}, "", {"getJson 1", "getArray 1"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(decode(c.answer, c.identify), c.expected) << c.answer.dump() << " / " << c.identify;
    }
}

TEST_F(ResponseDecoderTest, BodiesThatAreNotAnswers) {
    // Not UTF-8: an empty answer object and nothing.
    EXPECT_EQ(decodeBody(std::string("\xff\xfe\xfd", 3)), (Calls{"getJson 0", "getArray nothing"}));
    // Not an envelope (an HTML error page) or not JSON: an empty object and an empty list.
    EXPECT_EQ(decodeBody("<html><body>500 Internal Server Error</body></html>"), (Calls{"getJson 0", "getArray 0"}));
    EXPECT_EQ(decodeBody(seal("[1,2,3]")), (Calls{"getJson 0", "getArray 0"}));
    EXPECT_EQ(decodeBody(seal("{\"openclass_list\":")), (Calls{"getJson 0", "getArray 0"}));
    // Deciphers to bytes that are not UTF-8, or escapes that are not GB18030: cannot be opened.
    EXPECT_EQ(decodeBody(*Envelope::TripleDES(std::string("{\"a\":\"\xff\"}"), Envelope::kEncrypt)),
              (Calls{"fail nothing"}));
    EXPECT_EQ(decodeBody(seal("{\"a\":\"%FF%FF\"}")), (Calls{"fail nothing"}));
    EXPECT_EQ(decodeBody(std::string(kMaxAnswerBytes + 2, 'A')), (Calls{"fail nothing"}));
}

TEST_F(ResponseDecoderTest, FieldMappings) {
    decode({{"Market_classlist", {{{"NetclassId", 12}, {"TypeName", "国考"}, {"Title", "申论精讲"},
                                   {"TimeLength", "40"}, {"Price", "980"}, {"ActualPrice", "680"}}}}});
    ASSERT_EQ(rec.records.size(), 1u);
    const auto& course = std::get<QLLesson>(rec.records[0]);
    EXPECT_EQ(*course.classId, 12);  // a number stays a number
    EXPECT_EQ(textOf(course.classId), "12");
    EXPECT_EQ(textOf(course.classImg), "国考");
    EXPECT_EQ(textOf(course.classUrl), "国考");
    EXPECT_EQ(textOf(course.classPingFen), "40");
    EXPECT_EQ(textOf(course.classTeacherName), "980");
    EXPECT_EQ(textOf(course.classTimeLength), "680");

    decode({{"lessonlist", {{{"lessionsid", "0042"}, {"teacherid", 7}, {"timelength", "abc"}, {"fileurl", nullptr}}}}});
    const auto& l = std::get<QLMyLessonList>(rec.records.at(0));
    EXPECT_EQ(l.lessionsid, 42);
    EXPECT_EQ(l.teacherid, 7);
    EXPECT_EQ(l.timelength, 0);
    ASSERT_TRUE(l.fileurl.has_value());  // a null stays null outside account answers
    EXPECT_TRUE(l.fileurl->is_null());
    EXPECT_FALSE(l.downLoadurl.has_value());

    decode({{"consult_article", {{{"pubdate", "1700000000"}, {"description", "摘要"}, {"title", "标题"}, {"body", "<p>正文</p>"}}}}});
    const auto& a = std::get<QLFirstview>(rec.records.at(0));
    EXPECT_EQ(textOf(a.classId), "1700000000");
    EXPECT_EQ(textOf(a.classUrl), "<p>正文</p>");
    EXPECT_EQ(textOf(a.classImg), "摘要");

    decode({{"openclass_list", {{{"netopenclassid", "1"}}}}});
    EXPECT_FALSE(std::get<QLLesson>(rec.records.at(0)).classImg.has_value());  // "play.png" overwritten
}

TEST_F(ResponseDecoderTest, AccountAnswerWritesPreferences) {
    auto& prefs = Preferences::standard();
    prefs.setObject("UserFace", "old.png");
    json entry = {{"UserName", nullptr}, {"UserMobile", nullptr}, {"UserTelePhone", "010-6688"},
                  {"Userpoint", 120}, {"Userid", 5301}, {"UserFace", nullptr}};
    EXPECT_EQ(decode({{"account_list", {entry}}}), (Calls{"getArrayUserInfo 1"}));
    const auto& acc = std::get<QLLesson>(rec.records.at(0));
    EXPECT_FALSE(acc.classId.has_value());
    EXPECT_FALSE(acc.classPingFen.has_value());
    EXPECT_EQ(textOf(acc.classTeacherName), "010-6688");
    EXPECT_EQ(*acc.classTimeLength, 120);
    EXPECT_EQ(*prefs.objectForKey("Userpoint"), 120);
    EXPECT_EQ(prefs.stringForKey("True_userid"), "5301");
    EXPECT_FALSE(prefs.contains("UserFace"));
}

TEST_F(ResponseDecoderTest, PlayModeFlagHandOver) {
    auto& prefs = Preferences::standard();
    int posted = 0;
    const void* object = nullptr;
    auto token = NotificationCenter::defaultCenter().addObserver(kMoviePlayerPlaybackDidFinishNotification,
        [&](const Notification& n) { ++posted; object = n.object; });

    prefs.setObject("returncode", "0");
    decode({{"openclass_list", "null"}});
    EXPECT_EQ(posted, 1);
    EXPECT_EQ(object, this);
    EXPECT_EQ(prefs.stringForKey("returncode"), "1");

    decode({{"returncode", 0}});  // the flag is "1" now: nothing more
    EXPECT_EQ(posted, 1);

    prefs.setObject("returncode", "0");
    decode({{"returncode", "1"}});  // a successful answer keeps the flag
    EXPECT_EQ(posted, 1);
    EXPECT_EQ(prefs.stringForKey("returncode"), "0");
}

TEST_F(ResponseDecoderTest, DelegateGoneMidwayIsNotCalledAgain) {
    struct SelfDestructing : GetArrayDelegate {
        std::unique_ptr<SelfDestructing>* owner;
        int* arrays;
        void getJson(const std::optional<json>&) override { owner->reset(); }
        void getArray(const std::optional<RecordList>&) override { ++*arrays; }
    };
    int arrays = 0;
    auto d = std::make_unique<SelfDestructing>();
    d->owner = &d;
    d->arrays = &arrays;
    DelegateRef ref(d.get());
    ResponseDecoder::decode(seal("{}"), "", ref, items, this);
    EXPECT_EQ(d, nullptr);
    EXPECT_EQ(arrays, 0);
}
