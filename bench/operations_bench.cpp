// The bulk operations on the generated texts: the fill from base defaults of the last
// version and the transfer of an older settings file of the same keys.
#include <string>

#include "bench_support.hpp"
#include "operations/transfer.hpp"
#include "operations/fill_defaults.hpp"

namespace ravlet::bench {
namespace {

void BM_FillFromDefaults(benchmark::State& state, bool cold) {
    const auto& d = Data();
    AllocCount allocs;
    for (auto _ : state) {
        StartColdIfAsked(state, cold);
        AllocScope scope(allocs);
        std::string filled = FillFromDefaults(d.base.text, d.versionName, d.ini);
        benchmark::DoNotOptimize(filled);
    }
    Report(state, MemchrSeconds(d.base.text) + MemchrSeconds(d.ini), allocs);
}

// The descriptions section names every key of every version; the texts hold only the
// last version's, so most lines are looked up and not found.
void BM_TransferValues(benchmark::State& state) {
    const auto& d = Data();
    AllocCount allocs;
    int carried = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::string ini = d.ini;
        state.ResumeTiming();
        AllocScope scope(allocs);
        const TransferResult result = TransferValues(d.base.text, d.oldIni, ini);
        carried = result.carried;
        if (result.failure) state.SkipWithError("the transfer stopped early");
    }
    state.counters["carried"] = carried;
    Report(state, MemchrSeconds(d.base.text) + 2 * MemchrSeconds(d.ini), allocs);
}

}  // namespace

BENCHMARK_CAPTURE(BM_FillFromDefaults, warm, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FillFromDefaults, cold_heap, true)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TransferValues)->Unit(benchmark::kMillisecond);

}  // namespace ravlet::bench
