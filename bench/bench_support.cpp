// The shared data, floor and editor of the benchmarks.
#include "bench_support.hpp"

#include <malloc.h>
#include <time.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <utility>
#include <vector>

namespace ravlet::bench {
namespace {

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write " + path);
}

double ThreadCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// The CPU time of one memchr pass over `text` for a byte it does not hold: the median
// of 31 batches of passes, measured once per text.
double MemchrSeconds(std::string_view text) {
    static std::map<std::pair<const char*, std::size_t>, double> measured;
    const auto key = std::make_pair(text.data(), text.size());
    if (auto it = measured.find(key); it != measured.end()) return it->second;
    const std::size_t passes =
        std::max<std::size_t>(1, (std::size_t{8} << 20) / std::max<std::size_t>(1, text.size()));
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

}  // namespace

Scaled::~Scaled() {
    std::error_code ignored;
    if (!dir.empty()) std::filesystem::remove_all(dir, ignored);
}

const Scaled& AtScale(int scale) {
    static std::map<int, std::unique_ptr<Scaled>> cache;
    auto& slot = cache[scale];
    if (!slot) {
        auto s = std::make_unique<Scaled>();
        s->texts = Generate(scale);
        std::string pattern =
            (std::filesystem::temp_directory_path() / "ravlet-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot create a temporary folder");
        s->dir = pattern;
        WriteFiles(s->texts, s->dir);
        slot = std::move(s);
    }
    return *slot;
}

void WriteFiles(const Texts& texts, const std::string& dir) {
    WriteFile(dir + "/rvbase.txt", texts.base);
    WriteFile(dir + "/tarven.ini", texts.ini);
    WriteFile(dir + "/old.ini", texts.oldIni);
}

void Report(benchmark::State& state, const Texts& t, Reads reads) {
    double floor = 0;
    std::size_t bytes = 0;
    auto pass = [&](const std::string& text, int times) {
        floor += times * MemchrSeconds(text);
        bytes += static_cast<std::size_t>(times) * text.size();
    };
    if (reads != Reads::Ini) pass(t.base, 1);
    if (reads != Reads::Base) pass(t.ini, reads == Reads::BaseAndBothInis ? 2 : 1);
    using benchmark::Counter;
    // A rate counter divides by the CPU time; inverted, it gives time per iteration over the floor.
    state.counters["x_memchr"] =
        Counter(floor, Counter::kIsIterationInvariantRate | Counter::kInvert);
    state.counters["MiB"] = static_cast<double>(bytes) / (1 << 20);
}

void KeepFreedMemory() {
    // Without this, glibc's moving thresholds decide per run whether a freed 1 MiB
    // block is kept or unmapped, and the same operation measures 0.7 or 5 ms.
    ::mallopt(M_MMAP_THRESHOLD, 64 << 20);
    ::mallopt(M_TRIM_THRESHOLD, 256 << 20);
}

LoadedEditor::LoadedEditor(const Scaled& s) : scaled(s) {
    platform.directory = s.dir;
    if (!editor.Form_Load()) throw std::runtime_error("Form_Load failed on the generated base");
    platform.answers.push_back(s.dir + "/tarven.ini");
    editor.Loadini_Click();
    if (editor.Version.ListIndex() != s.texts.iniVersion || !platform.messages.empty() ||
        editor.Group.ListCount() != static_cast<int>(s.texts.groups.size())) {
        throw std::runtime_error("loading the generated settings did not select the last version");
    }
}

}  // namespace ravlet::bench
