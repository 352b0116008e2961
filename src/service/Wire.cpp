#include "Wire.h"

#include "protocol/Envelope.h"

#include <algorithm>
#include <charconv>
#include <iconv.h>

namespace qlsvc {

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

struct Utf8ToGb18030 {
    iconv_t cd = iconv_open("GB18030", "UTF-8");
    ~Utf8ToGb18030() {
        if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
    }
};

// GB18030 bytes of one UTF-8 sequence; nothing when it cannot be converted.
std::optional<std::string> toGb18030(std::string_view sequence) {
    thread_local Utf8ToGb18030 conv;
    if (conv.cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    iconv(conv.cd, nullptr, nullptr, nullptr, nullptr);
    char out[16];
    char* inp = const_cast<char*>(sequence.data());
    size_t inLeft = sequence.size();
    char* outp = out;
    size_t outLeft = sizeof out;
    if (iconv(conv.cd, &inp, &inLeft, &outp, &outLeft) == static_cast<size_t>(-1) || inLeft != 0) return std::nullopt;
    return std::string(out, static_cast<size_t>(outp - out));
}

}  // namespace

std::string percentDecode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexDigit(text[i + 1]) >= 0 && hexDigit(text[i + 2]) >= 0) {
            out.push_back(static_cast<char>(hexDigit(text[i + 1]) * 16 + hexDigit(text[i + 2])));
            i += 2;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

Params Params::parse(std::string_view text, bool unescape) {
    Params params;
    while (!text.empty()) {
        size_t amp = text.find('&');
        std::string_view item = text.substr(0, amp);
        text = amp == std::string_view::npos ? std::string_view() : text.substr(amp + 1);
        if (item.empty()) continue;
        size_t eq = item.find('=');
        std::string_view key = item.substr(0, eq);
        std::string_view value = eq == std::string_view::npos ? std::string_view() : item.substr(eq + 1);
        if (unescape) params.items_.emplace_back(percentDecode(key), percentDecode(value));
        else params.items_.emplace_back(std::string(key), std::string(value));
    }
    return params;
}

std::string Params::last(std::string_view key, std::string fallback) const {
    for (auto it = items_.rbegin(); it != items_.rend(); ++it)
        if (it->first == key) return it->second;
    return fallback;
}

std::vector<std::string> Params::all(std::string_view key) const {
    std::vector<std::string> values;
    for (const auto& [k, v] : items_)
        if (k == key) values.push_back(v);
    return values;
}

bool Params::has(std::string_view key) const {
    for (const auto& item : items_)
        if (item.first == key) return true;
    return false;
}

long long Params::integer(std::string_view key, long long fallback) const {
    std::string text = last(key);
    long long value = 0;
    auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || p != text.data() + text.size()) return fallback;
    return value;
}

std::optional<std::string> openParameterText(const std::string& p) {
    auto text = ql::Envelope::TripleDES(p, ql::Envelope::kDecrypt);
    if (!text || (text->empty() && !p.empty())) return std::nullopt;
    return text;
}

std::string escapeGB18030(std::string_view utf8) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(utf8.size() * 2);
    auto appendByte = [&](unsigned char b) {
        out.push_back('%');
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 0xF]);
    };
    for (size_t i = 0; i < utf8.size();) {
        auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            if (c == '%') appendByte(c);
            else out.push_back(static_cast<char>(c));
            ++i;
            continue;
        }
        size_t len = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        len = std::min(len, utf8.size() - i);
        auto gb = toGb18030(utf8.substr(i, len));
        if (gb) {
            for (unsigned char b : *gb) appendByte(b);
        } else {
            appendByte('?');  // cannot happen for valid UTF-8: GB18030 covers all of Unicode
        }
        i += len;
    }
    return out;
}

std::string sealAnswer(const nlohmann::json& answer) {
    std::string text = answer.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    return ql::Envelope::TripleDES(escapeGB18030(text), ql::Envelope::kEncrypt).value_or(std::string());
}

nlohmann::json listOrNull(nlohmann::json rows) {
    if (!rows.is_array() || rows.empty()) return "null";
    return rows;
}

}  // namespace qlsvc
