// Cost of one rain update step on a 1920 x 1080 screen, at the dialog's default and largest column
// counts, with and without the message cycle. The clock moves on 31 ms per step as in the saver.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "gl/gl_null.h"
#include "rain/field.h"
#include "rain/random.h"

namespace {

uint32_t tick = 0;

void RainUpdateStep(benchmark::State& state) {
    const int32_t columns = static_cast<int32_t>(state.range(0));
    const bool continuous = state.range(1) != 0;
    FillGlTableWithNoOps();
    SeedRandom(0);
    RainField field{};
    field.build(1920, 1080, columns, false, continuous, "THE TORVEX");
    for (auto _ : state) {
        field.update(tick += 31);
        benchmark::DoNotOptimize(field.firstStream->y);
    }
    field.release();
}

}  // namespace

// Arguments: column count, continuous (1) or cycling (0). A run of 6010 steps covers ten cycles.
BENCHMARK(RainUpdateStep)
    ->ArgsProduct({{52, 67}, {1, 0}})
    ->ArgNames({"columns", "continuous"})
    ->Iterations(6010)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true)
    // Other work on a shared machine only ever adds time: the fastest repetition is the step's
    // own cost, the median what it costs under that load.
    ->ComputeStatistics("min",
                        [](const std::vector<double>& v) {
                            return *std::min_element(v.begin(), v.end());
                        })
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
