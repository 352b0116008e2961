#include "HTTP/ResponseDecoder.h"

#include "platform/NetworkActivity.h"
#include "platform/NotificationCenter.h"
#include "platform/Preferences.h"
#include "protocol/Envelope.h"

namespace ql {

namespace {

using nlohmann::json;

// The value under `key` as the reader gave it; empty when the key is missing.
Text field(const json& entry, const char* key) {
    auto it = entry.find(key);
    if (it == entry.end()) return std::nullopt;
    return *it;
}

// Account fields: a JSON null leaves the field empty.
Text fieldNoNull(const json& entry, const char* key) {
    auto it = entry.find(key);
    if (it == entry.end() || it->is_null()) return std::nullopt;
    return *it;
}

std::int32_t int32Field(const json& entry, const char* key) {
    auto it = entry.find(key);
    return it == entry.end() ? 0 : static_cast<std::int32_t>(integerOf(*it));
}

// The array under `key`, or nullptr when the key is missing or holds anything else.
const json* arrayAt(const json& answer, const char* key) {
    auto it = answer.find(key);
    return it != answer.end() && it->is_array() ? &*it : nullptr;
}

// Appends one record per object entry of the array under `key`, up to `limit` entries.
template <typename Build>
void appendRecords(const json& answer, const char* key, RecordList& out, Build build,
                   size_t limit = static_cast<size_t>(-1)) {
    const json* list = arrayAt(answer, key);
    if (!list) return;
    size_t taken = 0;
    for (const auto& entry : *list) {
        if (taken++ == limit) break;
        if (entry.is_object()) out.emplace_back(build(entry));
    }
}

void appendRaw(const json& list, RecordList& out) {
    for (const auto& entry : list) {
        if (entry.is_object()) out.emplace_back(RawEntry(entry));
    }
}

// Stores an account value; a missing or null value removes the key (the store keeps no null).
void storeAccountValue(Preferences& prefs, const json& entry, const char* answerKey, const char* prefKey,
                       bool asText) {
    auto it = entry.find(answerKey);
    if (it == entry.end() || it->is_null()) {
        prefs.removeObject(prefKey);
    } else if (asText && it->is_number()) {
        prefs.setObject(prefKey, textOf(*it));
    } else {
        prefs.setObject(prefKey, *it);
    }
}

}  // namespace

QLLesson ResponseDecoder::lessonFromOpenClass(const json& e) {
    QLLesson l;
    l.classId = field(e, "netopenclassid");
    l.classImg = field(e, "netopenclassimg");
    l.classTitle = field(e, "netopenclasstitle");
    l.classUrl = field(e, "netopenvideourl");
    l.classPingFen = field(e, "pingfen");
    l.classTeacherName = field(e, "teachername");
    l.classTimeLength = field(e, "timelength");
    return l;
}

QLLesson ResponseDecoder::lessonFromCourseSummary(const json& e) {
    QLLesson l;
    l.classId = field(e, "NetclassId");
    l.classImg = field(e, "TypeName");
    l.classTitle = field(e, "Title");
    l.classUrl = field(e, "TypeName");
    l.classPingFen = field(e, "TimeLength");
    l.classTeacherName = field(e, "Price");
    l.classTimeLength = field(e, "ActualPrice");
    return l;
}

QLClassDetails ResponseDecoder::classDetails(const json& e) {
    QLClassDetails d;
    d.NetclassId = field(e, "NetclassId");
    d.Title = field(e, "Title");
    d.TypeName = field(e, "TypeName");
    d.SubjectName = field(e, "SubjectName");
    d.Price = field(e, "Price");
    d.ActualPrice = field(e, "ActualPrice");
    d.netclassext = field(e, "netclassext");
    d.netclassext_fw = field(e, "netclassext_fw");
    d.teacher = field(e, "teacher");
    d.TimeLength = field(e, "TimeLength");
    return d;
}

QLLesson ResponseDecoder::lessonFromAccount(const json& e) {
    QLLesson l;
    l.classId = fieldNoNull(e, "UserName");
    l.classImg = fieldNoNull(e, "UserEmail");
    l.classTitle = fieldNoNull(e, "UserAddRess");
    l.classUrl = fieldNoNull(e, "ZipCode");
    l.classPingFen = fieldNoNull(e, "UserMobile");
    l.classTeacherName = fieldNoNull(e, "UserTelePhone");
    l.classTimeLength = fieldNoNull(e, "Userpoint");
    return l;
}

QLLesson ResponseDecoder::lessonFromOrderSummary(const json& e) {
    QLLesson l;
    l.classId = field(e, "OrderNum");
    l.classImg = field(e, "MoneySum");
    l.classTitle = field(e, "TotalPoint");
    l.classUrl = field(e, "MoneyTotal");
    l.classPingFen = field(e, "OrderNum");
    l.classTeacherName = field(e, "OrderNum");
    l.classTimeLength = field(e, "OrderNum");
    return l;
}

QLFirstview ResponseDecoder::newsItem(const json& e) {
    QLFirstview f;
    f.classId = field(e, "id");
    f.classImg = field(e, "typeid");
    f.classTitle = field(e, "title");
    f.classUrl = field(e, "title");
    f.classPingFen = field(e, "title");
    f.classTeacherName = field(e, "title");
    f.classTimeLength = field(e, "pubdate");
    return f;
}

QLFirstview ResponseDecoder::headline(const json& e) {
    QLFirstview f;
    f.classId = field(e, "id");
    f.classImg = field(e, "litpic");
    f.classTitle = field(e, "title");
    f.classUrl = field(e, "id");
    f.classPingFen = field(e, "title");
    f.classTeacherName = field(e, "title");
    f.classTimeLength = field(e, "pubdate");
    return f;
}

QLFirstview ResponseDecoder::article(const json& e) {
    QLFirstview f;
    f.classId = field(e, "pubdate");
    f.classImg = field(e, "description");
    f.classTitle = field(e, "title");
    f.classUrl = field(e, "body");
    f.classPingFen = field(e, "title");
    f.classTeacherName = field(e, "title");
    f.classTimeLength = field(e, "pubdate");
    return f;
}

QLMyClass ResponseDecoder::myClass(const json& e) {
    QLMyClass c;
    c.classId = field(e, "classid");
    c.classLearning = field(e, "learning");
    c.classTitle = field(e, "classtitle");
    c.classUserId = field(e, "userid");
    c.classUserName = field(e, "username");
    c.classTeacher = field(e, "teacher");
    c.classTimelength = field(e, "timelength");
    c.classImageUrl = field(e, "classimg");
    c.classPresent = field(e, "present");
    return c;
}

QLMyClass ResponseDecoder::packageClass(const json& e) {
    QLMyClass c;
    c.classId = field(e, "classid");
    c.classTitle = field(e, "classtitle");
    c.classUserId = field(e, "userid");
    c.classTeacher = field(e, "teacher");
    c.classTimelength = field(e, "timelength");
    return c;
}

QLMyLessonList ResponseDecoder::lesson(const json& e) {
    QLMyLessonList l;
    l.downLoadurl = field(e, "downLoadurl");
    l.fileurl = field(e, "fileurl");
    l.lessionsid = int32Field(e, "lessionsid");
    l.lessionstitle = field(e, "lessionstitle");
    l.teacherid = int32Field(e, "teacherid");
    l.teachername = field(e, "teachername");
    l.timelength = int32Field(e, "timelength");
    return l;
}

void ResponseDecoder::decode(std::string_view body, const std::string& identify, const DelegateRef& delegate,
                             std::optional<RecordList>& classItems, const void* sender) {
    // Each call looks the delegate up again: a callback may make the screen go away.
    auto call = [&](auto&& fn) {
        if (GetArrayDelegate* d = delegate.get()) fn(*d);
    };

    NetworkActivity::off();

    bool bodyWasUtf8 = false;
    std::optional<std::string> text;
    if (body.size() <= kMaxAnswerBytes) text = Envelope::open(body, &bodyWasUtf8);
    if (!text) {
        call([](GetArrayDelegate& d) { d.getDidFailWithError(std::nullopt); });
        return;
    }

    json answer = json::parse(*text, nullptr, /*allow_exceptions=*/false);
    if (!answer.is_object()) answer = json::object();

    classItems = RecordList{};
    RecordList& items = *classItems;

    if (!bodyWasUtf8) {
        call([&](GetArrayDelegate& d) { d.getJson(answer); });
        call([](GetArrayDelegate& d) { d.getArray(std::nullopt); });
        return;
    }

    // Play-mode flag hand-over: a lesson player waiting on the flag learns that the answer came.
    long long returncode = answer.contains("returncode") ? integerOf(answer["returncode"]) : 0;
    Preferences& prefs = Preferences::standard();
    if (returncode < 1 && prefs.integerForKey("returncode") == 0) {
        prefs.setObject("returncode", "1");
        NotificationCenter::defaultCenter().post(kMoviePlayerPlaybackDidFinishNotification, sender);
    }

    appendRecords(answer, "openclass_list", items, lessonFromOpenClass);

    if (auto it = answer.find("orderList"); it != answer.end()) {
        if (it->is_array()) {
            appendRaw(*it, items);
        } else {
            classItems.reset();
        }
        call([&](GetArrayDelegate& d) { d.getArray(classItems); });
        return;
    }

    appendRecords(answer, "Market_classlist", items, lessonFromCourseSummary);
    appendRecords(answer, "keyword_classlist", items, lessonFromCourseSummary);
    appendRecords(answer, "classdel", items, classDetails);

    if (answer.contains("account_list")) {
        if (const json* list = arrayAt(answer, "account_list")) {
            for (const auto& entry : *list) {
                if (!entry.is_object()) continue;
                storeAccountValue(prefs, entry, "Userid", "True_userid", true);
                storeAccountValue(prefs, entry, "Userpoint", "Userpoint", false);
                storeAccountValue(prefs, entry, "UserFace", "UserFace", false);
                items.emplace_back(lessonFromAccount(entry));
            }
            prefs.synchronize();
        }
        call([&](GetArrayDelegate& d) { d.getArrayUserInfo(items); });
        return;
    }

    if (auto it = answer.find("orderinfo"); it != answer.end()) {
        if (it->is_array()) {
            appendRaw(*it, items);
        } else if (it->is_string() && (*it == "null" || *it == "-2")) {
            classItems.reset();
        }
        call([&](GetArrayDelegate& d) { d.getArray(classItems); });
        return;
    }

    if (answer.contains("CreateOrderinfo")) {
        appendRecords(answer, "CreateOrderinfo", items, lessonFromOrderSummary);
        call([&](GetArrayDelegate& d) { d.getArrayOrdernum(items); });
        return;
    }

    if (answer.contains("openclass_list_1")) {
        appendRecords(answer, "openclass_list_1", items, lessonFromOpenClass, 2);
        call([&](GetArrayDelegate& d) { d.getArrayClass(items); });
        return;
    }

    if (answer.contains("consult_list_arr")) {
        appendRecords(answer, "consult_list_arr", items, newsItem);
        using Tagged = void (GetArrayDelegate::*)(const RecordList&);
        Tagged tagged = identify == "guokao"     ? &GetArrayDelegate::getArrayGuokao
                        : identify == "xingce"   ? &GetArrayDelegate::getArrayXingce
                        : identify == "shenglun" ? &GetArrayDelegate::getArrayShenglun
                        : identify == "mianshi"  ? &GetArrayDelegate::getArrayMianshi
                                                 : nullptr;
        if (tagged) {
            call([&](GetArrayDelegate& d) { (d.*tagged)(items); });
            return;
        }
    }

    appendRecords(answer, "consult_article", items, article);

    if (answer.contains("headline_arr")) {
        appendRecords(answer, "headline_arr", items, headline, 3);
        call([&](GetArrayDelegate& d) { d.getArrayHeadline(items); });
        return;
    }

    appendRecords(answer, "classlist", items, myClass);
    appendRecords(answer, "lessonlist", items, lesson);
    appendRecords(answer, "pactclass", items, packageClass);

    call([&](GetArrayDelegate& d) { d.getJson(answer); });
    call([&](GetArrayDelegate& d) { d.getArray(classItems); });
}

}  // namespace ql
