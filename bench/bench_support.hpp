// What the benchmarks share: the texts of each scale with their files in a private
// folder, the memchr floor each figure is divided by, and the editor as the user has it
// after loading tarven.ini.
#pragma once

#include <benchmark/benchmark.h>

#include <string>

#include "editor/editor.hpp"
#include "support/fake_platform.hpp"
#include "generate.hpp"

namespace ravlet::bench {

// The scales every benchmark runs at: each doubles the data of the one before.
inline constexpr int kScales[] = {1, 2, 4, 8, 16};

// The texts of one scale, and a folder holding them as rvbase.txt, tarven.ini and
// old.ini (removed at exit).
struct Scaled {
    Texts texts;
    std::string dir;
    Scaled() = default;
    Scaled(const Scaled&) = delete;
    Scaled& operator=(const Scaled&) = delete;
    ~Scaled();
};

// Generated, checked and written on first use. Throws std::runtime_error when a file
// cannot be written.
const Scaled& AtScale(int scale);

// Writes rvbase.txt, tarven.ini and old.ini into the existing folder `dir`.
void WriteFiles(const Texts& texts, const std::string& dir);

// The bytes an operation reads, and so its floor: one memchr pass over each.
enum class Reads { Base, Ini, BaseAndIni, BaseAndBothInis };

// Attaches the figures' counters: x_memchr (CPU time per iteration over memchr passes
// across the bytes it reads), MiB (those bytes).
void Report(benchmark::State& state, const Texts& texts, Reads reads);

// Heap state: freed memory stays with the process, so a repeated operation reuses its
// pages whatever ran before. Called once, before any benchmark.
void KeepFreedMemory();

// After start-up and loading tarven.ini: the last version detected, the cascade run.
// Throws std::runtime_error when it is not.
struct LoadedEditor {
    explicit LoadedEditor(const Scaled& scaled);
    const Scaled& scaled;
    test::FakePlatform platform;
    Editor editor{platform};
};

// The benchmark tables, registered at every scale.
void RegisterLayerBenchmarks();
void RegisterEditorBenchmarks();

}  // namespace ravlet::bench
