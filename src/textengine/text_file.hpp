// Whole-file reading and safe writing: bytes in, bytes out, nothing converted.
#pragma once

#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>

namespace ravlet {

// What kind of failure a FileError is, where a caller acts on it.
enum class FileFailure {
    Other,
    Missing,      // the file (or its folder) does not exist
    Busy,         // another program held the lock longer than the wait allows
    Replaced,     // the file or its folder was replaced while it was being saved
    Interrupted,  // an earlier in-place save was cut off: a recovery copy exists
};

// A file that could not be read or written; what() names the file and the reason
// (in Russian, see file_reason.hpp).
class FileError : public std::runtime_error {
public:
    FileError(const std::string& path, const std::string& reason,
              FileFailure kind = FileFailure::Other);
    const std::string& path() const { return path_; }
    const std::string& reason() const { return reason_; }
    FileFailure kind() const { return kind_; }

private:
    std::string path_;
    std::string reason_;
    FileFailure kind_;
};

// How long a load, a save or a lock waits for another program's lock, and what it
// does once it has waited about a second (say so, once). Process-wide: the window and
// the command line set it once.
struct LockWait {
    std::chrono::milliseconds limit{std::chrono::seconds(30)};
    std::function<void(const std::string& path)> waiting;
};

// Sets the process's lock wait; returns the previous one.
LockWait ExchangeLockWait(LockWait wait);

// The whole content of the regular file at `path`, one char per byte; an empty file
// gives "". Throws FileError for a missing file, anything that is not a regular file
// (folder, device, FIFO, socket: never waited on), a failed read, or too little memory.
// Waits (see LockWait) only while another program rewrites the file in place; a save
// that replaces the file is not waited for. A file with a recovery copy (an in-place
// save cut off) is refused with FileFailure::Interrupted.
std::string LoadTextFile(const std::string& path);

// Writes `text` to `path` exactly (nothing appended); a failed save leaves the
// previous file whole. An existing file keeps its mode, owner, group, extended
// attributes and ACLs: it is replaced by an unnamed temporary file of the same
// identity, or written in place where a new file cannot stand for it (other hard
// links, a folder that is not writable, an owner this process cannot give). A
// symbolic link is followed: its target is written and the link stays. Only a regular
// file is written. A file without any write permission bit is refused, also for root,
// so that a read-only file stays protected. Waits while another writer holds the
// file's lock (see LockedTextFile). An in-place save first puts the old bytes in a
// recovery copy (RecoveryCopyOf), synced before the file changes and removed once the
// new text is synced, so after any crash the file is old, new, or restored by
// RecoverTextFile. Throws FileError on failure.
void SaveTextFile(const std::string& path, const std::string& text);

// Puts back the old text a cut-off in-place save left in its recovery copy, in place,
// and removes the copy. False when the file has no recovery copy. Throws FileError.
bool RecoverTextFile(const std::string& path);

}  // namespace ravlet
