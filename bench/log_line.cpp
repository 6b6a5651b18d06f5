// What a log line of the core costs: switched off (the everyday case, one load and a branch),
// and switched on with a 64-byte reply in hex handed to a sink that drops it (the formatting).
//
//   build/bench/log_line
#include "data/Log.h"

#include <benchmark/benchmark.h>

#include <array>

namespace {

std::array<uint8_t, 64> Reply() {
    std::array<uint8_t, 64> reply{};
    for (size_t k = 0; k < reply.size(); ++k)
        reply[k] = static_cast<uint8_t>(k * 37);
    return reply;
}

void DropLine(trv::LogCategory, trv::LogLevel, const char*, int, std::string_view text) {
    benchmark::DoNotOptimize(text.data());
}

void BM_LineOff(benchmark::State& state) {
    trv::SetLogSink(&DropLine);
    trv::SetLogEnabled(trv::LogCategory::Link, trv::LogLevel::Debug, false);
    const auto reply = Reply();
    for (auto _ : state) {
        const trv::LogStopwatch waiting(trv::LogCategory::Link);
        TRV_LOG(trv::LogCategory::Link, trv::LogLevel::Debug,
                "reply " << trv::HexBytes{reply} << " (" << waiting.ms() << " ms)");
        benchmark::ClobberMemory();
    }
    trv::SetLogSink(nullptr);
}
BENCHMARK(BM_LineOff);

void BM_LineOn(benchmark::State& state) {
    trv::SetLogSink(&DropLine);
    trv::SetLogEnabled(trv::LogCategory::Link, trv::LogLevel::Debug, true);
    const auto reply = Reply();
    for (auto _ : state) {
        const trv::LogStopwatch waiting(trv::LogCategory::Link);
        TRV_LOG(trv::LogCategory::Link, trv::LogLevel::Debug,
                "reply " << trv::HexBytes{reply} << " (" << waiting.ms() << " ms)");
    }
    trv::SetLogSink(nullptr);
}
BENCHMARK(BM_LineOn);

} // namespace

BENCHMARK_MAIN();
