// The benchmark runner: generates and checks the texts of every scale before any figure
// is taken, so a broken generator or a changed library fails loudly instead of timing
// nothing. `--write_data=DIR [--scale=S]` only writes rvbase.txt, tarven.ini and
// old.ini of scale S (1 by default) into DIR, for timing the programs from outside.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string_view>

#include "bench_support.hpp"

int main(int argc, char** argv) {
    using namespace ravlet::bench;
    const char* writeDir = nullptr;
    int scale = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.starts_with("--write_data=")) writeDir = argv[i] + arg.find('=') + 1;
        if (arg.starts_with("--scale=")) scale = std::atoi(argv[i] + arg.find('=') + 1);
    }
    try {
        if (writeDir) {
            WriteFiles(Generate(scale), writeDir);
            return 0;
        }
        KeepFreedMemory();
        benchmark::Initialize(&argc, argv);
        if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
        for (int s : kScales) {
            const Texts& t = AtScale(s).texts;
            std::size_t keys = 0;
            for (const auto& group : t.params.back()) keys += group.size();
            std::fprintf(
                stderr,
                "x%d: version base %zu bytes, settings files %zu bytes, %zu keys in %zu groups\n",
                s, t.base.size(), t.ini.size(), keys, t.groups.size());
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "ravlet_bench: %s\n", e.what());
        return 1;
    }
    RegisterLayerBenchmarks();
    RegisterEditorBenchmarks();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
