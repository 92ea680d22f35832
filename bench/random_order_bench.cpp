// The random play order of a full list (32,767 entries), against filling the
// same array in order (the least any order can cost) in the same run.

#include "app/play_order.h"

#include <benchmark/benchmark.h>
#include <numeric>

namespace {

constexpr qint16 FullList = 32767;

void BM_InOrderFill(benchmark::State &state)
{
    for (auto _ : state) {
        std::vector<qint16> order(FullList + 1, 0);
        std::iota(order.begin() + 1, order.end(), qint16(1));
        benchmark::DoNotOptimize(order.data());
    }
}

void BM_BuildRandomOrder(benchmark::State &state)
{
    std::mt19937 generator = SeededGenerator();
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildRandomOrder(FullList, generator).data());
}

} // namespace

BENCHMARK(BM_InOrderFill)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BuildRandomOrder)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
