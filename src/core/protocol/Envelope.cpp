#include "protocol/Envelope.h"

#include <openssl/evp.h>

#include <cerrno>
#include <iconv.h>
#include <memory>

namespace ql {

namespace {

int hexValue(unsigned char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

const EVP_CIPHER* desEde3Ecb() {
    static EVP_CIPHER* cipher = EVP_CIPHER_fetch(nullptr, "DES-EDE3-ECB", nullptr);
    return cipher;
}

struct CtxFree {
    void operator()(EVP_CIPHER_CTX* c) const { EVP_CIPHER_CTX_free(c); }
};

// Runs DES-EDE3-ECB with PKCS#7 padding; std::nullopt on any cipher failure.
std::optional<std::string> runCipher(std::string_view in, std::string_view key, bool encrypt) {
    if (key.size() < 24) return std::nullopt;
    const EVP_CIPHER* cipher = desEde3Ecb();
    if (!cipher) return std::nullopt;
    thread_local std::unique_ptr<EVP_CIPHER_CTX, CtxFree> ctx(EVP_CIPHER_CTX_new());
    if (!ctx) return std::nullopt;
    const auto* k = reinterpret_cast<const unsigned char*>(key.data());
    if (EVP_CipherInit_ex2(ctx.get(), cipher, k, nullptr, encrypt ? 1 : 0, nullptr) != 1) return std::nullopt;
    // (n + 8) truncated to a multiple of 8: exactly the padded length.
    std::string out((in.size() + 8) & ~size_t{7}, '\0');
    int len1 = 0, len2 = 0;
    auto* o = reinterpret_cast<unsigned char*>(out.data());
    if (EVP_CipherUpdate(ctx.get(), o, &len1, reinterpret_cast<const unsigned char*>(in.data()),
                         static_cast<int>(in.size())) != 1 ||
        EVP_CipherFinal_ex(ctx.get(), o + len1, &len2) != 1) {
        return std::nullopt;
    }
    out.resize(static_cast<size_t>(len1 + len2));
    return out;
}

struct IconvHolder {
    iconv_t cd = iconv_open("UTF-8", "GB18030");
    ~IconvHolder() {
        if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
    }
};

// Appends the UTF-8 form of GB18030 bytes; false when they are not valid GB18030.
bool appendFromGB18030(std::string_view bytes, std::string& out) {
    bool ascii = true;
    for (unsigned char c : bytes) ascii &= c < 0x80;
    if (ascii) {  // GB18030 is ASCII-compatible: no conversion needed
        out.append(bytes);
        return true;
    }
    thread_local IconvHolder holder;
    if (holder.cd == reinterpret_cast<iconv_t>(-1)) return false;
    iconv(holder.cd, nullptr, nullptr, nullptr, nullptr);
    size_t start = out.size();
    out.resize(start + bytes.size() * 2 + 4);  // a GB18030 character never grows beyond 2x in UTF-8
    char* inp = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    char* outp = out.data() + start;
    size_t outLeft = out.size() - start;
    size_t r = iconv(holder.cd, &inp, &inLeft, &outp, &outLeft);
    if (r == static_cast<size_t>(-1) || inLeft != 0 ||
        iconv(holder.cd, nullptr, nullptr, &outp, &outLeft) == static_cast<size_t>(-1)) {
        out.resize(start);
        return false;
    }
    out.resize(static_cast<size_t>(outp - out.data()));
    return true;
}

}  // namespace

bool Envelope::isValidUtf8(std::string_view s) {
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const auto* end = p + s.size();
    while (p < end) {
        unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int extra;
        unsigned cp;
        if (c >= 0xC2 && c <= 0xDF) { extra = 1; cp = c & 0x1F; }
        else if (c >= 0xE0 && c <= 0xEF) { extra = 2; cp = c & 0x0F; }
        else if (c >= 0xF0 && c <= 0xF4) { extra = 3; cp = c & 0x07; }
        else return false;
        if (end - p <= extra) return false;
        for (int i = 1; i <= extra; ++i) {
            if ((p[i] & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (p[i] & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
        if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        p += extra + 1;
    }
    return true;
}

std::optional<std::string> Envelope::hexStringForData(const std::optional<std::string>& bytes) {
    if (!bytes) return std::nullopt;
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out(bytes->size() * 2, '\0');
    for (size_t i = 0; i < bytes->size(); ++i) {
        auto b = static_cast<unsigned char>((*bytes)[i]);
        out[2 * i] = digits[b >> 4];
        out[2 * i + 1] = digits[b & 0xF];
    }
    return out;
}

std::optional<std::string> Envelope::dataForHexString(const std::optional<std::string>& text) {
    if (!text) return std::nullopt;
    const std::string& t = *text;
    std::string out((t.size() + 1) / 2, '\0');
    for (size_t i = 0; i < t.size(); i += 2) {
        int hi = hexValue(static_cast<unsigned char>(t[i]));
        int lo = i + 1 < t.size() ? hexValue(static_cast<unsigned char>(t[i + 1])) : 0;
        out[i / 2] = static_cast<char>(((hi < 0 ? 0 : hi) << 4) | (lo < 0 ? 0 : lo));
    }
    return out;
}

std::optional<std::string> Envelope::TripleDES(const std::optional<std::string>& text, Operation op,
                                               std::string_view key) {
    if (op == kEncrypt) {
        auto enciphered = runCipher(text ? std::string_view(*text) : std::string_view(), key, true);
        return enciphered ? hexStringForData(enciphered) : std::string();
    }
    auto bytes = dataForHexString(text ? *text : std::string());
    auto plain = runCipher(*bytes, key, false);
    if (!plain) return std::string();
    if (!isValidUtf8(*plain)) return std::nullopt;
    return plain;
}

std::string Envelope::escape(std::string_view params) {
    static constexpr std::string_view kept = "-_.!~*'();/?:@&=+$,";
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(params.size() * 3 / 2);
    for (char ch : params) {
        auto c = static_cast<unsigned char>(ch);
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
            kept.find(ch) != std::string_view::npos) {
            out.push_back(ch);
        } else {
            out.push_back('%');
            out.push_back(digits[c >> 4]);
            out.push_back(digits[c & 0xF]);
        }
    }
    return out;
}

std::string Envelope::seal(std::string_view params) {
    return *TripleDES(escape(params), kEncrypt);
}

std::string Envelope::sealRaw(std::string_view params) {
    return escape(*TripleDES(std::string(params), kEncrypt));
}

std::optional<std::string> Envelope::unescapeGB18030(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::string run;
    size_t i = 0;
    while (i < text.size()) {
        size_t pct = text.find('%', i);
        if (pct == std::string_view::npos) {
            out.append(text.substr(i));
            break;
        }
        out.append(text.substr(i, pct - i));
        i = pct;
        run.clear();
        while (i + 2 < text.size() && text[i] == '%') {
            int hi = hexValue(static_cast<unsigned char>(text[i + 1]));
            int lo = hexValue(static_cast<unsigned char>(text[i + 2]));
            if (hi < 0 || lo < 0) break;
            run.push_back(static_cast<char>((hi << 4) | lo));
            i += 3;
        }
        if (run.empty()) {  // a lone percent sign stays as it is
            out.push_back('%');
            ++i;
            continue;
        }
        if (!appendFromGB18030(run, out)) return std::nullopt;
    }
    return out;
}

std::optional<std::string> Envelope::open(std::string_view body, bool* bodyWasUtf8) {
    bool utf8 = isValidUtf8(body);
    if (bodyWasUtf8) *bodyWasUtf8 = utf8;
    // A body that is not UTF-8 is deciphered as absent text, which gives "" (no JSON), so the
    // decoder can still report an empty answer for it.
    auto plain = TripleDES(utf8 ? std::optional<std::string>(std::string(body)) : std::nullopt, kDecrypt);
    if (!plain) return std::nullopt;
    return unescapeGB18030(*plain);
}

}  // namespace ql
