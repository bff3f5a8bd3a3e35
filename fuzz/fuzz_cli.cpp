// The command line's argument handling: any argument list ends with a defined exit
// status. The run happens in a private temporary folder holding copies of the
// examples, and arguments naming other folders are skipped, so nothing else can be
// written.
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "cli/run.hpp"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    namespace fs = std::filesystem;
    char pattern[] = "/tmp/ravlet-fuzz-cli-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) std::abort();
    const fs::path dir = pattern;
    const fs::path examples = RAVLET_EXAMPLES_DIR;
    fs::copy_file(examples / "rvbase.txt", dir / "rvbase.txt");
    fs::copy_file(examples / "tarven.ini", dir / "tarven.ini");
    fs::copy_file(examples / "old" / "tarven.ini", dir / "old.ini");
    if (::chdir(dir.c_str()) != 0) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> args{"ravlet-cli"};
    std::string current;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            args.push_back(current);
            current.clear();
        } else {
            current += static_cast<char>(data[i]);
        }
    }
    args.push_back(current);
    for (const auto& a : args) {
        if (a.find('/') != std::string::npos || a.find('\\') != std::string::npos) return 0;
    }
    std::vector<const char*> argv;
    for (const auto& a : args) argv.push_back(a.c_str());
    // Both terminals, on the same arguments: bytes that are not UTF-8 take other paths there.
    for (const auto terminal : {ravlet::cli::Terminal::Utf8, ravlet::cli::Terminal::Cp1251}) {
        std::ostringstream out, err;
        const int status =
            ravlet::cli::RunCli(static_cast<int>(argv.size()), argv.data(), out, err, terminal);
        if (status < 0 || status > 3) std::abort();
    }
    return 0;
}
