// The shared data and helpers of the benchmarks.
#include "bench_support.hpp"

#include <malloc.h>
#include <time.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <utility>
#include <vector>

#include "textengine/key_lookup.hpp"
#include "versionbase/catalogue.hpp"
#include "versionbase/value_choices.hpp"
#include "versionbase/version_list.hpp"

namespace ravlet::bench {
namespace {

void Expect(bool ok, const std::string& what) {
    if (!ok) throw std::runtime_error("generated data: " + what);
}

// The texts must be what the benchmarks claim to measure: found where expected.
void Check(const BenchData& d) {
    const GeneratedBase& b = d.base;
    Expect(b.text.size() == kBaseBytes, "base size");
    Expect(d.ini.size() == kSettingsBytes && d.oldIni.size() == kSettingsBytes, "settings size");
    Expect(ListVersions(b.text) == b.versions, "ListVersions gives the generated versions");
    const Detection found = DetectVersion(d.ini, b.text, b.versions);
    Expect(found.recognised && found.index == d.version, "DetectVersion finds the last version");
    for (const std::string& v : b.versions) {
        Expect(ListGroups(b.text, v) == b.groups, "ListGroups of " + v + " gives every group once");
    }
    const Param& last = d.LastParam();
    const auto full = ListParameters(b.text, d.versionName, d.lastGroup, true);
    Expect(full.size() == d.GroupParams(b.groups.size() - 1).size() && full.back() == last.key,
           "ListParameters of the last group ends with the last key");
    Expect(GetParamVal(b.text, d.versionName, d.lastGroup, last.key) == last.spec,
           "GetParamVal finds the value spec of the last key");
    const std::string current = GetParamVal(d.ini, "", d.lastGroup, last.key);
    Expect(std::find(last.choices.begin(), last.choices.end(), current) != last.choices.end(),
           "GetParamVal finds the current value of the last key");
    Expect(!last.advanced && last.generalHint, "the last key is a + line with a general hint");
    Expect(!ParameterHint(b.text, d.lastGroup, last.key).empty(), "the last key has a hint");
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

double ThreadCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "ravlet-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a temporary folder");
        path_ = pattern;
        WriteDataFiles(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace

const std::vector<Param>& BenchData::GroupParams(std::size_t g) const {
    return base.params[static_cast<std::size_t>(version)][g];
}
const Param& BenchData::FirstParam() const { return GroupParams(0).front(); }
const Param& BenchData::LastParam() const { return GroupParams(base.groups.size() - 1).back(); }

const BenchData& Data() {
    static const BenchData data = [] {
        BenchData d;
        d.base = GenerateBase(BaseShape{});
        d.version = static_cast<int>(d.base.versions.size()) - 1;
        d.versionName = d.base.versions.back();
        d.ini = GenerateSettings(d.base, d.version, kSettingsBytes, 11);
        d.oldIni = GenerateSettings(d.base, d.version, kSettingsBytes, 23);
        d.firstGroup = d.base.groups.front();
        d.lastGroup = d.base.groups.back();
        Check(d);
        return d;
    }();
    return data;
}

const std::string& SettingsOfSize(std::size_t bytes) {
    static std::map<std::size_t, std::string> texts;
    auto it = texts.find(bytes);
    if (it == texts.end()) {
        const BenchData& d = Data();
        it = texts.emplace(bytes, GenerateSettings(d.base, d.version, bytes, 11)).first;
    }
    return it->second;
}

double MemchrSeconds(std::string_view text) {
    static std::map<std::pair<const char*, std::size_t>, double> measured;
    const auto key = std::make_pair(text.data(), text.size());
    if (auto it = measured.find(key); it != measured.end()) return it->second;

    const std::size_t passes = std::max<std::size_t>(1, (std::size_t{8} << 20) / std::max<std::size_t>(1, text.size()));
    std::vector<double> perPass;
    for (int batch = 0; batch < 31; ++batch) {
        const double t0 = ThreadCpuSeconds();
        for (std::size_t k = 0; k < passes; ++k) {
            const void* hit = std::memchr(text.data(), 0, text.size());
            benchmark::DoNotOptimize(hit);
            benchmark::ClobberMemory();
        }
        perPass.push_back((ThreadCpuSeconds() - t0) / static_cast<double>(passes));
    }
    std::nth_element(perPass.begin(), perPass.begin() + 15, perPass.end());
    return measured[key] = perPass[15];
}

void Report(benchmark::State& state, double memchrSeconds, const AllocCount& allocations) {
    using benchmark::Counter;
    // Rate counters divide by the CPU time; inverted, they give time per iteration over the value.
    state.counters["x_memchr"] = Counter(memchrSeconds, Counter::kIsIterationInvariantRate | Counter::kInvert);
    state.counters["x_frame"] = Counter(0.016, Counter::kIsIterationInvariantRate | Counter::kInvert);
    state.counters["allocs"] = Counter(static_cast<double>(allocations.calls), Counter::kAvgIterations);
    state.counters["alloc_bytes"] =
        Counter(static_cast<double>(allocations.bytes), Counter::kAvgIterations, Counter::kIs1024);
}

void KeepFreedMemory() {
    // Without this, glibc's moving thresholds decide per run whether a freed 1 MiB
    // block is kept or unmapped, and the same operation measures 0.7 or 5 ms.
    ::mallopt(M_MMAP_THRESHOLD, 64 << 20);
    ::mallopt(M_TRIM_THRESHOLD, 256 << 20);
}

void StartColdIfAsked(benchmark::State& state, bool cold) {
    if (!cold) return;
    state.PauseTiming();
    ::malloc_trim(0);
    state.ResumeTiming();
}

const std::string& WorkDir() {
    static const TempFolder folder;
    return folder.path();
}

void WriteDataFiles(const std::string& dir) {
    const BenchData& d = Data();
    WriteFile(dir + "/rvbase.txt", d.base.text);
    WriteFile(dir + "/tarven.ini", d.ini);
    WriteFile(dir + "/old.ini", d.oldIni);
}

std::string WorkPath(std::string_view name) { return WorkDir() + "/" + std::string(name); }

LoadedEditor::LoadedEditor() {
    const BenchData& d = Data();
    if (!editor.Form_Load()) throw std::runtime_error("Form_Load failed on the generated base");
    platform.answer = WorkPath("tarven.ini");
    editor.Loadini_Click();
    if (editor.Version.ListIndex() != d.version || platform.messages != 0) {
        throw std::runtime_error("loading the generated settings did not select the last version");
    }
}

}  // namespace ravlet::bench
