#include "protocol/UTools.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace ql {

long long UTools::nowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch()).count();
}

std::string UTools::formatDate(long long ms) {
    std::time_t t = static_cast<std::time_t>(ms / 1000);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d/%02d/%02d %02d:%02d:%02d:%03d", tm.tm_year + 1900, tm.tm_mon + 1,
                  tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, static_cast<int>(ms % 1000));
    return buf;
}

std::optional<long long> UTools::parseDate(std::string_view date) {
    int y, mo, d, h, mi, s, ms, consumed = 0;
    std::string text(date);
    if (std::sscanf(text.c_str(), "%4d/%2d/%2d %2d:%2d:%2d:%3d%n", &y, &mo, &d, &h, &mi, &s, &ms, &consumed) != 7 ||
        consumed != static_cast<int>(text.size()))
        return std::nullopt;
    if (mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59 || s > 60 || ms < 0 || h < 0 || mi < 0 || s < 0)
        return std::nullopt;
    std::tm tm{};
    tm.tm_year = y - 1900;
    tm.tm_mon = mo - 1;
    tm.tm_mday = d;
    tm.tm_hour = h;
    tm.tm_min = mi;
    tm.tm_sec = s;
    tm.tm_isdst = -1;
    std::time_t t = std::mktime(&tm);
    if (t == static_cast<std::time_t>(-1)) return std::nullopt;
    return static_cast<long long>(t) * 1000 + ms;
}

std::string UTools::getNowDate() { return formatDate(nowMs()); }

std::string UTools::getDate() {
    char buf[4];
    std::time_t t = static_cast<std::time_t>(nowMs() / 1000);
    std::tm tm{};
    localtime_r(&t, &tm);
    std::snprintf(buf, sizeof buf, "%02d", tm.tm_min);
    return buf;
}

bool UTools::isLessThanOneMinuteFrom(std::string_view date, long long nowMs) {
    auto then = parseDate(date);
    if (!then) return false;
    return (static_cast<double>(nowMs - *then) / 1000.0) / 60.0 < 1.0;
}

bool UTools::isLessThanOneMinuteFromNow(std::string_view date) {
    return isLessThanOneMinuteFrom(date, parseDate(getNowDate()).value_or(nowMs()));
}

std::string UTools::intervalSince(std::string_view date, long long nowMs) {
    // An argument that does not parse counts as the start of 1970.
    double d = static_cast<double>(nowMs - parseDate(date).value_or(0)) / 1000.0;
    // The count is printed with six decimals and the point and decimals cut off, so it shows
    // the integer part of the value as printed (59.9999997 shows as 60).
    auto whole = [](double n) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%f", n);
        std::string s = buf;
        return s.size() > 7 ? s.substr(0, s.size() - 7) : std::string();
    };
    std::string text;
    if (d / 60 < 1) text = "未学习";
    if (d / 3600 < 1 && d / 60 > 1) text = whole(d / 60) + "分钟前";
    if (d / 3600 > 1 && d / 86400 < 1) text = whole(d / 3600) + "小时前";
    if (d / 86400 > 1 && d / 2592000 < 1) text = whole(d / 86400) + "天前";
    if (d / 2592000 > 1) text = whole(d / 2592000) + "月前";
    return text;
}

std::string UTools::intervalSinceNow(std::string_view date) {
    // "Now" goes through the same text form as the argument, so both have millisecond precision.
    return intervalSince(date, parseDate(getNowDate()).value_or(nowMs()));
}

}  // namespace ql
