// Writes the realistic texts as files, for timing ravlet-cli from outside:
//   ravlet_gen S OUTDIR            rvbase.txt (S MiB), tarven.ini and old.ini (S * 256 KiB)
//   ravlet_gen --versions N OUTDIR rvbase.txt of N small records, tarven.ini of the last
// and prints what a correct run of the commands must give (key=value lines), so a script
// can tell a fast wrong answer from a fast right one.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <string>

#include "realistic.hpp"

namespace {

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write " + path);
}

int Number(const char* arg) {
    char* end = nullptr;
    const long n = std::strtol(arg, &end, 10);
    if (end == arg || *end != '\0' || n < 1 || n > 999999) throw std::invalid_argument(std::string("not a count: ") + arg);
    return static_cast<int>(n);
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 4 && std::string(argv[1]) == "--versions") {
            const auto d = ravlet::bench::GenerateManyVersions(Number(argv[2]));
            const std::string dir = argv[3];
            WriteFile(dir + "/rvbase.txt", d.base);
            WriteFile(dir + "/tarven.ini", d.ini);
            std::printf("base_bytes=%zu\nini_bytes=%zu\nversions=%d\nlast_version=%s\n", d.base.size(), d.ini.size(),
                        d.count, d.lastVersion.c_str());
            return 0;
        }
        if (argc == 3) {
            const auto d = ravlet::bench::GenerateRealistic(Number(argv[1]));
            const std::string dir = argv[2];
            WriteFile(dir + "/rvbase.txt", d.base);
            WriteFile(dir + "/tarven.ini", d.ini);
            WriteFile(dir + "/old.ini", d.oldIni);
            std::printf("base_bytes=%zu\nini_bytes=%zu\nold_bytes=%zu\nversions=%zu\nlast_version=%s\n"
                        "old_version=%s\ngroups=%zu\nparameter_lines=%zu\ndescription_lines=%zu\ncarried=%zu\n",
                        d.base.size(), d.ini.size(), d.oldIni.size(), d.versions.size(), d.versions.back().c_str(),
                        d.versions[static_cast<std::size_t>(d.oldVersion)].c_str(), d.groups.size(), d.parameterLines,
                        d.descriptionLines, d.carried);
            return 0;
        }
        std::fprintf(stderr, "usage: ravlet_gen S OUTDIR | ravlet_gen --versions N OUTDIR\n");
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "ravlet_gen: %s\n", e.what());
        return 1;
    }
}
