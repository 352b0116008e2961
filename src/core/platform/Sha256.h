#pragma once
// SHA-256 through OpenSSL, as lower-case hex: checksums of cache entries and lesson files.

#include <memory>
#include <string>
#include <string_view>

namespace ql {

class Sha256 {
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    Sha256& update(std::string_view data);
    // The digest of everything added so far, as 64 lower-case hex digits ("" if the digest failed).
    std::string hex();

    static std::string of(std::string_view data) { return Sha256().update(data).hex(); }

private:
    struct Context;
    std::unique_ptr<Context> ctx_;
};

}  // namespace ql
