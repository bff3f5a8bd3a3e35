// The primitives the save protocol (file_access.cpp) asks of the operating system,
// one implementation per system in posix/ and windows/, split by concept: handles and
// the folder, locks, temporary files, identity and attributes. Internal to the text
// engine. Every primitive throws FileError (with the system error's kind) unless its
// contract says it returns the failure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "textengine/text_file.hpp"

namespace ravlet::file_system {

struct Folder;  // a folder held open (POSIX) or named and checked (Windows)
struct File;    // an open regular file
struct Temp;    // a temporary file in a folder, removed unless placed
struct Deferral;
struct Turn;  // a writer's turn among Ravlet's writers of one file

struct Closer {
    void operator()(Folder* folder) const noexcept;
    void operator()(File* file) const noexcept;
    void operator()(Temp* temp) const noexcept;
    void operator()(Deferral* deferral) const noexcept;
    void operator()(Turn* turn) const noexcept;
};
using FolderPtr = std::unique_ptr<Folder, Closer>;
using FilePtr = std::unique_ptr<File, Closer>;
using TempPtr = std::unique_ptr<Temp, Closer>;
using DeferralPtr = std::unique_ptr<Deferral, Closer>;
using TurnPtr = std::unique_ptr<Turn, Closer>;

// What the protocol compares of a file.
struct FileState {
    std::uint64_t volume = 0;  // with `index`, the file's identity whatever its names
    std::uint64_t index = 0;
    std::uint64_t size = 0;
    std::int64_t modified = 0;  // last write, in the system's ticks
    std::uint32_t links = 1;
    std::uint32_t owner = 0;  // the owner's user id (0 on Windows)
    bool readOnly = false;    // no write permission bit, or the read-only attribute
};

inline bool SameFile(const FileState& a, const FileState& b) {
    return a.volume == b.volume && a.index == b.index;
}

// Same file, size and last write: nobody wrote it since `read` was taken.
inline bool Unchanged(const FileState& now, const FileState& read) {
    return SameFile(now, read) && now.size == read.size && now.modified == read.modified;
}

// --- Handles and the folder (handles_*.cpp) ---

// The file `path` names, symbolic links followed (a dangling one too), so that a save
// writes the link's target and the link stays.
std::string ResolveLinks(const std::string& path, const std::string& shown);

// The folder of `target` (a resolved path) and the file's name in it.
FolderPtr OpenFolderOf(const std::string& target, const std::string& shown, std::string& leaf);

// The folder's path names the folder held: nothing was swapped in on the way.
bool FolderUnchanged(const Folder& folder);

// `leaf` in `folder` as a full path without links, the same from every working folder.
std::string FullPathIn(const Folder& folder, const std::string& leaf);

enum class Access { Read, ReadWrite };

// The regular file `path` (links followed), opened without blocking on a FIFO and
// checked on the handle: anything else is refused with its kind (IsFolder, IsFifo...).
FilePtr OpenRegular(const std::string& path, Access access, const std::string& shown);

// `leaf` of `folder` itself (a link in its place is refused), as OpenRegular. Returns
// null with `failed` set when the open itself fails; refusals of what it is throw.
FilePtr OpenIn(const Folder& folder, const std::string& leaf, Access access,
               const std::string& shown, FileFailure& failed);

FileState StateOf(const File& file, const std::string& shown);

// What `leaf` of `folder` is now (a link not followed); nullopt when there is nothing.
std::optional<FileState> StateAt(const Folder& folder, const std::string& leaf,
                                 const std::string& shown);

// Up to `size` bytes at `offset` into `buffer`; 0 at the end.
std::size_t ReadAt(const File& file, char* buffer, std::size_t size, std::uint64_t offset,
                   const std::string& shown);

// All of `bytes` at `offset`. Returns the failure's kind, FileFailure::Other for none;
// `written` counts the bytes that reached the file.
FileFailure WriteAt(const File& file, std::string_view bytes, std::uint64_t offset,
                    std::size_t& written);

// Space for `size` bytes without changing the size, so a full disk stops an in-place
// write before a byte is overwritten. Returns the failure, FileFailure::Other for none.
FileFailure Reserve(const File& file, std::uint64_t size);

FileFailure SetSize(const File& file, std::uint64_t size);
FileFailure Sync(const File& file);

// Makes a rename or a removal in the folder durable; a failure loses nothing written.
void SyncFolder(const Folder& folder);

// Removes `leaf` of `folder` (a regular file or a link); false when it could not.
bool Remove(const Folder& folder, const std::string& leaf);

// Held while a file is overwritten in place: the signals (Ctrl-C, a terminal closed)
// that would leave it half written wait until it is released.
DeferralPtr DeferInterruptions();

// --- Locks (locks_*.cpp) ---

// Waits (as LockWait allows) for this process's turn among Ravlet's writers of `leaf`,
// taken before the file is opened, where the file's lock alone cannot keep them apart
// (Windows lets it go just before the replacement). Null where the lock suffices.
TurnPtr TakeWriterTurn(const Folder& folder, const std::string& leaf, const std::string& shown);

// One attempt at the writers' exclusive lock on `file`; throws on anything but "held".
bool TryWriterLock(File& file, const std::string& shown);

// One attempt at a reader's lock: waits out an in-place rewrite and a program holding
// the file for its own reasons, not a Ravlet writer that replaces the file in one step.
bool TryReaderLock(File& file, const std::string& shown);

// Tells readers that this process is a Ravlet writer (see TryReaderLock).
void MarkRavletWriter(File& file);

// Whether a Ravlet process holds `file` (as a writer, or rewriting it in place).
bool RavletHolds(const File& file);

// One attempt at the lock an in-place rewrite holds against readers.
bool TryRewriteLock(File& file, const std::string& shown);
void EndRewriteLock(File& file);

// Lets the held file go just before a new file replaces it, where the system replaces
// no open file. True when `file` stays open (and may be asked about) after the rename.
bool ReleaseBeforeReplace(File& file);

// --- Temporary files (temp_*.cpp) ---

// A new temporary file in `folder`, with no permission at all when `replacing` (so it is
// never more open than the file it replaces). Null with `failed` set when it cannot
// be made.
TempPtr CreateTemp(const Folder& folder, bool replacing, FileFailure& failed);

File& FileOf(Temp& temp);

// Gives the temporary file a name in its folder, if it has none yet.
void NameTemp(Temp& temp, const std::string& shown);

enum class Placed { Done, CannotReplace };

// Renames the complete temporary file over `leaf` of its folder (or to that name).
// CannotReplace where the name cannot be renamed over (a mount point).
Placed RenameOver(Temp& temp, const std::string& leaf, const std::string& shown);

// Removes the temporary files of `folder` that a killed save left (nobody holds them).
// Housekeeping only: what fails is let be.
void RemoveStaleTemps(const Folder& folder);

// --- Identity and attributes (identity_*.cpp) ---

// Gives the temporary file the owner, group, mode, extended attributes and ACLs (the
// kept attributes on Windows) of `from`. False when this process may not: the file is
// then written in place.
bool GiveIdentity(Temp& temp, const File& from, const FileState& read, const std::string& shown);

// Why `leaf` of `folder` may not be written: ReadOnlyFileSystem, ReadOnlyFile, or
// nullopt when it may.
std::optional<FileFailure> WriteRefusal(const Folder& folder, const std::string& leaf,
                                        const File& file);

enum class Mark { Absent, Present, Unsupported };

// The mark a file carries on itself, under every name, while it is rewritten in place
// (an extended attribute on POSIX): its value into `value`. Unsupported where the file
// system keeps no such mark.
Mark ReadMark(const File& file, std::string& value);

// Sets or clears the mark; false when it could not be set.
bool SetMark(const File& file, const std::string& value);
void ClearMark(const File& file);

// The user this process acts as, and whether it is the administrator (root).
std::uint32_t CurrentUser();
bool IsAdministrator(std::uint32_t user);

// The user's cache folder for recovery copies, opened without following a link into
// it, made when `create` and missing; null when there is none or it is not this
// user's own.
FolderPtr OpenCacheFolder(bool create);

// The path OpenCacheFolder opens ("" when the system names none).
std::string CacheFolderPath();

}  // namespace ravlet::file_system
