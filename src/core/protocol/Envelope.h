#pragma once
// The request envelope: Triple DES (DES-EDE3, ECB, PKCS#7) under one fixed key, with the cipher
// text written as hexadecimal. It produces the `p` value of a request and opens answer bodies.

#include <optional>
#include <string>
#include <string_view>

namespace ql {

class Envelope {
public:
    // The key of every endpoint, both directions.
    static constexpr std::string_view kKey = "5830179264LZKRTPVMBX8317";

    enum Operation { kEncrypt = 0, kDecrypt = 1 };

    // Operation 0: UTF-8 bytes of `text` (absent = no bytes) enciphered, as upper-case hex; ""
    // on a cipher failure. Operation 1: hex decoded, deciphered, read as UTF-8; "" on a cipher
    // failure (bad length or padding), absent when the plain bytes are not UTF-8.
    static std::optional<std::string> TripleDES(const std::optional<std::string>& text, Operation op,
                                                std::string_view key = kKey);

    // Each byte as two upper-case hex digits; absent in, absent out.
    static std::optional<std::string> hexStringForData(const std::optional<std::string>& bytes);
    // Lenient decoder: any non-hex character counts as 0, a lone last digit is a high half.
    static std::optional<std::string> dataForHexString(const std::optional<std::string>& text);

    // RFC 2396 escaping of a whole parameter string (reserved characters stay as they are).
    static std::string escape(std::string_view params);
    // Escape-then-encipher: the `p` value of every request sent through the API client.
    static std::string seal(std::string_view params);
    // Encipher-then-escape: the `p` value of the login and registration requests.
    static std::string sealRaw(std::string_view params);

    // Replaces each run of %XX escapes by the UTF-8 form of its GB18030 bytes; other characters
    // (a plus sign too) stay. Absent when a run is not valid GB18030.
    static std::optional<std::string> unescapeGB18030(std::string_view text);

    // Opens an answer body: UTF-8 check, decipher, GB18030 unescape. Absent when it cannot be
    // opened; `bodyWasUtf8` tells whether the body itself was valid UTF-8.
    static std::optional<std::string> open(std::string_view body, bool* bodyWasUtf8 = nullptr);

    static bool isValidUtf8(std::string_view bytes);
};

}  // namespace ql
