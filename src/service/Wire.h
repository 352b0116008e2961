#pragma once
// The wire format of the enciphered endpoints: opening the `p` value of a request into its
// parameters, and sealing a JSON answer (non-ASCII escaped as GB18030 bytes, then enciphered).

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qlsvc {

class Params {
public:
    // Splits "a=1&b=2&&page=2&page=3" on '&' and '='; empty items are skipped. With `unescape`
    // each key and value is percent-decoded as UTF-8 afterwards.
    static Params parse(std::string_view text, bool unescape);

    // The last value of a key (a repeated "page" names the page wanted), or `fallback`.
    std::string last(std::string_view key, std::string fallback = {}) const;
    // Every value of a key, in order ("typeid[]" repeats).
    std::vector<std::string> all(std::string_view key) const;
    bool has(std::string_view key) const;
    // The last value read as a positive integer; `fallback` when missing or not a number.
    long long integer(std::string_view key, long long fallback) const;
    const std::vector<std::pair<std::string, std::string>>& items() const { return items_; }

private:
    std::vector<std::pair<std::string, std::string>> items_;
};

// Percent-decodes %XX sequences (bytes kept as they are); a '%' not followed by two hex digits stays.
std::string percentDecode(std::string_view text);

// Deciphers a `p` value; nothing when it does not decipher to text.
std::optional<std::string> openParameterText(const std::string& p);

// Escapes every non-ASCII character of a UTF-8 text as the %XX bytes of its GB18030 form, and
// '%' as %25, which is what the client undoes when it opens an answer.
std::string escapeGB18030(std::string_view utf8);

// The answer body: the JSON text escaped and enciphered, as upper-case hex.
std::string sealAnswer(const nlohmann::json& answer);

// The text "null" stands for an empty list in the school's answers.
nlohmann::json listOrNull(nlohmann::json rows);

}  // namespace qlsvc
