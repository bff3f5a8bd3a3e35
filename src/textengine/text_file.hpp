// Whole-file reading and safe writing: bytes in, bytes out, nothing converted.
#pragma once

#include <stdexcept>
#include <string>

namespace ravlet {

// A file that could not be read or written; what() names the file and the reason
// (in Russian, see file_reason.hpp).
class FileError : public std::runtime_error {
public:
    FileError(const std::string& path, const std::string& reason);
    const std::string& path() const { return path_; }
    const std::string& reason() const { return reason_; }

private:
    std::string path_;
    std::string reason_;
};

// The whole content of the regular file at `path`, one char per byte; an empty file
// gives "". Throws FileError for a missing file, anything that is not a regular file
// (folder, device, FIFO, socket: never waited on), a failed read, or too little memory.
// Waits while a writer holds the file's lock (see LockedTextFile).
std::string LoadTextFile(const std::string& path);

// Writes `text` to `path` exactly (nothing appended); a failed save leaves the
// previous file whole. An existing file keeps its mode, owner, group, extended
// attributes and ACLs: it is replaced by an unnamed temporary file of the same
// identity, or written in place where a new file cannot stand for it (other hard
// links, a folder that is not writable, an owner this process cannot give). A
// symbolic link is followed: its target is written and the link stays. Only a regular
// file is written. A file without any write permission bit is refused, also for root,
// so that a read-only file stays protected. Waits while another writer holds the
// file's lock (see LockedTextFile). Throws FileError on failure.
void SaveTextFile(const std::string& path, const std::string& text);

}  // namespace ravlet
