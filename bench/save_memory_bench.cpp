// Peak memory of a save against the size of the file: each save runs in a child
// process whose peak resident size the kernel reports, a locked read, one value
// changed, and the save through a temporary file or in place (a second hard link). The
// figure to read is the ratio of the peak to the file's size, and that it stays put as
// the size doubles. POSIX only.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "textengine/locked_text_file.hpp"
#include "textengine/value_replacement.hpp"

namespace {

namespace fs = std::filesystem;

// A settings file of `bytes` bytes: a key to change, then comment lines (CR LF).
void WriteSettings(const fs::path& path, std::size_t bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const std::string head = "TARVEN=3.5\r\n[Video]\r\nScale=1\r\n";
    out << head;
    const std::string line = "; " + std::string(94, 'x') + "\r\n";
    for (std::size_t n = head.size(); n + line.size() <= bytes; n += line.size()) out << line;
}

// The peak resident size, in bytes, of a child that saves `path` with one value changed.
long PeakOfSave(const fs::path& path) {
    const pid_t child = fork();
    if (child == 0) {
        ravlet::LockedTextFile file(path.string());
        std::string text = file.TakeText();
        std::string value = "2";
        if (!ravlet::PutParamVal(text, "[Video]", "Scale", value)) _exit(2);
        file.Save(text);
        _exit(0);
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return usage.ru_maxrss * 1024;
}

}  // namespace

int main(int argc, char** argv) {
    const fs::path dir = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path();
    const fs::path file = dir / "ravlet-memory-bench.ini";
    std::printf("%-10s %-14s %12s %8s\n", "MiB", "save", "peak MiB", "peak/N");
    for (const std::size_t mib : {32, 64, 128, 256}) {
        for (const bool inPlace : {false, true}) {
            WriteSettings(file, mib << 20);
            const fs::path link = dir / "ravlet-memory-bench-link.ini";
            if (inPlace) fs::create_hard_link(file, link);
            const long peak = PeakOfSave(file);
            fs::remove(link);
            std::printf("%-10zu %-14s %12.1f %8.2f\n", mib, inPlace ? "in place" : "temporary file",
                        static_cast<double>(peak) / (1 << 20),
                        static_cast<double>(peak) / static_cast<double>(mib << 20));
        }
    }
    fs::remove(file);
    return 0;
}
