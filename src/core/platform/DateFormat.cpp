#include "platform/DateFormat.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string_view>

namespace ql::DateFormat {

namespace {
std::string_view userLocale() {
    for (const char* name : {"LC_ALL", "LC_TIME", "LANG"}) {
        if (const char* v = std::getenv(name); v && *v) return v;
    }
    return "C";
}
}  // namespace

std::string formatLocal(long long seconds, const char* pattern) {
    std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    if (!localtime_r(&t, &tm)) return {};
    char buf[128];
    size_t n = std::strftime(buf, sizeof buf, pattern, &tm);
    return std::string(buf, n);
}

std::string mediumDateShortTime(long long seconds) {
    // Month names come from our own table rather than the C library's locale data, which may not
    // be installed: the text is the same on every machine with the same language.
    static const bool chinese = userLocale().starts_with("zh");
    if (chinese) return formatLocal(seconds, "%Y年%-m月%-d日 %H:%M");
    static constexpr const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                             "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    if (!localtime_r(&t, &tm)) return {};
    int hour12 = tm.tm_hour % 12 == 0 ? 12 : tm.tm_hour % 12;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s %d, %d, %d:%02d %s", months[tm.tm_mon], tm.tm_mday, tm.tm_year + 1900,
                  hour12, tm.tm_min, tm.tm_hour < 12 ? "AM" : "PM");
    return buf;
}

}  // namespace ql::DateFormat
