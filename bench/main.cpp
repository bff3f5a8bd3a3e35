// The benchmark runner: generates and checks the texts before any figure is taken, so
// a broken generator or a changed library fails loudly instead of timing nothing.
#include <cstdio>
#include <cstring>
#include <exception>

#include "bench_support.hpp"

int main(int argc, char** argv) {
    // --write_data=DIR: only write the generated rvbase.txt, tarven.ini and old.ini into
    // DIR (for timing the window's start-up on them), no benchmark.
    constexpr const char* kWriteData = "--write_data=";
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], kWriteData, std::strlen(kWriteData)) != 0) continue;
        try {
            ravlet::bench::WriteDataFiles(argv[i] + std::strlen(kWriteData));
            return 0;
        } catch (const std::exception& e) {
            std::fprintf(stderr, "ravlet_bench: %s\n", e.what());
            return 1;
        }
    }
    ravlet::bench::KeepFreedMemory();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    try {
        const auto& d = ravlet::bench::Data();
        std::fprintf(stderr,
                     "version base: %zu bytes, %zu versions, %zu parameter lines; settings: %zu bytes\n"
                     "memchr pass: base %.1f us, settings %.1f us\n",
                     d.base.text.size(), d.base.versions.size(),
                     d.base.versions.size() * d.base.groups.size() * d.GroupParams(0).size(), d.ini.size(),
                     ravlet::bench::MemchrSeconds(d.base.text) * 1e6, ravlet::bench::MemchrSeconds(d.ini) * 1e6);
        ravlet::bench::WorkDir();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "ravlet_bench: %s\n", e.what());
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
