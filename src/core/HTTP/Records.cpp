#include "HTTP/Records.h"

#include "platform/DateFormat.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>

namespace ql {

std::string textOf(const nlohmann::json& v) {
    if (v.is_string()) return v.get<std::string>();
    if (v.is_number_integer()) return std::to_string(v.get<long long>());
    if (v.is_number_unsigned()) return std::to_string(v.get<unsigned long long>());
    if (v.is_number_float()) return v.dump();
    return {};
}

std::string textOf(const Text& field) { return field ? textOf(*field) : std::string(); }

long long integerOf(const nlohmann::json& v) {
    if (v.is_number_integer()) return v.get<long long>();
    if (v.is_number_unsigned()) return static_cast<long long>(v.get<unsigned long long>());
    if (v.is_number_float()) {
        double d = v.get<double>();
        return d != d ? 0 : static_cast<long long>(std::max(-9.2e18, std::min(9.2e18, d)));
    }
    if (v.is_boolean()) return v.get<bool>() ? 1 : 0;
    if (v.is_string()) return std::strtoll(v.get_ref<const std::string&>().c_str(), nullptr, 10);
    return 0;
}

long long integerOf(const Text& field) { return field ? integerOf(*field) : 0; }

std::string QLFirstview::timestamp() const {
    return timestampAt(std::chrono::duration_cast<std::chrono::seconds>(
                           std::chrono::system_clock::now().time_since_epoch()).count());
}

std::string QLFirstview::timestampAt(long long now) const {
    long long pub = integerOf(classTimeLength);
    long long a = now - pub;
    if (a < 0) a = 0;
    if (a < 60) return "刚刚";
    if (a < 3600) return std::to_string(a / 60) + "分钟前";
    if (a <= 86399) return std::to_string(a / 3600) + "小时前";
    if (a <= 604799) return std::to_string(a / 86400) + "天前";
    if (a <= 2419199) return std::to_string(a / 604800) + "周前";
    return timeAbsu();
}

std::string QLFirstview::timeAbsu() const {
    return DateFormat::mediumDateShortTime(integerOf(classTimeLength));
}

}  // namespace ql
