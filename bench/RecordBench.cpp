// Loading and saving records: the cost every package and packet pays.
#include <benchmark/benchmark.h>

#include "model/Fixtures.h"
#include "util/Extended.h"

namespace mirvex {
namespace {

void BM_LoadQuestion(benchmark::State& state) {
    const TBytes image = SaveToBytes(*fixtures::ConformityQuestion());
    for (auto _ : state) {
        TTestQuestion q;
        benchmark::DoNotOptimize(LoadFromBytes(q, image));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * image.size()));
}
BENCHMARK(BM_LoadQuestion);

void BM_SaveQuestion(benchmark::State& state) {
    auto q = fixtures::ConformityQuestion();
    for (auto _ : state) benchmark::DoNotOptimize(SaveToBytes(*q));
}
BENCHMARK(BM_SaveQuestion);

void BM_LoadSettings(benchmark::State& state) {
    const TBytes image = SaveToBytes(*fixtures::FullSettings());
    for (auto _ : state) {
        TTestSettings s;
        benchmark::DoNotOptimize(LoadFromBytes(s, image));
    }
}
BENCHMARK(BM_LoadSettings);

void BM_ExtendedRoundTrip(benchmark::State& state) {
    double v = 4.35;
    for (auto _ : state) {
        v = ExtendedToDouble(DoubleToExtended(v));
        benchmark::DoNotOptimize(v);
    }
}
BENCHMARK(BM_ExtendedRoundTrip);

}  // namespace
}  // namespace mirvex
