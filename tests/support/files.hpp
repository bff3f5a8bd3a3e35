// The few things the tests ask of the system that differ between POSIX and Windows,
// in one place: whether this is Windows, a fresh temporary folder, a file size limit.
#pragma once

#include <cstdint>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>

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

// A path from UTF-8, whatever the system's narrow encoding.
inline std::filesystem::path Utf8Path(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

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
