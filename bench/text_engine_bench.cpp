// The text engine on the generated texts: the memchr yardstick, the search primitive,
// GetParamVal and PutParamVal at the end of each text, and their growth with the size
// of the settings text.
#include <malloc.h>

#include <cstring>
#include <string>

#include "bench_support.hpp"
#include "textengine/key_lookup.hpp"
#include "textengine/text_search.hpp"
#include "textengine/value_replacement.hpp"

namespace ravlet::bench {
namespace {

void Memchr(benchmark::State& state, const std::string& text) {
    AllocCount allocs;
    for (auto _ : state) {
        AllocScope scope(allocs);
        const void* hit = std::memchr(text.data(), 0, text.size());
        benchmark::DoNotOptimize(hit);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    Report(state, MemchrSeconds(text), allocs);
}
void BM_Memchr_Base(benchmark::State& state) { Memchr(state, Data().base.text); }
void BM_Memchr_Settings(benchmark::State& state) { Memchr(state, Data().ini); }

// The case-insensitive and the exact search for a text that is not there: a whole pass.
void BM_InStr_Text_Base(benchmark::State& state) {
    const std::string& text = Data().base.text;
    AllocCount allocs;
    for (auto _ : state) {
        AllocScope scope(allocs);
        benchmark::DoNotOptimize(InStr(1, text, "Nowhere=", Compare::Text));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    Report(state, MemchrSeconds(text), allocs);
}
void BM_InStr_Exact_Base(benchmark::State& state) {
    const std::string& text = Data().base.text;
    AllocCount allocs;
    for (auto _ : state) {
        AllocScope scope(allocs);
        benchmark::DoNotOptimize(InStr(1, text, "Nowhere=", Compare::Exact));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    Report(state, MemchrSeconds(text), allocs);
}

void Lookup(benchmark::State& state, const std::string& text, const std::string& version,
            const std::string& group, const std::string& key) {
    AllocCount allocs;
    for (auto _ : state) {
        AllocScope scope(allocs);
        std::string value = GetParamVal(text, version, group, key);
        benchmark::DoNotOptimize(value);
    }
    Report(state, MemchrSeconds(text), allocs);
}
// The current value of the last key, as FillValues reads it.
void BM_GetParamVal_Settings_LastKey(benchmark::State& state) {
    const auto& d = Data();
    Lookup(state, d.ini, "", d.lastGroup, d.LastParam().key);
}
void BM_GetParamVal_Settings_LastKeyNoGroup(benchmark::State& state) {
    const auto& d = Data();
    Lookup(state, d.ini, "", "", d.LastParam().key);
}
// A key of another version in the first group: what the transfer meets most.
void BM_GetParamVal_Settings_MissingKeyFirstGroup(benchmark::State& state) {
    const auto& d = Data();
    Lookup(state, d.ini, "", d.firstGroup, d.base.params[0][0][0].key);
}
// The value spec of the last key, as FillValues and the fill read it.
void BM_GetParamVal_Base_LastKey(benchmark::State& state) {
    const auto& d = Data();
    Lookup(state, d.base.text, d.versionName, d.lastGroup, d.LastParam().key);
}
void BM_GetParamVal_Base_LastKeyUnrestricted(benchmark::State& state) {
    const auto& d = Data();
    Lookup(state, d.base.text, "", "", d.LastParam().key);
}

// Alternates two values, written as the editor writes them.
void ReplaceWith(benchmark::State& state, std::string text, const std::string& group, const std::string& key,
                 const std::string& a, const std::string& b) {
    std::string first = a;
    PutParamVal(text, group, key, first);  // the first write adds the trailing space
    const double memchrSeconds = MemchrSeconds(text);
    AllocCount allocs;
    bool flip = false;
    for (auto _ : state) {
        std::string value = (flip = !flip) ? b : a;
        AllocScope scope(allocs);
        benchmark::DoNotOptimize(PutParamVal(text, group, key, value));
    }
    Report(state, memchrSeconds, allocs);
}
// Two choices of the same length: the text keeps its size and the value is overwritten
// in place.
void Replace(benchmark::State& state, std::string text, const std::string& group, const Param& param) {
    ReplaceWith(state, std::move(text), group, param.key, param.choices[0], param.choices[1]);
}
// Values of different lengths: the rest of the text moves by one byte, each way.
void ReplaceResizing(benchmark::State& state, std::string text, const std::string& group, const Param& param) {
    ReplaceWith(state, std::move(text), group, param.key, "1", "10");
}
void BM_PutParamVal_Settings_LastKey(benchmark::State& state) {
    const auto& d = Data();
    Replace(state, d.ini, d.lastGroup, d.LastParam());
}
// The first key: an edit in place touches only the value; one that changes its length
// moves the whole rest of the text.
void BM_PutParamVal_Settings_FirstKey(benchmark::State& state) {
    const auto& d = Data();
    Replace(state, d.ini, d.firstGroup, d.FirstParam());
}
void BM_PutParamVal_Settings_FirstKeyResized(benchmark::State& state) {
    const auto& d = Data();
    ReplaceResizing(state, d.ini, d.firstGroup, d.FirstParam());
}

// The first edit after loading: a loaded text has no spare capacity, and a write that
// lengthens a line (the trailing space PutParamVal adds) must grow the whole text.
void BM_PutParamVal_Settings_FirstGrowingEdit(benchmark::State& state, bool cold) {
    const auto& d = Data();
    const Param& param = d.LastParam();
    AllocCount allocs;
    for (auto _ : state) {
        state.PauseTiming();
        std::string text = d.ini;  // capacity == size, as LoadTextFile leaves it at best
        text.shrink_to_fit();
        std::string value = param.choices[0];
        if (cold) ::malloc_trim(0);
        state.ResumeTiming();
        AllocScope scope(allocs);
        benchmark::DoNotOptimize(PutParamVal(text, d.lastGroup, param.key, value));
    }
    Report(state, MemchrSeconds(d.ini), allocs);
}

// ---- Size sweeps over the settings text (64 KiB .. 1 MiB) -------------------------

void BM_Sweep_Memchr(benchmark::State& state) {
    Memchr(state, SettingsOfSize(static_cast<std::size_t>(state.range(0))));
    state.SetComplexityN(state.range(0));
}
void BM_Sweep_GetParamVal_LastKey(benchmark::State& state) {
    const auto& d = Data();
    Lookup(state, SettingsOfSize(static_cast<std::size_t>(state.range(0))), "", d.lastGroup, d.LastParam().key);
    state.SetComplexityN(state.range(0));
}
void BM_Sweep_PutParamVal_LastKey(benchmark::State& state) {
    const auto& d = Data();
    Replace(state, SettingsOfSize(static_cast<std::size_t>(state.range(0))), d.lastGroup, d.LastParam());
    state.SetComplexityN(state.range(0));
}
void BM_Sweep_PutParamVal_FirstKey(benchmark::State& state) {
    const auto& d = Data();
    Replace(state, SettingsOfSize(static_cast<std::size_t>(state.range(0))), d.firstGroup, d.FirstParam());
    state.SetComplexityN(state.range(0));
}
void BM_Sweep_PutParamVal_FirstKeyResized(benchmark::State& state) {
    const auto& d = Data();
    ReplaceResizing(state, SettingsOfSize(static_cast<std::size_t>(state.range(0))), d.firstGroup, d.FirstParam());
    state.SetComplexityN(state.range(0));
}

constexpr std::int64_t kSweepFrom = 64 << 10;
constexpr std::int64_t kSweepTo = 1 << 20;

}  // namespace

BENCHMARK(BM_Memchr_Base)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Memchr_Settings)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_InStr_Text_Base)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_InStr_Exact_Base)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GetParamVal_Settings_LastKey)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GetParamVal_Settings_LastKeyNoGroup)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GetParamVal_Settings_MissingKeyFirstGroup)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GetParamVal_Base_LastKey)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GetParamVal_Base_LastKeyUnrestricted)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PutParamVal_Settings_LastKey)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PutParamVal_Settings_FirstKey)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PutParamVal_Settings_FirstKeyResized)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PutParamVal_Settings_FirstGrowingEdit, warm, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PutParamVal_Settings_FirstGrowingEdit, cold_heap, true)->Unit(benchmark::kMicrosecond);

BENCHMARK(BM_Sweep_Memchr)->RangeMultiplier(2)->Range(kSweepFrom, kSweepTo)->Complexity(benchmark::oN)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Sweep_GetParamVal_LastKey)->RangeMultiplier(2)->Range(kSweepFrom, kSweepTo)->Complexity(benchmark::oN)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Sweep_PutParamVal_LastKey)->RangeMultiplier(2)->Range(kSweepFrom, kSweepTo)->Complexity(benchmark::oN)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Sweep_PutParamVal_FirstKey)->RangeMultiplier(2)->Range(kSweepFrom, kSweepTo)->Complexity(benchmark::oN)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Sweep_PutParamVal_FirstKeyResized)->RangeMultiplier(2)->Range(kSweepFrom, kSweepTo)->Complexity(benchmark::oN)->Unit(benchmark::kMicrosecond);

}  // namespace ravlet::bench
