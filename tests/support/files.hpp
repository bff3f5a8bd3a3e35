// Files for the tests: whole-file reads and writes that bypass the code under test, a
// fresh temporary folder, and the few file things that differ between POSIX and
// Windows (whether this is Windows, a file size limit).
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>

#ifndef _WIN32
#include <csignal>

#include <sys/resource.h>
#endif

namespace ravlet::test {

#ifdef _WIN32
inline constexpr bool kWindows = true;
#else
inline constexpr bool kWindows = false;
#endif

// A path from UTF-8, whatever the system's narrow encoding.
inline std::filesystem::path Utf8Path(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// The file's bytes; "" for a file that cannot be read.
inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Writes `bytes` as the whole file, creating or truncating it.
inline void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

#ifdef RAVLET_EXAMPLES_DIR
// The bytes of a file of the repository's examples/ ("old/tarven.ini", say).
inline std::string ReadExample(const std::string& name) {
    return ReadBytes(std::filesystem::path(RAVLET_EXAMPLES_DIR) / name);
}
#endif

// A new, empty folder in the system's temporary folder, its name starting with `prefix`.
inline std::filesystem::path MakeTempDir(const std::string& prefix) {
    static std::mt19937_64 engine{std::random_device{}()};
    const std::filesystem::path parent = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path dir = parent / (prefix + std::to_string(engine() % 1000000000));
        if (std::filesystem::create_directory(dir)) return dir;
    }
    throw std::runtime_error("no temporary folder could be made");
}

// A temporary folder removed with everything in it when the object goes; files are
// named in UTF-8.
class TempDir {
public:
    explicit TempDir(const std::string& prefix = "ravlet-test-") : path_(MakeTempDir(prefix)) {}
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        // A read-only entry (on Windows, the attribute) would stop the removal.
        for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
            std::filesystem::permissions(
                it->path(), std::filesystem::perms::owner_write,
                std::filesystem::perm_options::add | std::filesystem::perm_options::nofollow,
                ignored);
        }
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // Writes the file `name` in the folder and gives its path.
    std::string Write(const std::string& name, std::string_view bytes) const {
        const auto file = path_ / Utf8Path(name);
        WriteBytes(file, bytes);
        return file.string();
    }

    std::string Read(const std::string& name) const { return ReadBytes(path_ / Utf8Path(name)); }

private:
    std::filesystem::path path_;
};

// Limits the size of the files this process writes, a write past it failing (EFBIG)
// instead of ending the process; false where the system has no such limit (Windows).
inline bool LimitFileSize(std::uint64_t bytes) {
#ifdef _WIN32
    (void)bytes;
    return false;
#else
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{static_cast<rlim_t>(bytes), RLIM_INFINITY};
    return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
#endif
}

inline void UnlimitFileSize() {
#ifndef _WIN32
    const rlimit limit{RLIM_INFINITY, RLIM_INFINITY};
    ::setrlimit(RLIMIT_FSIZE, &limit);
#endif
}

}  // namespace ravlet::test
