// Whole-file reading and safe writing: bytes in, bytes out, nothing converted.
#pragma once

#include <stdexcept>
#include <string>

namespace ravlet {

// A file that could not be read or written; what() names the file and the reason.
class FileError : public std::runtime_error {
public:
    FileError(const std::string& path, const std::string& reason);
    const std::string& path() const { return path_; }
    const std::string& reason() const { return reason_; }

private:
    std::string path_;
    std::string reason_;
};

// The whole content of the file at `path`, one char per byte; an empty file gives "".
// Throws FileError for a missing file, a folder, or a failed read.
std::string LoadTextFile(const std::string& path);

// Writes `text` to `path` exactly (nothing appended) through a temporary file in the
// target's folder renamed over it, so a failed write leaves the previous file intact.
// A symbolic link is followed: its target is written and the link stays. The
// permissions of an existing file are kept. A file without any write permission bit
// is refused, also for root, so that a read-only file stays protected. Throws
// FileError on failure.
void SaveTextFile(const std::string& path, const std::string& text);

}  // namespace ravlet
