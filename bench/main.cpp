// The benchmark runner: generates and checks the texts before any figure is taken, so
// a broken generator or a changed library fails loudly instead of timing nothing.
#include <cstdio>
#include <exception>

#include "bench_support.hpp"

int main(int argc, char** argv) {
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
