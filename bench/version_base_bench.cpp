// The version base queries on the generated base, each at its costliest place (the
// last version, the last group, the last key), and the cascade of a selection as the
// sequence of pure functions the editor runs.
#include <string>
#include <vector>

#include "bench_support.hpp"
#include "textengine/value_replacement.hpp"
#include "versionbase/catalogue.hpp"
#include "versionbase/value_choices.hpp"
#include "versionbase/version_list.hpp"

namespace ravlet::bench {
namespace {

void BM_ListVersions(benchmark::State& state, bool cold) {
    const auto& d = Data();
    AllocCount allocs;
    for (auto _ : state) {
        StartColdIfAsked(state, cold);
        AllocScope scope(allocs);
        auto versions = ListVersions(d.base.text);
        benchmark::DoNotOptimize(versions);
    }
    Report(state, MemchrSeconds(d.base.text), allocs);
}

void BM_DetectVersion(benchmark::State& state) {
    const auto& d = Data();
    AllocCount allocs;
    for (auto _ : state) {
        AllocScope scope(allocs);
        benchmark::DoNotOptimize(DetectVersion(d.ini, d.base.text, d.base.versions));
    }
    Report(state, MemchrSeconds(d.base.text) + MemchrSeconds(d.ini), allocs);
}

void BM_ListGroups_LastVersion(benchmark::State& state) {
    const auto& d = Data();
    AllocCount allocs;
    for (auto _ : state) {
        AllocScope scope(allocs);
        auto groups = ListGroups(d.base.text, d.versionName);
        benchmark::DoNotOptimize(groups);
    }
    Report(state, MemchrSeconds(d.base.text), allocs);
}

void BM_ListParameters_LastGroup(benchmark::State& state) {
    const auto& d = Data();
    AllocCount allocs;
    for (auto _ : state) {
        AllocScope scope(allocs);
        auto params = ListParameters(d.base.text, d.versionName, d.lastGroup, false);
        benchmark::DoNotOptimize(params);
    }
    Report(state, MemchrSeconds(d.base.text), allocs);
}

void BM_ListValues_LastKey(benchmark::State& state) {
    const auto& d = Data();
    AllocCount allocs;
    for (auto _ : state) {
        AllocScope scope(allocs);
        auto choices = ListValues(d.base.text, d.ini, d.versionName, d.lastGroup, d.LastParam().key);
        benchmark::DoNotOptimize(choices);
    }
    Report(state, MemchrSeconds(d.base.text) + MemchrSeconds(d.ini), allocs);
}

// The last key has only a general description line: the group line is searched first.
void BM_ParameterHint_LastKey(benchmark::State& state) {
    const auto& d = Data();
    AllocCount allocs;
    for (auto _ : state) {
        AllocScope scope(allocs);
        auto hint = ParameterHint(d.base.text, d.lastGroup, d.LastParam().key);
        benchmark::DoNotOptimize(hint);
    }
    Report(state, MemchrSeconds(d.base.text), allocs);
}

void BM_ParameterHint_FirstKey(benchmark::State& state) {
    const auto& d = Data();
    AllocCount allocs;
    for (auto _ : state) {
        AllocScope scope(allocs);
        auto hint = ParameterHint(d.base.text, d.firstGroup, d.FirstParam().key);
        benchmark::DoNotOptimize(hint);
    }
    Report(state, MemchrSeconds(d.base.text), allocs);
}

// Values, the write of the selected one, the hint: what selecting a parameter does.
std::size_t SelectParameter(const BenchData& d, std::string& ini, const std::string& group,
                            const std::string& key) {
    ValueChoices choices = ListValues(d.base.text, ini, d.versionName, group, key);
    std::string value = choices.items[static_cast<std::size_t>(choices.selected)];
    PutParamVal(ini, group, key, value);
    return ParameterHint(d.base.text, group, key).size();
}

// Selecting the last version: its groups, the first group's parameters, the first
// parameter's values, its write and its hint.
void BM_Cascade_Pure_SelectVersion(benchmark::State& state) {
    const auto& d = Data();
    std::string ini = d.ini;
    AllocCount allocs;
    for (auto _ : state) {
        AllocScope scope(allocs);
        const auto groups = ListGroups(d.base.text, d.versionName);
        const auto params = ListParameters(d.base.text, d.versionName, groups.front(), false);
        benchmark::DoNotOptimize(SelectParameter(d, ini, groups.front(), params.front()));
    }
    Report(state, MemchrSeconds(d.base.text) + MemchrSeconds(d.ini), allocs);
}

// Selecting the last group: its parameters, then the first parameter as above.
void BM_Cascade_Pure_SelectLastGroup(benchmark::State& state) {
    const auto& d = Data();
    std::string ini = d.ini;
    AllocCount allocs;
    for (auto _ : state) {
        AllocScope scope(allocs);
        const auto params = ListParameters(d.base.text, d.versionName, d.lastGroup, false);
        benchmark::DoNotOptimize(SelectParameter(d, ini, d.lastGroup, params.front()));
    }
    Report(state, MemchrSeconds(d.base.text) + MemchrSeconds(d.ini), allocs);
}

// Selecting the last parameter of the last group.
void BM_Cascade_Pure_SelectLastParameter(benchmark::State& state) {
    const auto& d = Data();
    std::string ini = d.ini;
    AllocCount allocs;
    for (auto _ : state) {
        AllocScope scope(allocs);
        benchmark::DoNotOptimize(SelectParameter(d, ini, d.lastGroup, d.LastParam().key));
    }
    Report(state, MemchrSeconds(d.base.text) + MemchrSeconds(d.ini), allocs);
}

}  // namespace

BENCHMARK_CAPTURE(BM_ListVersions, warm, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ListVersions, cold_heap, true)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DetectVersion)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ListGroups_LastVersion)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ListParameters_LastGroup)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ListValues_LastKey)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ParameterHint_LastKey)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ParameterHint_FirstKey)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Cascade_Pure_SelectVersion)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Cascade_Pure_SelectLastGroup)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Cascade_Pure_SelectLastParameter)->Unit(benchmark::kMicrosecond);

}  // namespace ravlet::bench
