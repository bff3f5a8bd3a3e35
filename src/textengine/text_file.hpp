// Whole-file reading and safe writing: bytes in, bytes out, nothing converted.
#pragma once

#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>

namespace ravlet {

// What went wrong with a file, one kind per problem, each worded once in Russian
// (file_reason.hpp); each system maps its own error codes onto these kinds.
enum class FileFailure {
    Other,        // a reason worded where it arose
    SystemError,  // a system error code without a kind of its own (detail: the code)
    Missing,      // the file (or its folder) does not exist
    NotAFolderInPath,
    AccessDenied,
    IsFolder,
    IsDevice,
    IsFifo,
    IsSocket,
    NotRegular,
    DiskFull,
    QuotaExceeded,
    ReadOnlyFileSystem,
    WriteProtected,
    FileTooLarge,
    NameTooLong,
    TooManyLinks,
    IoError,
    RunningProgram,
    DeviceBusy,
    TooManyOpenInProcess,
    TooManyOpenInSystem,
    OutOfMemory,
    CrossDevice,
    LockedByOther,
    SharingViolation,  // another program keeps the file open without sharing it
    NoReader,
    TooLargeToRead,
    InvalidOperation,
    StaleNetworkFile,
    NetworkPathUnavailable,
    PipeClosed,
    HandleClosed,
    InterruptedCall,
    NotSupported,
    NotReady,
    InvalidName,
    AlreadyExists,
    MappedByOther,
    ReadOnlyFile,  // no write permission bit, or the read-only attribute
    FolderNotWritable,
    Busy,              // a lock held longer than the wait allows (detail: the seconds)
    BusySaving,        // as Busy, the holder being another Ravlet's in-place save
    Replaced,          // the file or its folder was replaced while it was being saved
    AlwaysReplaced,    // replaced again on every attempt to lock it
    LinkedDuringSave,  // a second name appeared while the save was under way
    Interrupted,       // an in-place save was cut off: a recovery copy exists (detail: its path)
    CopyFailed,        // the recovery copy could not be made (detail: why); file untouched
    NothingToRecover,  // the file has no recovery copy
    CopyNotOwn,        // the file at the copy's name is not this file's copy (detail: its path)
    CopyOutdated,      // the copy is older than a later save of the file (detail: its path)
};

// A file that could not be read or written; what() names the file and the reason
// (in Russian, see file_reason.hpp).
class FileError : public std::runtime_error {
public:
    // The reason is the kind's wording with `detail`.
    FileError(const std::string& path, FileFailure kind, const std::string& detail = {});
    // A reason worded by the caller.
    FileError(const std::string& path, const std::string& reason,
              FileFailure kind = FileFailure::Other);
    const std::string& Path() const { return path_; }
    const std::string& Reason() const { return reason_; }
    FileFailure Kind() const { return kind_; }
    // What the kind carries: the recovery copy's path for Interrupted, CopyNotOwn and
    // CopyOutdated, the seconds waited for Busy; else "".
    const std::string& Detail() const { return detail_; }

private:
    std::string path_;
    std::string reason_;
    FileFailure kind_;
    std::string detail_;
};

// How long a load, a save or a lock waits for another program's lock, and what it
// does once it has waited about a second (say so, once; `byRavlet` when the holder is
// another Ravlet saving the file). Process-wide: the window and the command line set
// it once.
struct LockWait {
    std::chrono::milliseconds limit{std::chrono::seconds(30)};
    std::function<void(const std::string& path, bool byRavlet)> waiting;
};

// Sets the process's lock wait; returns the previous one.
LockWait ExchangeLockWait(LockWait wait);

// The whole content of the regular file at `path`, one char per byte; an empty file
// gives "". Throws FileError for a missing file, anything that is not a regular file
// (folder, device, FIFO, socket: never waited on), a failed read, or too little memory.
// Waits (see LockWait) only while another program rewrites the file in place; a save
// that replaces the file is not waited for. A file with a recovery copy (an in-place
// save cut off) is refused with FileFailure::Interrupted, under every name of the file.
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
// and removes the copy. Only this file's own, whole copy is put back, and only while
// the file is still marked as torn; anything else is refused (CopyNotOwn,
// CopyOutdated) and nothing changes. False when the file has no recovery copy.
// Throws FileError.
bool RecoverTextFile(const std::string& path);

}  // namespace ravlet
