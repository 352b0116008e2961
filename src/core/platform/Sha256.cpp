#include "platform/Sha256.h"

#include <openssl/evp.h>

namespace ql {

struct Sha256::Context {
    EVP_MD_CTX* md = EVP_MD_CTX_new();
    bool ok = md && EVP_DigestInit_ex(md, EVP_sha256(), nullptr) == 1;
    ~Context() { EVP_MD_CTX_free(md); }
};

Sha256::Sha256() : ctx_(std::make_unique<Context>()) {}
Sha256::~Sha256() = default;

Sha256& Sha256::update(std::string_view data) {
    ctx_->ok = ctx_->ok && EVP_DigestUpdate(ctx_->md, data.data(), data.size()) == 1;
    return *this;
}

std::string Sha256::hex() {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned len = 0;
    if (!ctx_->ok || EVP_DigestFinal_ex(ctx_->md, digest, &len) != 1) return {};
    ctx_->ok = false;
    static constexpr char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(len * 2);
    for (unsigned i = 0; i < len; ++i) {
        out.push_back(digits[digest[i] >> 4]);
        out.push_back(digits[digest[i] & 0xF]);
    }
    return out;
}

}  // namespace ql
