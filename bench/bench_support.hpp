// What every benchmark shares: the generated texts, the memchr yardstick, the counters
// reported with each figure, a folder for the files the editor reads and writes, and a
// platform that answers the editor without a window.
#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "alloc_count.hpp"
#include "editor/editor.hpp"
#include "editor/platform.hpp"
#include "generate.hpp"

namespace ravlet::bench {

inline constexpr std::size_t kBaseBytes = 1 << 20;        // the version base
inline constexpr std::size_t kSettingsBytes = 256 << 10;  // a settings file

struct BenchData {
    GeneratedBase base;
    int version = 0;          // the version the settings texts belong to: the last record
    std::string versionName;
    std::string ini;          // the loaded settings text
    std::string oldIni;       // the same keys with other values: the transfer's older file
    std::string firstGroup;
    std::string lastGroup;

    const std::vector<Param>& GroupParams(std::size_t g) const;
    const Param& FirstParam() const;  // first key of the first group
    const Param& LastParam() const;   // last key of the last group: the end of each text
};

// The texts, generated on first use and checked against the library (the versions are
// listed and detected, the last key is found); throws std::runtime_error on a mismatch.
const BenchData& Data();

// A settings text of exactly `bytes` bytes for the size sweeps (same keys as Data().ini).
const std::string& SettingsOfSize(std::size_t bytes);

// The CPU time of one memchr pass over `text` for a byte it does not hold (median of
// repeated passes), measured once per text.
double MemchrSeconds(std::string_view text);

// Attaches the counters of a figure: x_memchr (time per iteration over `memchrSeconds`),
// x_frame (time per iteration over 16 ms), allocs and alloc_bytes per iteration.
void Report(benchmark::State& state, double memchrSeconds, const AllocCount& allocations);

// Heap state. By default (warm) freed memory stays with the process, so a repeated
// operation reuses its pages whatever ran before. Called once, before any benchmark.
void KeepFreedMemory();
// Cold: the heap's free memory goes back to the system before each iteration (untimed),
// so every large allocation starts on fresh pages, page faults included, as the first
// call in a process does. Call at the top of the timed loop when `cold`.
void StartColdIfAsked(benchmark::State& state, bool cold);

// A private folder holding rvbase.txt, tarven.ini and old.ini; removed at exit.
const std::string& WorkDir();
// Writes the same three files into the existing folder `dir` (for the start-up probe);
// throws std::runtime_error when a file cannot be written.
void WriteDataFiles(const std::string& dir);
std::string WorkPath(std::string_view name);

// A platform for the headless editor: the open dialog answers `answer`, messages are
// counted, the current directory is WorkDir().
class BenchPlatform : public Platform {
public:
    std::optional<std::string> ShowOpenDialog(const OpenDialogRequest&) override { return answer; }
    void ShowMessage(const std::string&, MessageIcon) override { ++messages; }
    void Quit() override { ++quits; }
    std::string CurrentDirectory() override { return WorkDir(); }
    void YieldEvents() override { ++yields; }
    void SetBusy(bool) override {}
    bool AskYesNo(const std::string&) override { return true; }

    std::optional<std::string> answer;
    int messages = 0;
    int quits = 0;
    long yields = 0;
};

// An editor as the user has it after start-up and loading tarven.ini: the last version
// detected and selected, the cascade run. Throws std::runtime_error when it is not.
struct LoadedEditor {
    LoadedEditor();
    BenchPlatform platform;
    Editor editor{platform};
};

}  // namespace ravlet::bench
