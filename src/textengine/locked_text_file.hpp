// A settings file held by one writer for a whole read-modify-write.
#pragma once

#include <string>
#include <utility>

#include "textengine/file_access.hpp"

namespace ravlet {

// Opens the regular file at `path` (links followed), takes its exclusive lock (flock
// on POSIX, LockFileEx on Windows), waiting while another writer holds it, and reads
// its text through the same handle. The lock is held until destruction, so a Save can never
// overwrite what another writer saved in between. A writer that waited checks that
// the locked file is still the one the path names (a save replaces it) and otherwise
// opens the new one. Throws FileError like LoadTextFile.
class LockedTextFile {
public:
    explicit LockedTextFile(const std::string& path);
    ~LockedTextFile();
    LockedTextFile(const LockedTextFile&) = delete;
    LockedTextFile& operator=(const LockedTextFile&) = delete;

    // The text as read under the lock.
    const std::string& Text() const { return text_; }

    // The text as read, moved out (Text() is then empty): an edit of a large file holds
    // its text once, not twice, since the save needs no copy of what was read.
    std::string TakeText() { return std::move(text_); }

    // Writes `text` as SaveTextFile does, still holding the lock. Once per object: a
    // save may replace the locked file. Throws FileError; std::logic_error when
    // called again.
    void Save(const std::string& text);

private:
    std::string text_;
    file_access::HeldFile held_;
    bool saved_ = false;
};

}  // namespace ravlet
