// POSIX: what the primitives' opaque handles hold, shared by the files of this folder.
#pragma once

#include <string>
#include <utility>

#include <sys/stat.h>
#include <unistd.h>

#include "textengine/file_system.hpp"

namespace ravlet::file_system {

// A descriptor closed when it goes out of scope.
class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(Descriptor&& other) noexcept : fd_(other.Release()) {}
    Descriptor& operator=(Descriptor&& other) noexcept {
        if (this != &other) {
            Reset();
            fd_ = other.Release();
        }
        return *this;
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { Reset(); }

    int Get() const { return fd_; }
    int Release() noexcept { return std::exchange(fd_, -1); }
    void Reset() noexcept {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_ = -1;
};

// The folder a file was read from, held open so that a save writes where the file was
// read, whatever its path names by then.
struct Folder {
    Descriptor fd;
    std::string path;  // as the program names it, for the signal handler
    std::string real;  // without links, for the names of recovery copies
    struct stat st {};
};

struct File {
    Descriptor fd;
};

// A temporary file: unnamed (O_TMPFILE) until it is complete, or named and locked
// (flock) from its first moment to its last, so that a later save can tell one whose
// writer is gone. Whatever it still names is removed with it.
struct Temp {
    File file;
    const Folder* folder = nullptr;
    std::string leaf;
    bool unnamed = false;
};

[[noreturn]] void Fail(const std::string& shown, int err);
FileFailure KindOf(int err);
FileState StateFrom(const struct stat& st);

}  // namespace ravlet::file_system
