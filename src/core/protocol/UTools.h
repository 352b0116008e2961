#pragma once
// Clock texts of the study records: "yyyy/MM/dd HH:mm:ss:SSS" in local time, and the relative
// study time shown for a course.

#include <optional>
#include <string>
#include <string_view>

namespace ql {

class UTools {
public:
    // The current local time as "yyyy/MM/dd HH:mm:ss:SSS".
    static std::string getNowDate();
    // The minute of the current hour, "00" to "59".
    static std::string getDate();
    // True when less than a minute has passed since `date` (a future time too); false when
    // `date` does not parse.
    static bool isLessThanOneMinuteFromNow(std::string_view date);
    // "未学习", "N分钟前", "N小时前", "N天前", "N月前", or "" exactly at a boundary.
    static std::string intervalSinceNow(std::string_view date);

    // The same, against a given "now" in milliseconds since 1970 (for tests and replays).
    static bool isLessThanOneMinuteFrom(std::string_view date, long long nowMs);
    static std::string intervalSince(std::string_view date, long long nowMs);

    // Milliseconds since 1970 of a "yyyy/MM/dd HH:mm:ss:SSS" local time; nothing when it does not parse.
    static std::optional<long long> parseDate(std::string_view date);
    static std::string formatDate(long long msSince1970);
    static long long nowMs();
};

}  // namespace ql
