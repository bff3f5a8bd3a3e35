// Windows file access: UTF-16 paths, regular files only, LockFileEx (shared for
// readers, exclusive for writers, waited for as LockWait allows), and the save through
// a temporary file in the same folder moved over the target in one step, once the
// folder and the file are checked to be the ones read, or in place behind a recovery
// copy for a file with other hard links.
#include "textengine/file_access.hpp"

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <new>
#include <optional>
#include <random>
#include <stdexcept>
#include <string_view>
#include <utility>

#include <windows.h>

#include "textengine/file_reason.hpp"
#include "textengine/lock_wait.hpp"
#include "textengine/pending_temp.hpp"
#include "textengine/recovery_copy.hpp"
#include "textengine/text_file.hpp"
#include "textengine/wide_text.hpp"

namespace ravlet::file_access {
namespace {

constexpr const char* kFolder = "это папка, а не файл";

[[noreturn]] void Fail(const std::string& shown, DWORD err) {
    const bool missing = err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND;
    throw FileError(shown, ReasonOf(static_cast<int>(err)),
                    missing ? FileFailure::Missing : FileFailure::Other);
}

[[noreturn]] void FailReplaced(const std::string& shown) {
    throw FileError(shown, kReplacedWhileSaving, FileFailure::Replaced);
}

[[noreturn]] void FailLast(const std::string& shown) { Fail(shown, ::GetLastError()); }

// A kernel handle closed when it goes out of scope.
class Handle {
public:
    Handle() = default;
    explicit Handle(HANDLE h) : h_(h) {}
    Handle(Handle&& other) noexcept : h_(std::exchange(other.h_, INVALID_HANDLE_VALUE)) {}
    Handle& operator=(Handle&& other) noexcept {
        if (this != &other) {
            Reset();
            h_ = std::exchange(other.h_, INVALID_HANDLE_VALUE);
        }
        return *this;
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() { Reset(); }

    HANDLE Get() const { return h_; }
    // CreateFileW fails with INVALID_HANDLE_VALUE, CreateMutexW with null.
    bool Valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    void Reset() noexcept {
        if (Valid()) ::CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE h_ = INVALID_HANDLE_VALUE;
};

// An open file and its lock on every byte, also past the end where it may grow. The
// lock is let go before the close, which alone frees it only eventually.
class LockedHandle {
public:
    LockedHandle() = default;
    LockedHandle(LockedHandle&&) noexcept = default;
    LockedHandle& operator=(LockedHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            file_ = std::move(other.file_);
            locked_ = std::exchange(other.locked_, false);
        }
        return *this;
    }
    ~LockedHandle() { Reset(); }

    explicit LockedHandle(Handle file) : file_(std::move(file)) {}
    HANDLE Get() const { return file_.Get(); }
    bool Valid() const { return file_.Valid(); }

    // Waits for the lock as LockWait allows: LOCKFILE_EXCLUSIVE_LOCK for a writer, 0
    // for a reader. False where the file system has no locks.
    bool Lock(DWORD flags, const std::string& shown) {
        WaitForLock(shown, [&] {
            OVERLAPPED whole{};
            if (::LockFileEx(file_.Get(), flags | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD,
                             &whole)) {
                locked_ = true;
                return true;
            }
            return ::GetLastError() != ERROR_LOCK_VIOLATION && ::GetLastError() != ERROR_IO_PENDING;
        });
        return locked_;
    }

    void Reset() noexcept {
        if (locked_) {
            OVERLAPPED whole{};
            ::UnlockFileEx(file_.Get(), 0, MAXDWORD, MAXDWORD, &whole);
            locked_ = false;
        }
        file_.Reset();
    }

private:
    Handle file_;
    bool locked_ = false;
};

// A named mutex owned by this thread until it goes out of scope.
class OwnedMutex {
public:
    OwnedMutex() = default;
    explicit OwnedMutex(Handle mutex) : mutex_(std::move(mutex)) {}
    OwnedMutex(OwnedMutex&&) noexcept = default;
    OwnedMutex& operator=(OwnedMutex&&) noexcept = default;
    ~OwnedMutex() {
        if (mutex_.Valid()) ::ReleaseMutex(mutex_.Get());
    }

private:
    Handle mutex_;
};

std::wstring FullPath(const std::wstring& path, const std::string& shown) {
    const DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) FailLast(shown);
    std::wstring full(needed, L'\0');
    const DWORD got = ::GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (got == 0 || got >= needed) FailLast(shown);
    full.resize(got);
    return full;
}

// The path as the system takes it: UTF-16, and past MAX_PATH in the \\?\ form, the
// only one that reaches such a file (room is left for the temporary file's name).
std::wstring SystemPath(const std::string& path, const std::string& shown) {
    std::optional<std::wstring> wide = Utf8ToWide(path);
    if (!wide || wide->find(L'\0') != std::wstring::npos) Fail(shown, ERROR_INVALID_NAME);
    if (wide->size() < MAX_PATH - 30 || wide->starts_with(L"\\\\?\\")) return *std::move(wide);
    const std::wstring full = FullPath(*wide, shown);
    if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

// The folder part of `target`, separator included: where its temporary file goes.
std::wstring FolderPrefix(const std::wstring& target) {
    const std::size_t slash = target.find_last_of(L"\\/");
    if (slash != std::wstring::npos) return target.substr(0, slash + 1);
    if (target.size() >= 2 && target[1] == L':') return target.substr(0, 2);
    return {};
}

// A leaf name of fixed length whatever the target's name, so any legal name saves.
std::wstring RandomLeaf() {
    static std::mt19937_64 engine{std::random_device{}()};
    static constexpr wchar_t kDigits[] = L"abcdefghijklmnopqrstuvwxyz0123456789";
    std::wstring leaf = L".ravlet-";
    for (int i = 0; i < 10; ++i) leaf += kDigits[engine() % (std::size(kDigits) - 1)];
    return leaf + L".tmp";
}

std::string NotRegularReason(DWORD type) {
    if (type == FILE_TYPE_CHAR) return "это устройство, а не обычный файл";
    if (type == FILE_TYPE_PIPE) return "это именованный канал, а не обычный файл";
    return "это не обычный файл";
}

// Opens `path` with `access` if it is a regular file: a folder, a device or a pipe is
// refused with what it is before a byte is read. 0 or the error of the open itself;
// refusals throw.
DWORD OpenRegular(const std::wstring& path, DWORD access, const std::string& shown, Handle& out) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        throw FileError(shown, kFolder);
    }
    Handle file(::CreateFileW(path.c_str(), access,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return ::GetLastError();
    // The handle decides: the path may name something else since the look above.
    const DWORD type = ::GetFileType(file.Get());
    if (type != FILE_TYPE_DISK) throw FileError(shown, NotRegularReason(type));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(file.Get(), &info)) FailLast(shown);
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) throw FileError(shown, kFolder);
    out = std::move(file);
    return 0;
}

// Everything from the start of `file`. Throws FileError (out of memory included).
std::string ReadAll(HANDLE file, const std::string& shown) {
    try {
        std::string text;
        LARGE_INTEGER size{};
        if (!::GetFileSizeEx(file, &size)) FailLast(shown);
        // One allocation for the whole text, and no more: a large base is held once.
        if (size.QuadPart > 0) {
            const auto bytes = static_cast<std::uint64_t>(size.QuadPart);
            if (bytes > text.max_size() / 2) Fail(shown, ERROR_ARITHMETIC_OVERFLOW);
            text.reserve(static_cast<std::size_t>(bytes));
        }
        const LARGE_INTEGER start{};
        if (!::SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) FailLast(shown);
        char buffer[65536];
        for (;;) {
            DWORD got = 0;
            if (!::ReadFile(file, buffer, sizeof buffer, &got, nullptr)) FailLast(shown);
            if (got == 0) break;
            text.append(buffer, got);
        }
        return text;
    } catch (const std::bad_alloc&) {
        Fail(shown, ERROR_NOT_ENOUGH_MEMORY);
    } catch (const std::length_error&) {
        Fail(shown, ERROR_NOT_ENOUGH_MEMORY);
    }
}

// 0 or the error of the failed write, from the file pointer on.
DWORD WriteAll(HANDLE file, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr))
            return ::GetLastError();
        if (written == 0) return ERROR_WRITE_FAULT;
        done += written;
    }
    return 0;
}

DWORD SetSize(HANDLE file, std::uint64_t size) {
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(size);
    if (!::SetFilePointerEx(file, at, nullptr, FILE_BEGIN) || !::SetEndOfFile(file))
        return ::GetLastError();
    return 0;
}

// Makes `bytes` the whole content of `file`, whose size is `size`: written over the old
// bytes, then cut to length, so the file never grows with zeros. Space beyond the old
// end is reserved first without moving the end, so a full disk usually stops the save
// before a byte is overwritten.
DWORD Overwrite(HANDLE file, const std::string& bytes, std::size_t size) {
    if (bytes.size() > size) {
        FILE_ALLOCATION_INFO reserve{};
        reserve.AllocationSize.QuadPart = static_cast<LONGLONG>(bytes.size());
        if (!::SetFileInformationByHandle(file, FileAllocationInfo, &reserve, sizeof reserve)) {
            const DWORD err = ::GetLastError();
            if (err == ERROR_DISK_FULL || err == ERROR_HANDLE_DISK_FULL) return err;
        }
    }
    const LARGE_INTEGER start{};
    if (!::SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) return ::GetLastError();
    if (const DWORD err = WriteAll(file, bytes); err != 0) return err;
    if (const DWORD err = SetSize(file, bytes.size()); err != 0) return err;
    if (!::FlushFileBuffers(file)) return ::GetLastError();
    return 0;
}

// Ravlet's writers of one file, across processes. Windows replaces no file that is
// open, so a writer lets its file lock go just before the replacement; this mutex,
// named after the full path (in upper case: names ignore case), keeps the next writer
// from reading the old text in that moment.
OwnedMutex WriterMutex(const std::wstring& target, const std::string& shown) {
    std::wstring full = FullPath(target, shown);
    ::CharUpperBuffW(full.data(), static_cast<DWORD>(full.size()));
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (const wchar_t c : full) {
        hash ^= static_cast<std::uint16_t>(c);
        hash *= 1099511628211ull;
    }
    wchar_t name[64];
    std::swprintf(name, std::size(name), L"Local\\ravlet-save-%016llx",
                  static_cast<unsigned long long>(hash));
    Handle mutex(::CreateMutexW(nullptr, FALSE, name));
    if (!mutex.Valid()) FailLast(shown);
    WaitForLock(shown, [&] {
        const DWORD waited = ::WaitForSingleObject(mutex.Get(), 0);
        // Abandoned: its last owner ended without a release; it is ours now all the same.
        if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) return true;
        if (waited == WAIT_TIMEOUT) return false;
        FailLast(shown);
    });
    return OwnedMutex(std::move(mutex));
}

// The file a save writes: a symbolic link's target, so the link stays a link.
std::wstring ResolveLinks(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
        return path;
    const Handle file(::CreateFileW(path.c_str(), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.Valid()) return path;  // a dangling link: the open that follows names the error
    const DWORD flags = FILE_NAME_NORMALIZED | VOLUME_NAME_DOS;
    const DWORD needed = ::GetFinalPathNameByHandleW(file.Get(), nullptr, 0, flags);
    if (needed == 0) return path;
    std::wstring target(needed, L'\0');
    const DWORD got = ::GetFinalPathNameByHandleW(file.Get(), target.data(), needed, flags);
    if (got == 0 || got >= needed) return path;
    target.resize(got);
    return target;
}

// The temporary file of a save, held open from its creation until it is moved into
// place, so that a later save can tell one whose writer is gone: no one else can open
// it exclusively. Whatever it still names is removed when it goes out of scope.
struct Temp {
    Handle file;
    std::wstring name;

    Temp() = default;
    Temp(const Temp&) = delete;
    Temp& operator=(const Temp&) = delete;
    ~Temp() {
        file.Reset();
        if (!name.empty()) {
            ::DeleteFileW(name.c_str());
            ClearPendingTemp();
        }
    }
};

// A fresh short name in the folder `prefix`. The name is registered before the file
// exists, so a Ctrl-C between the two cannot leave it behind. 0 or the error.
DWORD CreateTemp(const std::wstring& prefix, Temp& temp) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::wstring name = prefix + RandomLeaf();
        RegisterPendingTemp(WideToUtf8(name).value_or(std::string()));
        // Shared for deletion: the Ctrl-C handler may remove it, and the move renames
        // it, while it is open. Shared for reading and writing too, since once moved it
        // is the file others open, until this handle is closed.
        Handle file(::CreateFileW(name.c_str(), GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.Valid()) {
            temp.file = std::move(file);
            temp.name = name;
            return 0;
        }
        const DWORD err = ::GetLastError();
        ClearPendingTemp();
        if (err != ERROR_FILE_EXISTS && err != ERROR_ALREADY_EXISTS) return err;
    }
    return ERROR_FILE_EXISTS;
}

// Removes the temporary files in the folder `prefix` whose writer is gone: a killed
// save's. One being written is open, so the exclusive open fails and it stays; a link
// is left alone. Housekeeping only: whatever fails is let be.
void RemoveStaleTemps(const std::wstring& prefix) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW((prefix + L".ravlet-*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring_view leaf = found.cFileName;
        const DWORD skipped = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
        // The pattern may also match by a short name; the long one decides.
        if ((found.dwFileAttributes & skipped) != 0 || !leaf.starts_with(L".ravlet-") ||
            !leaf.ends_with(L".tmp")) {
            continue;
        }
        // Removed by the close that ends the handle's scope.
        const Handle stale(
            ::CreateFileW((prefix + found.cFileName).c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                          FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

// Moves the complete temporary file over `target` in one step. Windows replaces no
// file that is open, and a reader may hold the old one for a moment: retried a while.
DWORD MoveOver(const std::wstring& from, const std::wstring& target) {
    for (int attempt = 0;; ++attempt) {
        if (::MoveFileExW(from.c_str(), target.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return 0;
        }
        const DWORD err = ::GetLastError();
        const bool busy = err == ERROR_ACCESS_DENIED || err == ERROR_SHARING_VIOLATION ||
                          err == ERROR_LOCK_VIOLATION;
        if (!busy || attempt >= 300) return err;
        ::Sleep(10);
    }
}

enum class Outcome { Done, InPlace };

// The attributes a new file takes over from the one it replaces.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                                  FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// What `path` itself is (a link not followed): false when it cannot be opened.
bool InfoOf(const std::wstring& path, BY_HANDLE_FILE_INFORMATION& info) {
    const Handle h(::CreateFileW(
        path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
        nullptr));
    return h.Valid() && ::GetFileInformationByHandle(h.Get(), &info);
}

bool SameFile(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
           a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

// Whether `now` is the file as it was read: same file, size and last write.
bool Unchanged(const BY_HANDLE_FILE_INFORMATION& now, const BY_HANDLE_FILE_INFORMATION& read) {
    return SameFile(now, read) && now.nFileSizeHigh == read.nFileSizeHigh &&
           now.nFileSizeLow == read.nFileSizeLow &&
           now.ftLastWriteTime.dwLowDateTime == read.ftLastWriteTime.dwLowDateTime &&
           now.ftLastWriteTime.dwHighDateTime == read.ftLastWriteTime.dwHighDateTime;
}

std::wstring FolderOf(const std::wstring& target) {
    const std::wstring prefix = FolderPrefix(target);
    return prefix.empty() ? L"." : prefix;
}

// The folder a file was read from and the file as read, checked again before the file
// is replaced: Windows keeps no folder handle a move could be made relative to, so the
// path must still lead to the same folder (not a link put in its place) and the same
// file.
struct Bound {
    std::wstring folder;
    BY_HANDLE_FILE_INFORMATION folderInfo{};
    BY_HANDLE_FILE_INFORMATION read{};
};

void CheckUnchanged(const Bound& bound, const std::wstring& target, const std::string& shown) {
    BY_HANDLE_FILE_INFORMATION now{};
    if (!InfoOf(bound.folder, now) || !SameFile(now, bound.folderInfo) ||
        ((now.dwFileAttributes ^ bound.folderInfo.dwFileAttributes) &
         FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        FailReplaced(shown);
    }
    if (!InfoOf(target, now) || !Unchanged(now, bound.read)) FailReplaced(shown);
}

// A new file with the text (and the attributes of the file read, when it replaces one)
// moved over `target`. `lock`, when given, is let go just before the move.
Outcome ReplaceThroughTemp(const std::wstring& target, const Bound* bound, const std::string& text,
                           LockedHandle* lock, const std::string& shown) {
    Temp temp;
    const DWORD created = CreateTemp(FolderPrefix(target), temp);
    if (created == ERROR_ACCESS_DENIED) {
        if (bound != nullptr) return Outcome::InPlace;
        throw FileError(shown, kFolderNotWritable);
    }
    if (created != 0) Fail(shown, created);
    if (const DWORD err = WriteAll(temp.file.Get(), text); err != 0) Fail(shown, err);
    if (bound != nullptr && (bound->read.dwFileAttributes & kKeptAttributes) != 0) {
        FILE_BASIC_INFO basic{};  // zero times: left as they are
        basic.FileAttributes = bound->read.dwFileAttributes & kKeptAttributes;
        if (!::SetFileInformationByHandle(temp.file.Get(), FileBasicInfo, &basic, sizeof basic))
            FailLast(shown);
    }
    if (!::FlushFileBuffers(temp.file.Get())) FailLast(shown);
    if (bound != nullptr) CheckUnchanged(*bound, target, shown);
    if (lock != nullptr) lock->Reset();
    if (const DWORD err = MoveOver(temp.name, target); err != 0) Fail(shown, err);
    temp.file.Reset();
    temp.name.clear();
    ClearPendingTemp();
    return Outcome::Done;
}

// Where a recovery copy of `target` is or goes: its own folder, and the cache folder.
std::wstring CopyInFolder(const std::wstring& target) {
    const std::wstring prefix = FolderPrefix(target);
    const std::string leaf = WideToUtf8(target.substr(prefix.size())).value_or(std::string());
    return prefix + Utf8ToWide(RecoveryLeafInFolder(leaf)).value_or(std::wstring());
}

std::wstring CopyInCache(const std::wstring& target, const std::string& shown) {
    const std::string cache = CacheFolder();
    if (cache.empty()) return {};
    const std::string full = WideToUtf8(FullPath(target, shown)).value_or(std::string());
    return Utf8ToWide(cache + "\\" + RecoveryLeafInCache(full)).value_or(std::wstring());
}

bool Exists(const std::wstring& path) {
    return !path.empty() && ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The recovery copy a cut-off in-place save of `target` left, or "".
std::wstring FindRecoveryCopy(const std::wstring& target, const std::string& shown) {
    if (const std::wstring inFolder = CopyInFolder(target); Exists(inFolder)) return inFolder;
    if (const std::wstring inCache = CopyInCache(target, shown); Exists(inCache)) return inCache;
    return {};
}

void RefuseIfInterrupted(const std::wstring& target, const std::string& shown) {
    if (const std::wstring copy = FindRecoveryCopy(target, shown); !copy.empty()) {
        throw FileError(shown, RecoveryCopyFound(WideToUtf8(copy).value_or("?"), shown),
                        FileFailure::Interrupted);
    }
}

// Writes `bytes` to `copy` through a temporary file moved into place once flushed, so
// a copy that exists is complete. 0 or the error.
DWORD WriteCopy(const std::wstring& copy, const std::string& bytes) {
    Temp temp;
    if (const DWORD err = CreateTemp(FolderPrefix(copy), temp); err != 0) return err;
    if (const DWORD err = WriteAll(temp.file.Get(), bytes); err != 0) return err;
    if (!::FlushFileBuffers(temp.file.Get())) return ::GetLastError();
    if (const DWORD err = MoveOver(temp.name, copy); err != 0) return err;
    temp.file.Reset();
    temp.name.clear();
    ClearPendingTemp();
    return 0;
}

// The old bytes put where a later run finds them before the file changes: beside the
// file, or in the cache folder where its folder is not writable.
std::wstring MakeRecoveryCopy(const std::wstring& target, const std::string& old,
                              const std::string& shown) {
    const std::wstring inFolder = CopyInFolder(target);
    DWORD err = WriteCopy(inFolder, old);
    if (err == 0) return inFolder;
    if (err != ERROR_ACCESS_DENIED && err != ERROR_WRITE_PROTECT) {
        throw FileError(shown, RecoveryCopyFailed(ReasonOf(static_cast<int>(err))));
    }
    const std::wstring inCache = CopyInCache(target, shown);
    if (inCache.empty()) throw FileError(shown, RecoveryCopyFailed(kFolderNotWritable));
    ::CreateDirectoryW(FolderPrefix(inCache).c_str(), nullptr);
    err = WriteCopy(inCache, old);
    if (err != 0) throw FileError(shown, RecoveryCopyFailed(ReasonOf(static_cast<int>(err))));
    return inCache;
}

}  // namespace

struct Held {
    std::string shown;
    std::wstring target;
    OwnedMutex writers;  // declared first: released after the file
    LockedHandle file;
    bool writable = false;
    Bound bound;
};

void HeldRelease::operator()(Held* held) const noexcept { delete held; }

namespace {

HeldFile HoldTarget(const std::wstring& target, const std::string& shown) {
    HeldFile held(new Held{shown, target, WriterMutex(target, shown), {}, false, {}});
    held->bound.folder = FolderOf(target);
    if (!InfoOf(held->bound.folder, held->bound.folderInfo)) FailLast(shown);
    // Opened for writing where it may be: an in-place save has to go through the
    // handle that holds the lock, since Windows locks bind every other handle.
    Handle file;
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    DWORD err = ERROR_ACCESS_DENIED;
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY) == 0) {
        err = OpenRegular(target, GENERIC_READ | GENERIC_WRITE, shown, file);
    }
    held->writable = err == 0;
    if (err == ERROR_ACCESS_DENIED) err = OpenRegular(target, GENERIC_READ, shown, file);
    if (err != 0) Fail(shown, err);
    held->file = LockedHandle(std::move(file));
    if (!held->file.Lock(LOCKFILE_EXCLUSIVE_LOCK, shown)) FailLast(shown);
    RefuseIfInterrupted(target, shown);
    return held;
}

// Rewrites the file in place behind a recovery copy of `old`: after a kill the file is
// old, new, or put back by Recover. A failed write puts the old bytes back itself.
void SaveInPlace(Held& held, const std::string& text, const std::string& old) {
    const std::wstring copy = MakeRecoveryCopy(held.target, old, held.shown);
    const InterruptionDeferred deferred;
    const DWORD err = Overwrite(held.file.Get(), text, old.size());
    if (err == 0) {
        ::DeleteFileW(copy.c_str());
        return;
    }
    std::string reason = ReasonOf(static_cast<int>(err));
    if (const DWORD restoreErr = Overwrite(held.file.Get(), old, old.size()); restoreErr != 0) {
        throw FileError(held.shown,
                        reason + "; прежний текст вернуть не удалось: " +
                            ReasonOf(static_cast<int>(restoreErr)) + "; " +
                            RecoveryCopyFound(WideToUtf8(copy).value_or("?"), held.shown));
    }
    ::DeleteFileW(copy.c_str());
    throw FileError(held.shown, reason);
}

void SaveOver(Held& held, const std::string& text, const std::string& old) {
    const BY_HANDLE_FILE_INFORMATION& info = held.bound.read;
    // The read-only attribute means "keep this file as it is"; so does a file this user
    // may not write.
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0 || !held.writable) {
        throw FileError(held.shown, kReadOnlyFile);
    }
    RemoveStaleTemps(FolderPrefix(held.target));
    // Another name would keep the old text if a new file took this one's place.
    if (info.nNumberOfLinks > 1) return SaveInPlace(held, text, old);
    if (ReplaceThroughTemp(held.target, &held.bound, text, &held.file, held.shown) ==
        Outcome::InPlace) {
        SaveInPlace(held, text, old);
    }
}

}  // namespace

std::string CacheFolder() {
    const wchar_t* local = ::_wgetenv(L"LOCALAPPDATA");
    if (local == nullptr || *local == L'\0') return {};
    const std::optional<std::string> folder = WideToUtf8(local);
    return folder ? *folder + "\\Ravlet" : std::string();
}

std::string Load(const std::string& path) {
    const std::wstring system = SystemPath(path, path);
    Handle opened;
    if (const DWORD err = OpenRegular(system, GENERIC_READ, path, opened); err != 0)
        Fail(path, err);
    LockedHandle file(std::move(opened));
    // A shared lock waits out a writer that rewrites the file in place, so the text is
    // never half old, half new. Where the file system has no locks, the read goes on.
    (void)file.Lock(0, path);
    RefuseIfInterrupted(ResolveLinks(system), path);
    return ReadAll(file.Get(), path);
}

void Save(const std::string& path, const std::string& text) {
    const std::wstring target = ResolveLinks(SystemPath(path, path));
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD err = ::GetLastError();
        if (err != ERROR_FILE_NOT_FOUND) Fail(path, err);
        const OwnedMutex writers = WriterMutex(target, path);
        RemoveStaleTemps(FolderPrefix(target));
        (void)ReplaceThroughTemp(target, nullptr, text, nullptr, path);
        return;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) throw FileError(path, kFolder);
    std::string old;
    const HeldFile held = Hold(path, old);
    SaveOver(*held, text, old);
}

HeldFile Hold(const std::string& path, std::string& text) {
    HeldFile held = HoldTarget(ResolveLinks(SystemPath(path, path)), path);
    text = ReadAll(held->file.Get(), path);
    if (!::GetFileInformationByHandle(held->file.Get(), &held->bound.read)) FailLast(path);
    return held;
}

void SaveHeld(Held& held, const std::string& text, const std::string& oldText) {
    if (!held.file.Valid()) throw std::logic_error("a held file is saved once");
    SaveOver(held, text, oldText);
}

bool Recover(const std::string& path) {
    const std::wstring target = ResolveLinks(SystemPath(path, path));
    const OwnedMutex writers = WriterMutex(target, path);
    const std::wstring copy = FindRecoveryCopy(target, path);
    if (copy.empty()) return false;
    const std::string shownCopy = WideToUtf8(copy).value_or("?");
    Handle opened;
    if (const DWORD err = OpenRegular(copy, GENERIC_READ, shownCopy, opened); err != 0)
        Fail(shownCopy, err);
    const std::string old = ReadAll(opened.Get(), shownCopy);
    opened.Reset();
    Handle file;
    if (const DWORD err = OpenRegular(target, GENERIC_READ | GENERIC_WRITE, path, file); err != 0)
        Fail(path, err);
    LockedHandle locked(std::move(file));
    if (!locked.Lock(LOCKFILE_EXCLUSIVE_LOCK, path)) FailLast(path);
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(locked.Get(), &size)) FailLast(path);
    const InterruptionDeferred deferred;
    // Back into the same file, in place, so that every hard link sees it.
    if (const DWORD err = Overwrite(locked.Get(), old, static_cast<std::size_t>(size.QuadPart));
        err != 0) {
        Fail(path, err);
    }
    ::DeleteFileW(copy.c_str());
    return true;
}

}  // namespace ravlet::file_access
