// POSIX file access: regular files only, the writer's lock (flock), and saves that keep
// the file's identity (an unnamed temporary file renamed over it, or in place behind a
// recovery copy), all relative to the folder descriptor opened when the file was read.
// An in-place rewrite also holds an open-file-description lock (F_OFD_SETLK) over the
// file, the one lock readers wait for.
#include "textengine/file_access.hpp"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <optional>
#include <random>
#include <utility>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "textengine/file_reason.hpp"
#include "textengine/lock_wait.hpp"
#include "textengine/pending_temp.hpp"
#include "textengine/recovery_copy.hpp"
#include "textengine/text_file.hpp"

namespace ravlet::file_access {
namespace fs = std::filesystem;

namespace {

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

Descriptor OpenRegular(const std::string& path, int access, const std::string& shown);
std::string ReadAll(int fd, const std::string& shown);

[[noreturn]] void Fail(const std::string& shown, int err) {
    throw FileError(shown, ReasonOf(err),
                    err == ENOENT ? FileFailure::Missing : FileFailure::Other);
}

[[noreturn]] void FailReplaced(const std::string& shown) {
    throw FileError(shown, kReplacedWhileSaving, FileFailure::Replaced);
}

// What a path that is not a regular file is, for the refusal.
std::string NotRegularReason(mode_t mode) {
    if (S_ISDIR(mode)) return ReasonOf(EISDIR);
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "это устройство, а не обычный файл";
    if (S_ISFIFO(mode)) return "это именованный канал, а не обычный файл";
    if (S_ISSOCK(mode)) return "это сокет, а не обычный файл";
    return "это не обычный файл";
}

std::string DirOf(const std::string& target) {
    const fs::path parent = fs::path(target).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

// A leaf name of fixed length whatever the target's name, so any legal name saves.
std::string RandomLeaf() {
    static std::mt19937_64 engine{std::random_device{}()};
    static constexpr char kDigits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string leaf = ".ravlet-";
    for (int i = 0; i < 10; ++i) leaf += kDigits[engine() % (sizeof kDigits - 1)];
    return leaf + ".tmp";
}

// 0 or the errno of the failed write.
int WriteAllAt(int fd, const std::string& bytes, off_t offset) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done,
                                   offset + static_cast<off_t>(done));
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Holds off the signals that end a process while a file is overwritten in place: an
// interrupted overwrite would leave neither the old text nor the new one.
class TerminationSignalsBlocked {
public:
    TerminationSignalsBlocked() {
        sigset_t set;
        sigemptyset(&set);
        for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&set, sig);
        blocked_ = pthread_sigmask(SIG_BLOCK, &set, &previous_) == 0;
    }
    ~TerminationSignalsBlocked() {
        if (blocked_) pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
    }
    TerminationSignalsBlocked(const TerminationSignalsBlocked&) = delete;
    TerminationSignalsBlocked& operator=(const TerminationSignalsBlocked&) = delete;

private:
    sigset_t previous_{};
    bool blocked_ = false;
};

// The folder a file was read from, held open so that the save writes where the file
// was read, whatever its path names by then.
struct Folder {
    Descriptor fd;
    std::string path;  // as the program names it, for messages and the signal handler
    std::string real;  // without links, for the recovery copy's name in the cache
    struct stat st {};
};

Folder OpenFolder(const std::string& path, const std::string& shown) {
    Folder folder;
    folder.path = path;
    int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    // A folder that may be searched but not listed is still where the file is.
    if (fd < 0 && errno == EACCES) fd = ::open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) Fail(shown, errno);
    folder.fd = Descriptor(fd);
    if (::fstat(fd, &folder.st) != 0) Fail(shown, errno);
    char real[PATH_MAX];
    folder.real = ::realpath(path.c_str(), real) != nullptr ? real : fs::absolute(path).string();
    return folder;
}

// The folder's path still names the folder held: nothing was swapped in on the way.
void CheckFolderUnchanged(const Folder& folder, const std::string& shown) {
    struct stat now {};
    if (::stat(folder.path.c_str(), &now) != 0 || !SameFile(now, folder.st)) FailReplaced(shown);
}

// Whether `now` is the file as it was read: same file, size and modification time.
bool Unchanged(const struct stat& now, const struct stat& read) {
    return SameFile(now, read) && now.st_size == read.st_size &&
           now.st_mtim.tv_sec == read.st_mtim.tv_sec && now.st_mtim.tv_nsec == read.st_mtim.tv_nsec;
}

void FsyncFolder(int dirFd) {
    // Makes a rename or an unlink durable; a failure here loses nothing already written.
    (void)::fsync(dirFd);
}

// Open-file-description locks (F_OFD_SETLK) on two ranges of a file, apart from the
// writers' flock: an in-place rewrite holds kContent for writing and a reader waits for
// it; a Ravlet writer, which replaces the file in one rename, holds kMarker for
// reading all along, telling readers its flock need not be waited for.
struct Range {
    off_t start;
    off_t length;
};
constexpr Range kContent{0, off_t{1} << 62};
constexpr Range kMarker{off_t{1} << 62, 1};

// One attempt at `type` (F_RDLCK, F_WRLCK) on `range`. A file system without these
// locks lets everyone through.
bool TryRangeLock(int fd, short type, Range range, const std::string& shown) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = range.start;
    lock.l_len = range.length;
    if (::fcntl(fd, F_OFD_SETLK, &lock) == 0) return true;
    if (errno == EAGAIN || errno == EACCES || errno == EINTR) return false;
    if (errno == EINVAL || errno == ENOLCK || errno == EOPNOTSUPP) return true;
    Fail(shown, errno);
}

// Whether a Ravlet writer holds the file (its marker).
bool RavletWriterHolds(int fd) {
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = kMarker.start;
    probe.l_len = kMarker.length;
    return ::fcntl(fd, F_OFD_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
}

// A reader's lock: waits out an in-place rewrite and a program that holds the flock
// for its own reasons, but not a Ravlet writer that will replace the file in one step.
void WaitReaderLock(int fd, const std::string& shown) {
    WaitForLock(shown, [&] {
        if (::flock(fd, LOCK_SH | LOCK_NB) == 0) return true;
        if (errno != EWOULDBLOCK && errno != EINTR) return true;  // no flock here: read on
        return RavletWriterHolds(fd) && TryRangeLock(fd, F_RDLCK, kContent, shown);
    });
}

// The writers' lock (flock), waited for as LockWait allows.
void WaitWriterLock(int fd, const std::string& shown) {
    WaitForLock(shown, [&] {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
        if (errno == EWOULDBLOCK || errno == EINTR) return false;
        Fail(shown, errno);
    });
}

// A temporary file in a folder: unnamed (O_TMPFILE) until it is complete, or named.
// A named one is locked (flock) from its first moment to its last, so that a later
// save can tell a temporary file whose writer is gone. Whatever it still names is
// removed when it goes out of scope.
struct Temp {
    Descriptor fd;
    int dir = -1;
    std::string leaf;
    bool unnamed = false;

    Temp() = default;
    Temp(const Temp&) = delete;
    Temp& operator=(const Temp&) = delete;
    ~Temp() {
        if (!leaf.empty()) {
            ::unlinkat(dir, leaf.c_str(), 0);
            ClearPendingTemp();
        }
    }
};

bool IsTempLeaf(std::string_view name) {
    return name.starts_with(".ravlet-") && name.ends_with(".tmp");
}

// Gives `temp` a fresh short name in `folder`: tries names until `create(leaf)`
// returns 0, or an errno other than EEXIST (a name taken), which it returns. The name
// is registered before it exists, since a signal between creating and registering
// would otherwise leave it behind. The named file is locked and checked to still be
// the one created: a cleaner may have taken it for stale in the moment in between.
template <typename Create>
int WithFreshName(const Folder& folder, Temp& temp, Create create) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string leaf = RandomLeaf();
        RegisterPendingTemp(folder.path + "/" + leaf);
        const int err = create(leaf);
        if (err == 0) {
            struct stat own {
            }, named{};
            const bool locked = ::flock(temp.fd.Get(), LOCK_EX | LOCK_NB) == 0;
            if (locked && ::fstat(temp.fd.Get(), &own) == 0 &&
                ::fstatat(folder.fd.Get(), leaf.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
                SameFile(own, named)) {
                temp.dir = folder.fd.Get();
                temp.leaf = leaf;
                return 0;
            }
            temp.fd.Reset();
            ClearPendingTemp();
            continue;
        }
        ClearPendingTemp();
        if (err != EEXIST) return err;
    }
    return EEXIST;
}

int CreateNamedTemp(const Folder& folder, mode_t mode, Temp& temp) {
    return WithFreshName(folder, temp, [&](const std::string& leaf) {
        const int fd = ::openat(folder.fd.Get(), leaf.c_str(),
                                O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd < 0) return errno;
        temp.fd = Descriptor(fd);
        return 0;
    });
}

// Removes the temporary files of `folder` whose writer is gone: a killed save's, whose
// lock went with it. Housekeeping only: a folder that cannot be listed is left alone.
void RemoveStaleTemps(const Folder& folder) {
    const int listed = ::openat(folder.fd.Get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listed < 0) return;
    DIR* dir = ::fdopendir(listed);
    if (dir == nullptr) {
        ::close(listed);
        return;
    }
    while (const dirent* entry = ::readdir(dir)) {
        if (!IsTempLeaf(entry->d_name)) continue;
        const Descriptor temp(::openat(folder.fd.Get(), entry->d_name,
                                       O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat own {
        }, named{};
        if (temp.Get() < 0 || ::fstat(temp.Get(), &own) != 0 || !S_ISREG(own.st_mode)) continue;
        if (::flock(temp.Get(), LOCK_EX | LOCK_NB) != 0) continue;  // its writer is at work
        if (::fstatat(folder.fd.Get(), entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            SameFile(own, named)) {
            ::unlinkat(folder.fd.Get(), entry->d_name, 0);
        }
    }
    ::closedir(dir);
}

// A recovery copy on disk: the folder it is in and its name there.
struct RecoveryCopy {
    Descriptor dir;
    std::string leaf;
    std::string shown;  // full name, for messages
};

std::optional<RecoveryCopy> OpenCacheFolder() {
    const std::string path = CacheFolder();
    if (path.empty()) return std::nullopt;
    std::error_code ec;
    fs::create_directories(path, ec);
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    return RecoveryCopy{Descriptor(fd), {}, path};
}

// The recovery copy left by a cut-off in-place save of `leaf` in `folder`, if any: in
// the folder itself, or in the cache folder.
std::optional<RecoveryCopy> FindRecoveryCopy(const Folder& folder, const std::string& leaf) {
    struct stat st {};
    const std::string inFolder = RecoveryLeafInFolder(leaf);
    if (::fstatat(folder.fd.Get(), inFolder.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        return RecoveryCopy{Descriptor(::dup(folder.fd.Get())), inFolder,
                            folder.path + "/" + inFolder};
    }
    const std::string cache = CacheFolder();
    if (cache.empty()) return std::nullopt;
    const std::string inCache = RecoveryLeafInCache(folder.real + "/" + leaf);
    if (::lstat((cache + "/" + inCache).c_str(), &st) != 0) return std::nullopt;
    const int fd = ::open(cache.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) Fail(cache, errno);
    return RecoveryCopy{Descriptor(fd), inCache, cache + "/" + inCache};
}

void RefuseIfInterrupted(const Folder& folder, const std::string& leaf, const std::string& shown) {
    if (const auto copy = FindRecoveryCopy(folder, leaf)) {
        throw FileError(shown, RecoveryCopyFound(copy->shown, shown), FileFailure::Interrupted);
    }
}

// Writes `bytes` to the recovery copy `copy.leaf` of `copy.dir` through a locked
// temporary file renamed into place once synced, so a copy that exists is complete.
// 0 or the errno of the failed step.
int WriteCopy(const Folder& where, const std::string& bytes, const std::string& leaf) {
    Temp temp;
    if (const int err = CreateNamedTemp(where, 0600, temp); err != 0) return err;
    if (const int err = WriteAllAt(temp.fd.Get(), bytes, 0); err != 0) return err;
    if (::fsync(temp.fd.Get()) != 0) return errno;
    if (::renameat(where.fd.Get(), temp.leaf.c_str(), where.fd.Get(), leaf.c_str()) != 0)
        return errno;
    temp.leaf.clear();
    ClearPendingTemp();
    return ::fsync(where.fd.Get()) == 0 ? 0 : errno;
}

// The old bytes put where a later run finds them, durable before the file changes: in
// the file's folder, or in the cache folder where that folder is not writable.
RecoveryCopy MakeRecoveryCopy(const Folder& folder, const std::string& leaf, const std::string& old,
                              const std::string& shown) {
    const std::string inFolder = RecoveryLeafInFolder(leaf);
    int err = WriteCopy(folder, old, inFolder);
    if (err == 0)
        return RecoveryCopy{Descriptor(::dup(folder.fd.Get())), inFolder,
                            folder.path + "/" + inFolder};
    if (err != EACCES && err != EPERM && err != EROFS && err != ENAMETOOLONG) {
        throw FileError(shown, RecoveryCopyFailed(ReasonOf(err)));
    }
    std::optional<RecoveryCopy> cache = OpenCacheFolder();
    if (!cache) throw FileError(shown, RecoveryCopyFailed(kFolderNotWritable));
    Folder cacheFolder;
    cacheFolder.fd = std::move(cache->dir);
    cacheFolder.path = cache->shown;
    const std::string inCache = RecoveryLeafInCache(folder.real + "/" + leaf);
    err = WriteCopy(cacheFolder, old, inCache);
    if (err != 0) throw FileError(shown, RecoveryCopyFailed(ReasonOf(err)));
    return RecoveryCopy{std::move(cacheFolder.fd), inCache, cacheFolder.path + "/" + inCache};
}

void RemoveRecoveryCopy(const RecoveryCopy& copy) {
    if (::unlinkat(copy.dir.Get(), copy.leaf.c_str(), 0) == 0) FsyncFolder(copy.dir.Get());
}

// Makes `bytes` the whole content of `fd`, whose size is `size`: written over the old
// bytes, then cut to length, so the file never grows with zeros. Space beyond the old
// end is reserved first without changing the size, so a full disk usually stops the
// save before a byte is overwritten. `written` counts the bytes written from the
// start. 0 or the errno of the failed step.
int Overwrite(int fd, const std::string& bytes, std::size_t size, std::size_t& written) {
    written = 0;
    if (bytes.size() > size) {
        const int err = ::fallocate(fd, FALLOC_FL_KEEP_SIZE, static_cast<off_t>(size),
                                    static_cast<off_t>(bytes.size() - size));
        if (err != 0 && errno != EINVAL && errno != EOPNOTSUPP && errno != ENOTSUP) return errno;
    }
    while (written < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.data() + written, bytes.size() - written,
                                   static_cast<off_t>(written));
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        written += static_cast<std::size_t>(n);
    }
    if (::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) return errno;
    if (::fsync(fd) != 0) return errno;
    return 0;
}

// Puts `old` back after a failed Overwrite that wrote `written` bytes: only those, so a
// write stopped by a file size limit is undone within the limit.
int Restore(int fd, const std::string& old, std::size_t written) {
    const std::size_t changed = std::min(written, old.size());
    if (const int err = WriteAllAt(fd, old.substr(0, changed), 0); err != 0) return err;
    struct stat st {};
    if (::fstat(fd, &st) != 0) return errno;
    if (static_cast<std::uintmax_t>(st.st_size) != old.size() &&
        ::ftruncate(fd, static_cast<off_t>(old.size())) != 0) {
        return errno;
    }
    return ::fsync(fd) == 0 ? 0 : errno;
}

// The file `leaf` of `folder`, opened for writing in place and checked to be the file
// read (`read`), under the lock readers wait for.
Descriptor OpenForInPlace(const Folder& folder, const std::string& leaf, const struct stat& read,
                          const std::string& shown) {
    const int fd = ::openat(folder.fd.Get(), leaf.c_str(),
                            O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ELOOP) FailReplaced(shown);
        Fail(shown, errno);
    }
    Descriptor file(fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0) Fail(shown, errno);
    if (!Unchanged(st, read)) FailReplaced(shown);
    WaitForLock(shown, [&] { return TryRangeLock(fd, F_WRLCK, kContent, shown); });
    CheckFolderUnchanged(folder, shown);
    return file;
}

// Rewrites the file in place behind a recovery copy of `old`: after a kill the file is
// old, new, or put back by Recover. A failed write puts the old bytes back itself.
void SaveInPlace(const Folder& folder, const std::string& leaf, const struct stat& read,
                 const std::string& text, const std::string& old, const std::string& shown) {
    const Descriptor file = OpenForInPlace(folder, leaf, read, shown);
    const RecoveryCopy copy = MakeRecoveryCopy(folder, leaf, old, shown);
    const TerminationSignalsBlocked blocked;
    std::size_t written = 0;
    const int err = Overwrite(file.Get(), text, old.size(), written);
    if (err == 0) return RemoveRecoveryCopy(copy);
    if (const int restoreErr = Restore(file.Get(), old, written); restoreErr != 0) {
        throw FileError(shown, ReasonOf(err) +
                                   "; прежний текст вернуть не удалось: " + ReasonOf(restoreErr) +
                                   "; " + RecoveryCopyFound(copy.shown, shown));
    }
    RemoveRecoveryCopy(copy);
    throw FileError(shown, ReasonOf(err));
}

// 0 or the errno of the failed creation. `mode` is narrowed by the umask.
int CreateTemp(const Folder& folder, mode_t mode, bool allowUnnamed, Temp& temp) {
#ifdef O_TMPFILE
    if (allowUnnamed) {
        const int fd = ::openat(folder.fd.Get(), ".", O_TMPFILE | O_RDWR | O_CLOEXEC, mode);
        if (fd >= 0) {
            temp.fd = Descriptor(fd);
            temp.unnamed = true;
            // Locked before it has a name, so no cleaner ever takes it for stale.
            (void)::flock(fd, LOCK_EX | LOCK_NB);
            return 0;
        }
        // These say the file system (or the kernel) has no unnamed files.
        if (errno != EOPNOTSUPP && errno != ENOTSUP && errno != EISDIR && errno != EINVAL)
            return errno;
    }
#else
    (void)allowUnnamed;
#endif
    return CreateNamedTemp(folder, mode, temp);
}

enum class Outcome { Done, InPlace, RetryNamed };

// Gives an unnamed temporary file a short name in `folder`. 0 or an errno.
int LinkUnnamed(const Folder& folder, Temp& temp) {
    const std::string self = "/proc/self/fd/" + std::to_string(temp.fd.Get());
    Descriptor unnamed = std::move(temp.fd);
    const int err = WithFreshName(folder, temp, [&](const std::string& leaf) {
        if (::linkat(AT_FDCWD, self.c_str(), folder.fd.Get(), leaf.c_str(), AT_SYMLINK_FOLLOW) != 0)
            return errno;
        temp.fd = Descriptor(::dup(unnamed.Get()));
        return 0;
    });
    if (err != 0) temp.fd = std::move(unnamed);
    return err;
}

// The complete temporary file takes the place of `leaf`, which must still be the file
// read (`read`; for a new file, nothing). Done, or InPlace when the target cannot be
// renamed over (a mount point, say), or RetryNamed without /proc.
Outcome Publish(const Folder& folder, const std::string& leaf, const struct stat* read, Temp& temp,
                const std::string& shown) {
    if (temp.unnamed) {
        const int err = LinkUnnamed(folder, temp);
        if (err == ENOENT) return Outcome::RetryNamed;
        if (err != 0) Fail(shown, err);
    }
    CheckFolderUnchanged(folder, shown);
    struct stat now {};
    const bool exists = ::fstatat(folder.fd.Get(), leaf.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0;
    if (!exists && errno != ENOENT) Fail(shown, errno);
    if (read != nullptr ? !exists || !Unchanged(now, *read) : exists) FailReplaced(shown);
    if (::renameat(folder.fd.Get(), temp.leaf.c_str(), folder.fd.Get(), leaf.c_str()) != 0) {
        const int err = errno;
        if (err == EBUSY || err == EXDEV) return Outcome::InPlace;
        Fail(shown, err);
    }
    temp.leaf.clear();
    ClearPendingTemp();
    FsyncFolder(folder.fd.Get());
    return Outcome::Done;
}

// The names of the extended attributes of `fd`; `supported` is false where the file
// system has none.
std::vector<std::string> AttributeNames(int fd, bool& supported, const std::string& shown) {
    supported = true;
    std::vector<char> buffer;
    for (;;) {
        const ssize_t size = ::flistxattr(fd, nullptr, 0);
        if (size < 0) {
            if (errno == ENOTSUP || errno == EOPNOTSUPP) {
                supported = false;
                return {};
            }
            Fail(shown, errno);
        }
        buffer.resize(static_cast<std::size_t>(size));
        const ssize_t got = ::flistxattr(fd, buffer.data(), buffer.size());
        if (got >= 0) {
            buffer.resize(static_cast<std::size_t>(got));
            break;
        }
        if (errno != ERANGE) Fail(shown, errno);  // ERANGE: the list grew meanwhile
    }
    std::vector<std::string> names;
    for (std::size_t at = 0; at < buffer.size();) {
        std::string name(buffer.data() + at);
        at += name.size() + 1;
        if (!name.empty()) names.push_back(std::move(name));
    }
    return names;
}

// Gives `to` exactly the extended attributes of `from`; the ACLs are among them
// (system.posix_acl_access). False when one may not be set by this process, so the
// file must be written in place to keep it.
bool CopyAttributes(int from, int to, const std::string& shown) {
    bool supported = true;
    const std::vector<std::string> names = AttributeNames(from, supported, shown);
    if (!supported) return true;
    for (const std::string& name : names) {
        std::vector<char> value;
        ssize_t got = -1;
        for (;;) {
            const ssize_t size = ::fgetxattr(from, name.c_str(), nullptr, 0);
            if (size < 0) break;
            value.resize(static_cast<std::size_t>(size));
            got = ::fgetxattr(from, name.c_str(), value.data(), value.size());
            if (got >= 0 || errno != ERANGE) break;
        }
        if (got < 0) {
            if (errno == ENODATA) continue;  // removed meanwhile
            Fail(shown, errno);
        }
        if (::fsetxattr(to, name.c_str(), value.data(), static_cast<std::size_t>(got), 0) != 0) {
            if (errno == ENOTSUP || errno == EOPNOTSUPP) continue;
            if (errno == EPERM || errno == EACCES) return false;
            Fail(shown, errno);
        }
    }
    // The new file may have inherited attributes the old one lacks (a default ACL of
    // the folder, say).
    bool ignored = true;
    for (const std::string& name : AttributeNames(to, ignored, shown)) {
        bool kept = false;
        for (const std::string& own : names) kept = kept || own == name;
        if (kept || ::fremovexattr(to, name.c_str()) == 0 || errno == ENODATA) continue;
        if (errno == EPERM || errno == EACCES) return false;
        Fail(shown, errno);
    }
    return true;
}

// A new file with the text and the identity of `st` (the file read, when `from` is a
// descriptor of it) renamed over `leaf`.
Outcome ReplaceThroughTempOnce(const Folder& folder, const std::string& leaf, int from,
                               const struct stat* st, const std::string& text, bool allowUnnamed,
                               const std::string& shown) {
    Temp temp;
    // Created with no permission at all when it replaces a file, so that it is never
    // more open than the target; its own mode comes last.
    const int created = CreateTemp(folder, st != nullptr ? 0 : 0666, allowUnnamed, temp);
    if (created == EACCES || created == EPERM) {
        if (st != nullptr) return Outcome::InPlace;
        throw FileError(shown, kFolderNotWritable);
    }
    if (created != 0) Fail(shown, created);
    if (const int err = WriteAllAt(temp.fd.Get(), text, 0); err != 0) Fail(shown, err);
    if (st != nullptr) {
        // Owner before mode: a chown clears the set-user-ID bits a chmod then restores.
        if (::fchown(temp.fd.Get(), st->st_uid, st->st_gid) != 0) {
            if (errno == EPERM) return Outcome::InPlace;
            Fail(shown, errno);
        }
        if (!CopyAttributes(from, temp.fd.Get(), shown)) return Outcome::InPlace;
        if (::fchmod(temp.fd.Get(), st->st_mode & 07777) != 0) Fail(shown, errno);
    }
    if (::fsync(temp.fd.Get()) != 0) Fail(shown, errno);
    return Publish(folder, leaf, st, temp, shown);
}

// As ReplaceThroughTempOnce, with an unnamed temporary file first and a named one
// where the unnamed one cannot be given a name.
Outcome ReplaceThroughTemp(const Folder& folder, const std::string& leaf, int from,
                           const struct stat* st, const std::string& text,
                           const std::string& shown) {
    const Outcome outcome = ReplaceThroughTempOnce(folder, leaf, from, st, text, true, shown);
    if (outcome != Outcome::RetryNamed) return outcome;
    return ReplaceThroughTempOnce(folder, leaf, from, st, text, false, shown);
}
// The file a path names, following symbolic links (also a dangling one), so that a
// save replaces the link's target and the link stays a link. `shown` is the path the
// user gave, for the message. Throws FileError on a loop.
std::string ResolveLinks(const std::string& path, const std::string& shown) {
    fs::path target = path;
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(target, ec))) return target.string();
        const fs::path next = fs::read_symlink(target, ec);
        if (ec) return target.string();
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    Fail(shown, ELOOP);
}

// Opens `path` with `access` (O_RDONLY, O_RDWR) if it is a regular file. Anything else
// (folder, device, FIFO, socket) is refused with a FileError naming what it is, and a
// FIFO is never waited on: the open does not block and the type is checked on the
// descriptor before anything is read. The descriptor is left blocking.
Descriptor OpenRegular(const std::string& path, int access, const std::string& shown) {
    struct stat st {};
    // Checked before the open too: opening a device may already act on it.
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        throw FileError(shown, NotRegularReason(st.st_mode));
    }
    int fd = -1;
    do {
        fd = ::open(path.c_str(), access | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) Fail(shown, errno);
    Descriptor file(fd);
    // The descriptor decides: the path may name something else since the stat.
    if (::fstat(fd, &st) != 0) Fail(shown, errno);
    if (!S_ISREG(st.st_mode)) throw FileError(shown, NotRegularReason(st.st_mode));
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) Fail(shown, errno);
    return file;
}

// Everything from the start of the regular file `fd`. Throws FileError (out of memory
// included).
std::string ReadAll(int fd, const std::string& shown) {
    try {
        std::string text;
        struct stat st {};
        if (::fstat(fd, &st) != 0) Fail(shown, errno);
        // One allocation for the whole text, and no more: a large base is held once.
        if (st.st_size > 0) {
            const auto size = static_cast<std::uintmax_t>(st.st_size);
            if (size > text.max_size() / 2) Fail(shown, EOVERFLOW);
            text.reserve(static_cast<std::size_t>(size));
        }
        char buffer[65536];
        for (off_t offset = 0;;) {
            const ssize_t n = ::pread(fd, buffer, sizeof buffer, offset);
            if (n < 0) {
                if (errno == EINTR) continue;
                Fail(shown, errno);
            }
            if (n == 0) break;
            text.append(buffer, static_cast<std::size_t>(n));
            offset += n;
        }
        return text;
    } catch (const std::bad_alloc&) {
        Fail(shown, ENOMEM);
    } catch (const std::length_error&) {
        Fail(shown, ENOMEM);
    }
}

std::string LeafOf(const std::string& target) { return fs::path(target).filename().string(); }

// `leaf` of `folder` opened for reading and locked exclusively (flock), waiting for
// another writer as LockWait allows. Once the lock is held the descriptor is checked
// to still be the file the name gives; a save by the previous holder may have renamed
// a new file over it, and then the new one is opened and locked instead.
Descriptor OpenLocked(const Folder& folder, const std::string& leaf, const std::string& shown) {
    for (int attempt = 0; attempt < 1000; ++attempt) {
        struct stat held {
        }, named{};
        if (::fstatat(folder.fd.Get(), leaf.c_str(), &named, 0) == 0 && !S_ISREG(named.st_mode)) {
            throw FileError(shown, NotRegularReason(named.st_mode));
        }
        const int fd = ::openat(folder.fd.Get(), leaf.c_str(),
                                O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) Fail(shown, errno);
        Descriptor file(fd);
        if (::fstat(fd, &held) != 0) Fail(shown, errno);
        if (!S_ISREG(held.st_mode)) throw FileError(shown, NotRegularReason(held.st_mode));
        WaitWriterLock(fd, shown);
        if (::fstatat(folder.fd.Get(), leaf.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT) continue;  // renamed away; the next open tells whether it is gone
            Fail(shown, errno);
        }
        if (SameFile(held, named)) return file;
    }
    throw FileError(shown, "файл всё время заменяется другой программой", FileFailure::Replaced);
}

}  // namespace

struct Held {
    std::string shown;
    Folder folder;
    std::string leaf;
    Descriptor fd;
    struct stat read {};  // the file as it was read under the lock
};

void HeldRelease::operator()(Held* held) const noexcept { delete held; }

namespace {

// Opens the folder of `path` (links resolved) and the file in it, locked for this
// writer; a file with a recovery copy is refused.
HeldFile HoldPath(const std::string& path) {
    HeldFile held(new Held{});
    held->shown = path;
    const std::string target = ResolveLinks(path, path);
    held->folder = OpenFolder(DirOf(target), path);
    held->leaf = LeafOf(target);
    held->fd = OpenLocked(held->folder, held->leaf, path);
    (void)TryRangeLock(held->fd.Get(), F_RDLCK, kMarker, path);
    RefuseIfInterrupted(held->folder, held->leaf, path);
    return held;
}

// Writes `text` as the whole content of the held file, keeping its mode, owner,
// group, extended attributes and ACLs. Through an unnamed temporary file renamed over
// it; in place when the file has other hard links, its folder is not writable, its
// owner or attributes could not be given to a new file, or it cannot be renamed over
// (a mount point). `old` is the text read.
void SaveOver(Held& held, const std::string& text, const std::string& old) {
    const struct stat& st = held.read;
    const std::string& shown = held.shown;
    // Neither a rename nor root's rights may override a file kept read-only.
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) throw FileError(shown, kReadOnlyFile);
    if (::faccessat(held.folder.fd.Get(), held.leaf.c_str(), W_OK, AT_EACCESS) != 0) {
        if (errno == EACCES) throw FileError(shown, kReadOnlyFile);
        Fail(shown, errno);
    }
    RemoveStaleTemps(held.folder);
    // Another name would keep the old text if a new file took this one's place.
    if (st.st_nlink > 1) return SaveInPlace(held.folder, held.leaf, st, text, old, shown);
    if (ReplaceThroughTemp(held.folder, held.leaf, held.fd.Get(), &st, text, shown) ==
        Outcome::InPlace) {
        SaveInPlace(held.folder, held.leaf, st, text, old, shown);
    }
}

}  // namespace

std::string CacheFolder() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache != nullptr && cache[0] == '/') return std::string(cache) + "/ravlet";
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') return std::string(home) + "/.cache/ravlet";
    return {};
}

std::string Load(const std::string& path) {
    const Descriptor file = OpenRegular(path, O_RDONLY, path);
    // Waits out an in-place rewrite, so the text is never half old, half new; a save
    // that replaces the file leaves this one as it was.
    WaitReaderLock(file.Get(), path);
    const std::string target = ResolveLinks(path, path);
    RefuseIfInterrupted(OpenFolder(DirOf(target), path), LeafOf(target), path);
    return ReadAll(file.Get(), path);
}

void Save(const std::string& path, const std::string& text) {
    const std::string target = ResolveLinks(path, path);
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0) {
        if (errno != ENOENT) Fail(path, errno);
        // Created through a temporary file; nothing to write in place: a name taken by
        // something that cannot be replaced.
        const Folder folder = OpenFolder(DirOf(target), path);
        RemoveStaleTemps(folder);
        if (ReplaceThroughTemp(folder, LeafOf(target), -1, nullptr, text, path) != Outcome::Done)
            Fail(path, EBUSY);
        return;
    }
    std::string old;
    const HeldFile held = Hold(path, old);
    SaveOver(*held, text, old);
}

HeldFile Hold(const std::string& path, std::string& text) {
    HeldFile held = HoldPath(path);
    text = ReadAll(held->fd.Get(), path);
    if (::fstat(held->fd.Get(), &held->read) != 0) Fail(path, errno);
    return held;
}

void SaveHeld(Held& held, const std::string& text, const std::string& oldText) {
    SaveOver(held, text, oldText);
}

bool Recover(const std::string& path) {
    const std::string target = ResolveLinks(path, path);
    const Folder folder = OpenFolder(DirOf(target), path);
    const std::string leaf = LeafOf(target);
    const Descriptor locked = OpenLocked(folder, leaf, path);
    const std::optional<RecoveryCopy> copy = FindRecoveryCopy(folder, leaf);
    if (!copy) return false;
    const int copyFd =
        ::openat(copy->dir.Get(), copy->leaf.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (copyFd < 0) Fail(copy->shown, errno);
    const std::string old = ReadAll(Descriptor(copyFd).Get(), copy->shown);
    struct stat st {};
    if (::fstat(locked.Get(), &st) != 0) Fail(path, errno);
    // Back into the same file, in place, so that every hard link sees it.
    const Descriptor file = OpenForInPlace(folder, leaf, st, path);
    const TerminationSignalsBlocked blocked;
    std::size_t written = 0;
    if (const int err = Overwrite(file.Get(), old, static_cast<std::size_t>(st.st_size), written);
        err != 0) {
        Fail(path, err);
    }
    RemoveRecoveryCopy(*copy);
    return true;
}

}  // namespace ravlet::file_access
