#include "HTTP/Endpoints.h"

#include "HTTP/Records.h"
#include "platform/AppConfig.h"
#include "protocol/Envelope.h"

namespace ql {

namespace Endpoints {

namespace {
std::string cat(std::initializer_list<std::string_view> parts) {
    std::string out;
    for (auto p : parts) out += p;
    return out;
}

std::string apiBase(Host host, std::string_view file) {
    return cat({"http://", hostName(host), "/API/qlmobile/", file, "?p="});
}
}  // namespace

Host defaultHost(std::string_view file) {
    for (std::string_view f : {"class.php", "openclass_list.php", "openclass_list_1.php", "consult_recommend.php",
                               "headline.php", "consult.php", "consult_article.php"})
        if (file == f) return Host::Content;
    if (file == "Class_Details.php") return Host::Site;
    return Host::Main;
}

std::string hostName(Host host) {
    const Hosts& h = AppConfig::current().hosts;
    switch (host) {
        case Host::Main: return h.main;
        case Host::Content: return h.content;
        case Host::Site: return h.site;
        case Host::Update: return h.update;
        case Host::Video: return h.video;
    }
    return h.main;
}

std::string apiUrl(Host host, std::string_view file, std::string_view params) {
    return apiBase(host, file) + Envelope::seal(params);
}

std::string apiUrlRaw(Host host, std::string_view file, std::string_view params) {
    return apiBase(host, file) + Envelope::sealRaw(params);
}

std::string loginParams(std::string_view username, std::string_view password) {
    return cat({"username=", username, "&password=", password});
}

std::string regParams(std::string_view username, std::string_view password, std::string_view useremail,
                      std::string_view repassword) {
    return cat({"username=", username, "&password=", password, "&useremail=", useremail, "&repassword=",
                repassword});
}

std::string accountParams(std::string_view userid) { return cat({"cl_userName=", userid}); }

std::string classParams(std::string_view trueUserid, std::string_view username) {
    return cat({"userid=", trueUserid, "&username=", username});
}

std::string lessonListParams(int userid, int classid, std::string_view paging) {
    return cat({"userid=", std::to_string(userid), "&classid=", std::to_string(classid), "&", paging});
}

std::string studentParams(std::string_view username, int lessonid, std::string_view title) {
    return cat({"username=", username, "&lessonid=", std::to_string(lessonid), "&title=", title});
}

std::string openClassListParams(int kind) { return "openclassid=" + std::to_string(kind); }

std::string consultParams(std::string_view typeId) { return cat({"typeid=", typeId}); }

std::string consultArticleParams(std::string_view consultid, std::string_view typeId) {
    return cat({"consultid=", consultid, "&typeid=", typeId});
}

std::string classificationSearchParams(std::string_view categoryId, std::string_view provinceId,
                                       std::string_view subjectName) {
    return cat({"CategoryId=", categoryId, "&ProvinceId=", provinceId, "&SubjectName=", subjectName});
}

std::string keywordSearchParams(std::string_view keyword) { return cat({"keyword=", keyword}); }

std::string classDetailsParams(std::string_view netclassId) { return cat({"NetclassId=", netclassId}); }

std::string orderParams(std::string_view trueUserid) { return cat({"userid=", trueUserid}); }

std::string orderInfoParams(std::string_view trueUserid, std::string_view orderid) {
    return cat({"userid=", trueUserid, "&orderid=", orderid});
}

std::string discountUrl() { return cat({"http://", hostName(Host::Main), "/API/qlmobile/Discount.php"}); }

std::string wapPayUrl(std::string_view outUser, std::string_view totalFee, std::string_view outTradeNo,
                      std::string_view subject) {
    return cat({"http://", hostName(Host::Main), "/api/qlmobile/wappay2/alipayto.php?out_user=", outUser,
                "&total_fee=", totalFee, "&out_trade_no=", outTradeNo, "&subject=", subject});
}

std::string notifyUrl() {
    return cat({"http://", hostName(Host::Main), "/API/qlmobile/AliSecurity/notify_url.php"});
}

std::string articlePageUrl(std::string_view aid) {
    return cat({"http://", hostName(Host::Main), "/qlnews/plus/view.php?aid=", aid});
}

std::string versionFileUrl() {
    return cat({"http://", hostName(Host::Update), "/download/IOS/VD_API_ver_1_4.txt"});
}

std::string analyticsUrl() { return cat({"http://", hostName(Host::Main), "/analytics/event"}); }

}  // namespace Endpoints

bool Pager::advance(const nlohmann::json& answer) {
    auto it = answer.is_object() ? answer.find("next") : answer.end();
    hasMore_ = it != answer.end() && integerOf(*it) == 1;
    if (hasMore_) {
        ++page_;
        params_ += "&page=" + std::to_string(page_);
    } else {
        page_ = 1;
    }
    return hasMore_;
}

void Pager::reset(std::string params) {
    params_ = std::move(params);
    page_ = 1;
    hasMore_ = false;
}

}  // namespace ql
