// The descriptor-level steps shared by LoadTextFile, SaveTextFile and LockedTextFile:
// opening only regular files, reading through a descriptor, the exclusive lock, and
// the save that keeps what the file is.
#pragma once

#include <string>

#include <sys/stat.h>

namespace ravlet::file_access {

// A descriptor closed when it goes out of scope.
class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(Descriptor&& other) noexcept : fd_(other.Release()) {}
    Descriptor& operator=(Descriptor&& other) noexcept;
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { Reset(); }

    int Get() const { return fd_; }
    int Release() noexcept;
    void Reset() noexcept;

private:
    int fd_ = -1;
};

// The file a path names, following symbolic links (also a dangling one), so that a
// save replaces the link's target and the link stays a link. `shown` is the path the
// user gave, for the message. Throws FileError on a loop.
std::string ResolveLinks(const std::string& path, const std::string& shown);

// Opens `path` with `access` (O_RDONLY, O_RDWR) if it is a regular file. Anything else
// (folder, device, FIFO, socket) is refused with a FileError naming what it is, and a
// FIFO is never waited on: the open does not block and the type is checked on the
// descriptor before anything is read. The descriptor is left blocking.
Descriptor OpenRegular(const std::string& path, int access, const std::string& shown);

// Everything from the start of the regular file `fd`. Throws FileError (out of memory
// included).
std::string ReadAll(int fd, const std::string& shown);

// `path` (links resolved) opened for reading and locked exclusively (flock), waiting
// for another writer. Once the lock is held the descriptor is checked to still be the
// file the path names; a save by the previous holder may have renamed a new file over
// it, and then the new one is opened and locked instead.
Descriptor OpenLocked(const std::string& path, const std::string& shown);

// Writes `text` as the whole content of `target` (links resolved), which is the
// regular file open on `locked`, keeping its mode, owner, group, extended attributes
// and ACLs. Through an unnamed temporary file renamed over the target; in place when
// the file has other hard links, its folder is not writable, its owner or attributes
// could not be given to a new file, or it cannot be renamed over (a mount point).
// `oldText`, when not null, is the file's current content (saves reading it again).
void SaveOver(const std::string& target, int locked, const std::string& text,
              const std::string* oldText, const std::string& shown);

// Creates `target`, which does not exist, with `text`, through a temporary file.
void SaveNew(const std::string& target, const std::string& text, const std::string& shown);

}  // namespace ravlet::file_access
