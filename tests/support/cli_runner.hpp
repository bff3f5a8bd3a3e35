// A temporary folder and the outcome of one ravlet-cli run, for the command-line tests.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "test_platform.hpp"

namespace ravlet::test {

struct CliOutcome {
    int status;
    std::string out;
    std::string err;
};

class TempDir {
public:
    TempDir() : path_(MakeTempDir("ravlet-cli-")) {}
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }

    std::string Write(const std::string& name, const std::string& bytes) const {
        const auto file = path_ / Utf8Path(name);
        std::ofstream(file, std::ios::binary) << bytes;
        return file.string();
    }

    std::string Read(const std::string& name) const {
        std::ifstream in(path_ / Utf8Path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

private:
    std::filesystem::path path_;
};

}  // namespace ravlet::test
