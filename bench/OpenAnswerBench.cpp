// Opening and decoding an answer against the cipher alone: the cipher is the floor, and the rest
// (hex, UTF-8 check, GB18030 unescape, JSON, records) should add little to it.

#include "HTTP/ResponseDecoder.h"
#include "platform/Preferences.h"
#include "protocol/Envelope.h"

#include <benchmark/benchmark.h>

namespace {

// A news list answer of about `hexBytes` bytes on the wire, with escaped Chinese titles.
std::string makeAnswerBody(size_t hexBytes) {
    // "国考公告：2027年度中央机关公务员招录" as GB18030 escapes, plus ASCII.
    const std::string title = "%B9%FA%BF%BC%B9%AB%B8%E6%A3%BA2027%C4%EA%B6%C8%D6%D0%D1%EB%BB%FA%B9%D8"
                              "%B9%AB%CE%F1%D4%B1%D5%D0%C2%BC";
    std::string json = "{\"returncode\":1,\"next\":1,\"consult_list_arr\":[";
    for (int i = 0; json.size() * 2 < hexBytes - 200; ++i) {
        if (i) json += ',';
        json += "{\"id\":\"" + std::to_string(10000 + i) + "\",\"typeid\":\"189\",\"title\":\"" + title +
                "\",\"pubdate\":\"" + std::to_string(1796990400 - i * 600) + "\"}";
    }
    json += "]}";
    return *ql::Envelope::TripleDES(json, ql::Envelope::kEncrypt);
}

const std::string& body() {
    static const std::string b = makeAnswerBody(200 * 1024);
    return b;
}

void BM_DecipherOnly(benchmark::State& state) {
    std::optional<std::string> text = body();
    for (auto _ : state) {
        auto plain = ql::Envelope::TripleDES(text, ql::Envelope::kDecrypt);
        benchmark::DoNotOptimize(plain);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * body().size()));
}

void BM_OpenAndDecode(benchmark::State& state) {
    ql::Preferences::standard().setObject("returncode", "1");
    ql::GetArrayDelegate delegate;
    for (auto _ : state) {
        std::optional<ql::RecordList> items;
        ql::ResponseDecoder::decode(body(), "", ql::DelegateRef(&delegate), items, nullptr);
        benchmark::DoNotOptimize(items);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * body().size()));
}

}  // namespace

BENCHMARK(BM_DecipherOnly)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpenAndDecode)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
