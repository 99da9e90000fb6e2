// Throughput of the LZW coder and decoder on 1 MB of the two kinds of stream a
// song record holds: event records and text records.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <span>
#include <random>
#include <string_view>
#include <vector>

#include "codec/lzw_compress.h"
#include "codec/lzw_decompress.h"
#include "codec/lzw_test_support.h"

namespace {

constexpr size_t kInputSize = 1 << 20;

// 5-byte event records: small deltas, notes on a few channels, some controllers.
std::vector<uint8_t> eventStream() { return zmr::test::eventLike(kInputSize, 1); }

// 4-byte text records: a lyric character, a line-feed flag, its time low
// byte first, the time rising by a few units per character.
std::vector<uint8_t> textStream() {
    static constexpr std::string_view lyric =
        "Ngay xua ngay xua co mot chang trai yeu mot co gai\rLa la la em oi dung khoc nua\r";
    std::mt19937 random(2);
    std::vector<uint8_t> out;
    out.reserve(kInputSize);
    uint32_t time = 0;
    for (size_t i = 0; out.size() < kInputSize; ++i) {
        const char c = lyric[i % lyric.size()];
        time += 2 + random() % 6;
        out.insert(out.end(), {static_cast<uint8_t>(c), static_cast<uint8_t>(c == '\r'),
                               static_cast<uint8_t>(time), static_cast<uint8_t>(time >> 8)});
    }
    return out;
}

void compress(benchmark::State& state, const std::vector<uint8_t>& input) {
    for (auto _ : state) {
        auto section = zmr::lzwCompress(input);
        benchmark::DoNotOptimize(section.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * input.size()));
    state.counters["ratio"] = static_cast<double>(zmr::lzwCompress(input).size()) / input.size();
}

// A song's event section at a time: 20 KB, a few dictionary cycles each.
void compressSongSized(benchmark::State& state, const std::vector<uint8_t>& input) {
    constexpr size_t kSong = 20000;
    for (auto _ : state) {
        for (size_t at = 0; at < input.size(); at += kSong) {
            auto section = zmr::lzwCompress(std::span(input).subspan(at, std::min(kSong, input.size() - at)));
            benchmark::DoNotOptimize(section.data());
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * input.size()));
}

void decompress(benchmark::State& state, const std::vector<uint8_t>& input) {
    const auto section = zmr::lzwCompress(input);
    for (auto _ : state) {
        auto decoded = zmr::lzwDecompress(section, static_cast<uint32_t>(input.size()));
        if (!decoded.ok()) state.SkipWithError(decoded.message().c_str());
        benchmark::DoNotOptimize(decoded.value().data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * input.size()));
}

void BM_LzwCompressEvents(benchmark::State& state) { compress(state, eventStream()); }
void BM_LzwCompressText(benchmark::State& state) { compress(state, textStream()); }
void BM_LzwCompressSongSizedEvents(benchmark::State& state) { compressSongSized(state, eventStream()); }
void BM_LzwDecompressEvents(benchmark::State& state) { decompress(state, eventStream()); }
void BM_LzwDecompressText(benchmark::State& state) { decompress(state, textStream()); }

BENCHMARK(BM_LzwCompressEvents)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LzwCompressText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LzwCompressSongSizedEvents)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LzwDecompressEvents)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LzwDecompressText)->Unit(benchmark::kMillisecond);

}  // namespace
