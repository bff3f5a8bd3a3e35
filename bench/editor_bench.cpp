// Every user action through the headless editor, on the generated base and a loaded
// 256 KiB settings file: what one click or one keystroke costs before the window redraws.
#include <memory>
#include <string>

#include "bench_support.hpp"

namespace ravlet::bench {
namespace {

double BothTexts() { return MemchrSeconds(Data().base.text) + MemchrSeconds(Data().ini); }

// With the last group and its last parameter selected: where the values are the costliest.
void SelectLastParameter(Editor& e) {
    e.Group.SetListIndex(e.Group.ListCount() - 1);
    e.Parameters.SetListIndex(e.Parameters.ListCount() - 1);
}

// Start-up without the window: reading rvbase.txt and listing its versions.
void BM_Editor_FormLoad(benchmark::State& state, bool cold) {
    AllocCount allocs;
    for (auto _ : state) {
        StartColdIfAsked(state, cold);
        AllocScope scope(allocs);
        auto platform = std::make_unique<BenchPlatform>();
        Editor editor(*platform);
        if (!editor.Form_Load()) state.SkipWithError("Form_Load failed");
    }
    Report(state, MemchrSeconds(Data().base.text), allocs);
}

// Loading tarven.ini: reading it, detecting its version and the cascade of selecting it.
void BM_Editor_Loadini(benchmark::State& state, bool cold) {
    LoadedEditor loaded;
    Editor& e = loaded.editor;
    AllocCount allocs;
    for (auto _ : state) {
        StartColdIfAsked(state, cold);
        AllocScope scope(allocs);
        e.Loadini_Click();
    }
    Report(state, BothTexts(), allocs);
}

void BM_Editor_SelectVersion(benchmark::State& state) {
    LoadedEditor loaded;
    Editor& e = loaded.editor;
    AllocCount allocs;
    for (auto _ : state) {
        AllocScope scope(allocs);
        e.Version.SetListIndex(Data().version);
    }
    Report(state, BothTexts(), allocs);
}

void BM_Editor_SelectLastGroup(benchmark::State& state) {
    LoadedEditor loaded;
    Editor& e = loaded.editor;
    AllocCount allocs;
    for (auto _ : state) {
        AllocScope scope(allocs);
        e.Group.SetListIndex(e.Group.ListCount() - 1);
    }
    Report(state, BothTexts(), allocs);
}

void BM_Editor_SelectLastParameter(benchmark::State& state) {
    LoadedEditor loaded;
    Editor& e = loaded.editor;
    SelectLastParameter(e);
    AllocCount allocs;
    for (auto _ : state) {
        AllocScope scope(allocs);
        e.Parameters.SetListIndex(e.Parameters.ListCount() - 1);
    }
    Report(state, BothTexts(), allocs);
}

// Picking another value of the last parameter (two of the same length, alternately).
void BM_Editor_SelectValue(benchmark::State& state) {
    LoadedEditor loaded;
    Editor& e = loaded.editor;
    SelectLastParameter(e);
    AllocCount allocs;
    int index = 0;
    for (auto _ : state) {
        index = index == 1 ? 2 : 1;
        AllocScope scope(allocs);
        e.Value.SetListIndex(index);
    }
    Report(state, MemchrSeconds(Data().ini), allocs);
}

// One keystroke in the value field of the last parameter.
void BM_Editor_TypeValue(benchmark::State& state) {
    LoadedEditor loaded;
    Editor& e = loaded.editor;
    SelectLastParameter(e);
    AllocCount allocs;
    bool flip = false;
    for (auto _ : state) {
        std::string text = (flip = !flip) ? "22050" : "44100";
        AllocScope scope(allocs);
        e.Value.TypeText(std::move(text));
    }
    Report(state, MemchrSeconds(Data().ini), allocs);
}

// Switching the full list on or off in the last group.
void BM_Editor_AdvancedClick(benchmark::State& state) {
    LoadedEditor loaded;
    Editor& e = loaded.editor;
    SelectLastParameter(e);
    AllocCount allocs;
    for (auto _ : state) {
        AllocScope scope(allocs);
        e.Advanced.UserClick();
    }
    Report(state, BothTexts(), allocs);
}

// Showing the whole settings text in the hint box.
void BM_Editor_DescriptionClick(benchmark::State& state) {
    LoadedEditor loaded;
    Editor& e = loaded.editor;
    AllocCount allocs;
    for (auto _ : state) {
        AllocScope scope(allocs);
        e.Description.RaiseClick();
    }
    Report(state, MemchrSeconds(Data().ini), allocs);
}

// Checking Autoset: the fill from base defaults of the last version, then the cascade.
void BM_Editor_AutosetFill(benchmark::State& state) {
    LoadedEditor loaded;
    Editor& e = loaded.editor;
    AllocCount allocs;
    const long yieldsBefore = loaded.platform.yields;
    for (auto _ : state) {
        state.PauseTiming();
        e.IniText = Data().ini;
        e.Autoset.SetValue(0);
        state.ResumeTiming();
        AllocScope scope(allocs);
        e.Autoset.UserClick();
    }
    state.counters["yields"] = benchmark::Counter(static_cast<double>(loaded.platform.yields - yieldsBefore),
                                                  benchmark::Counter::kAvgIterations);
    Report(state, BothTexts(), allocs);
}

// The Auto button: reading old.ini, the transfer, the refresh of the lists.
void BM_Editor_Autoupdate(benchmark::State& state) {
    LoadedEditor loaded;
    Editor& e = loaded.editor;
    loaded.platform.answer = WorkPath("old.ini");
    AllocCount allocs;
    for (auto _ : state) {
        state.PauseTiming();
        e.IniText = Data().ini;
        state.ResumeTiming();
        AllocScope scope(allocs);
        e.Autoupdate_Click();
    }
    if (loaded.platform.messages != 0) state.SkipWithError("the transfer reported a failure");
    Report(state, MemchrSeconds(Data().base.text) + 2 * MemchrSeconds(Data().ini), allocs);
}

// Save and Exit: the safe write of the settings text (temporary file, flush, rename).
void BM_Editor_Save(benchmark::State& state) {
    LoadedEditor loaded;
    Editor& e = loaded.editor;
    e.IniPath = WorkPath("saved.ini");
    AllocCount allocs;
    for (auto _ : state) {
        AllocScope scope(allocs);
        e.Save_Click();
    }
    if (loaded.platform.messages != state.iterations()) state.SkipWithError("saving failed");
    Report(state, MemchrSeconds(Data().ini), allocs);
}

}  // namespace

BENCHMARK_CAPTURE(BM_Editor_FormLoad, warm, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Editor_FormLoad, cold_heap, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Editor_Loadini, warm, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Editor_Loadini, cold_heap, true)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Editor_SelectVersion)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Editor_SelectLastGroup)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Editor_SelectLastParameter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Editor_SelectValue)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Editor_TypeValue)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Editor_AdvancedClick)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Editor_DescriptionClick)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Editor_AutosetFill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Editor_Autoupdate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Editor_Save)->Unit(benchmark::kMillisecond);

}  // namespace ravlet::bench
