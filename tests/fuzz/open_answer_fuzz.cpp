// Fuzz target: any bytes as an answer body, opened and decoded with each request tag. Whatever
// the body, decoding must end with exactly one set of callbacks and never crash or hang.

#include "HTTP/ResponseDecoder.h"
#include "platform/Preferences.h"
#include "protocol/Envelope.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {
struct Counting : ql::GetArrayDelegate {
    int calls = 0;
    void getJson(const std::optional<nlohmann::json>&) override { ++calls; }
    void getArray(const std::optional<ql::RecordList>&) override { ++calls; }
    void getArrayClass(const ql::RecordList&) override { ++calls; }
    void getArrayHeadline(const ql::RecordList&) override { ++calls; }
    void getArrayGuokao(const ql::RecordList&) override { ++calls; }
    void getArrayXingce(const ql::RecordList&) override { ++calls; }
    void getArrayShenglun(const ql::RecordList&) override { ++calls; }
    void getArrayMianshi(const ql::RecordList&) override { ++calls; }
    void getArrayOrdernum(const ql::RecordList&) override { ++calls; }
    void getArrayUserInfo(const ql::RecordList&) override { ++calls; }
    void getDidFailWithError(const std::optional<ql::HttpError>&) override { ++calls; }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const char* tags[] = {"", "guokao", "xingce", "shenglun", "mianshi"};
    std::string_view body(reinterpret_cast<const char*>(data), size);
    // The body as it came, and the body's bytes enciphered as a well-formed envelope, so the
    // fuzzer reaches the JSON and record code as well as the cipher and escape code.
    std::string sealed = *ql::Envelope::TripleDES(std::string(body), ql::Envelope::kEncrypt);
    for (std::string_view candidate : {body, std::string_view(sealed)}) {
        Counting delegate;
        std::optional<ql::RecordList> items;
        ql::ResponseDecoder::decode(candidate, tags[size % 5], ql::DelegateRef(&delegate), items, nullptr);
        if (delegate.calls < 1 || delegate.calls > 2) std::abort();
    }
    ql::Preferences::standard().clear();
    return 0;
}
