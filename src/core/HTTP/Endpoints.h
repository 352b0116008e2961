#pragma once
// Every address the client requests or hands out, built in one place so that two screens that
// call one endpoint send the same request (and so find the same stored answer).

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>

namespace ql {

enum class Host { Main, Content, Site, Update, Video };

namespace Endpoints {

// The host an enciphered endpoint is sent to ("consult.php" → content); the main host for
// files it does not know.
Host defaultHost(std::string_view file);

// "host:port" of a host from the running configuration.
std::string hostName(Host host);

// http://<host>/API/qlmobile/<file>?p=<escape-then-encipher p>
std::string apiUrl(Host host, std::string_view file, std::string_view params);
// The same with the encipher-then-escape p (login and registration).
std::string apiUrlRaw(Host host, std::string_view file, std::string_view params);

// Parameter strings, exactly as the screens build them. `paging` is the paged screen's text.
std::string loginParams(std::string_view username, std::string_view password);
std::string regParams(std::string_view username, std::string_view password, std::string_view useremail,
                      std::string_view repassword);
std::string accountParams(std::string_view userid);
std::string classParams(std::string_view trueUserid, std::string_view username);
std::string lessonListParams(int userid, int classid, std::string_view paging);
std::string studentParams(std::string_view username, int lessonid, std::string_view title);
std::string openClassListParams(int kind);  // kind 1, 6, 7 or 8
inline constexpr std::string_view kOpenClassTeaserParams = "openclassid=1";
inline constexpr std::string_view kHeadlineParams = "typeid=2000";
std::string consultParams(std::string_view typeId);
std::string consultArticleParams(std::string_view consultid, std::string_view typeId);
std::string classificationSearchParams(std::string_view categoryId, std::string_view provinceId,
                                       std::string_view subjectName);
std::string keywordSearchParams(std::string_view keyword);
std::string classDetailsParams(std::string_view netclassId);
std::string orderParams(std::string_view trueUserid);
std::string orderInfoParams(std::string_view trueUserid, std::string_view orderid);

// Plain addresses.
std::string discountUrl();
std::string wapPayUrl(std::string_view outUser, std::string_view totalFee, std::string_view outTradeNo,
                      std::string_view subject);
std::string notifyUrl();
std::string articlePageUrl(std::string_view aid);
std::string versionFileUrl();
std::string analyticsUrl();

}  // namespace Endpoints

// The paging rule of every paged list: the screen keeps its parameter string; an answer whose
// "next" is 1 advances the page and appends "&page=<n>" to the kept string (which therefore grows
// by one page parameter per page, the service reading the last one); any other "next" starts over
// at page 1.
class Pager {
public:
    explicit Pager(std::string params = {}) : params_(std::move(params)) {}

    const std::string& params() const { return params_; }
    int page() const { return page_; }
    bool hasMore() const { return hasMore_; }

    // Applies an answer; returns whether another page exists.
    bool advance(const nlohmann::json& answer);
    // A new first page (a refresh or another choice of list).
    void reset(std::string params);

private:
    std::string params_;
    int page_ = 1;
    bool hasMore_ = false;
};

}  // namespace ql
