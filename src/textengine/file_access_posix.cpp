// POSIX file access: regular files only, the writer's lock (flock), and saves that keep
// the file's identity (an unnamed temporary file renamed over it, or in place).
#include "textengine/file_access.hpp"

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <new>
#include <random>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "textengine/file_reason.hpp"
#include "textengine/pending_temp.hpp"
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

[[noreturn]] void Fail(const std::string& shown, int err) { throw FileError(shown, ReasonOf(err)); }

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

// Makes `bytes` the whole content of `fd`, whose size is `size`: space beyond the old
// end is reserved first, so a full disk usually stops the save before a byte is
// overwritten. 0 or the errno of the failed step.
int Overwrite(int fd, const std::string& bytes, std::size_t size) {
    if (bytes.size() > size) {
        const int err = ::posix_fallocate(fd, static_cast<off_t>(size),
                                          static_cast<off_t>(bytes.size() - size));
        if (err != 0 && err != EINVAL && err != EOPNOTSUPP && err != ENOTSUP) {
            // Gives back the reserved space if it can; the reservation's error is the one to report.
            if (::ftruncate(fd, static_cast<off_t>(size)) != 0) return err;
            return err;
        }
    }
    if (const int err = WriteAllAt(fd, bytes, 0); err != 0) return err;
    if (::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) return errno;
    if (::fsync(fd) != 0) return errno;
    return 0;
}

// The text is fully prepared before the first byte of the target changes; a failed
// write puts the old bytes back.
void SaveInPlace(const std::string& target, const struct stat& locked, const std::string& text,
                 const std::string* oldText, const std::string& shown) {
    const Descriptor file = OpenRegular(target, O_RDWR, shown);
    struct stat st {};
    if (::fstat(file.Get(), &st) != 0) Fail(shown, errno);
    if (!SameFile(st, locked)) throw FileError(shown, "файл заменён другой программой во время сохранения");
    std::string readOld;
    if (oldText == nullptr) {
        readOld = ReadAll(file.Get(), shown);
        oldText = &readOld;
    }
    const TerminationSignalsBlocked blocked;
    const int err = Overwrite(file.Get(), text, oldText->size());
    if (err == 0) return;
    const int restoreErr = Overwrite(file.Get(), *oldText, oldText->size());
    std::string reason = ReasonOf(err);
    if (restoreErr != 0) reason += "; прежний текст вернуть не удалось: " + ReasonOf(restoreErr);
    throw FileError(shown, reason);
}

// A temporary file in the target's folder: unnamed (O_TMPFILE) until it is complete,
// or named where the file system cannot do that. Whatever it still names is removed
// when it goes out of scope.
struct Temp {
    Descriptor fd;
    std::string name;
    bool unnamed = false;

    Temp() = default;
    Temp(const Temp&) = delete;
    Temp& operator=(const Temp&) = delete;
    ~Temp() {
        if (!name.empty()) {
            ::unlink(name.c_str());
            ClearPendingTemp();
        }
    }
};

// Gives `temp` a fresh short name in `dir`: tries names until `create(name)` returns 0,
// or an errno other than EEXIST (a name taken), which it returns. The name is
// registered before it exists, since a signal between creating and registering would
// otherwise leave it behind.
template <typename Create>
int WithFreshName(const std::string& dir, Temp& temp, Create create) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = dir + "/" + RandomLeaf();
        RegisterPendingTemp(name);
        const int err = create(name);
        if (err == 0) {
            temp.name = name;
            return 0;
        }
        ClearPendingTemp();
        if (err != EEXIST) return err;
    }
    return EEXIST;
}

// 0 or the errno of the failed creation. `mode` is narrowed by the umask.
int CreateTemp(const std::string& dir, mode_t mode, bool allowUnnamed, Temp& temp) {
#ifdef O_TMPFILE
    if (allowUnnamed) {
        const int fd = ::open(dir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
        if (fd >= 0) {
            temp.fd = Descriptor(fd);
            temp.unnamed = true;
            return 0;
        }
        // These say the file system (or the kernel) has no unnamed files.
        if (errno != EOPNOTSUPP && errno != ENOTSUP && errno != EISDIR && errno != EINVAL) return errno;
    }
#else
    (void)allowUnnamed;
#endif
    return WithFreshName(dir, temp, [&](const std::string& name) {
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd < 0) return errno;
        temp.fd = Descriptor(fd);
        return 0;
    });
}

enum class Outcome { Done, InPlace, RetryNamed };

// Gives an unnamed temporary file a short name in `dir`. 0 or an errno.
int LinkUnnamed(const std::string& dir, Temp& temp) {
    const std::string self = "/proc/self/fd/" + std::to_string(temp.fd.Get());
    return WithFreshName(dir, temp, [&](const std::string& name) {
        return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0 ? 0 : errno;
    });
}

// The complete temporary file takes the target's place. Done, or InPlace when the
// target cannot be renamed over (a mount point, say), or RetryNamed without /proc.
Outcome Publish(const std::string& dir, const std::string& target, Temp& temp, const std::string& shown) {
    if (temp.unnamed) {
        const int err = LinkUnnamed(dir, temp);
        if (err == ENOENT) return Outcome::RetryNamed;
        if (err != 0) Fail(shown, err);
    }
    if (::rename(temp.name.c_str(), target.c_str()) != 0) {
        const int err = errno;
        if (err == EBUSY || err == EXDEV) return Outcome::InPlace;
        Fail(shown, err);
    }
    temp.name.clear();
    ClearPendingTemp();
    // Makes the rename itself durable; a failure here loses nothing already written.
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
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

// A new file with the text and the identity of `st` (the target's, when `from` is a
// descriptor of it) renamed over the target.
Outcome ReplaceThroughTempOnce(const std::string& target, int from, const struct stat* st,
                               const std::string& text, bool allowUnnamed, const std::string& shown) {
    const std::string dir = DirOf(target);
    Temp temp;
    // Created with no permission at all when it replaces a file, so that it is never
    // more open than the target; its own mode comes last.
    const int created = CreateTemp(dir, st != nullptr ? 0 : 0666, allowUnnamed, temp);
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
    return Publish(dir, target, temp, shown);
}

// As ReplaceThroughTempOnce, with an unnamed temporary file first and a named one
// where the unnamed one cannot be given a name.
Outcome ReplaceThroughTemp(const std::string& target, int from, const struct stat* st,
                           const std::string& text, const std::string& shown) {
    const Outcome outcome = ReplaceThroughTempOnce(target, from, st, text, true, shown);
    if (outcome != Outcome::RetryNamed) return outcome;
    return ReplaceThroughTempOnce(target, from, st, text, false, shown);
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

// `path` (links resolved) opened for reading and locked exclusively (flock), waiting
// for another writer. Once the lock is held the descriptor is checked to still be the
// file the path names; a save by the previous holder may have renamed a new file over
// it, and then the new one is opened and locked instead.
Descriptor OpenLocked(const std::string& path, const std::string& shown) {
    for (int attempt = 0; attempt < 1000; ++attempt) {
        Descriptor file = OpenRegular(path, O_RDONLY, shown);
        while (::flock(file.Get(), LOCK_EX) != 0) {
            if (errno != EINTR) Fail(shown, errno);
        }
        struct stat held {}, named {};
        if (::fstat(file.Get(), &held) != 0) Fail(shown, errno);
        if (::stat(path.c_str(), &named) != 0) {
            if (errno == ENOENT) continue;  // renamed away; the next open tells whether it is gone
            Fail(shown, errno);
        }
        if (SameFile(held, named)) return file;
    }
    throw FileError(shown, "файл всё время заменяется другой программой");
}

// Writes `text` as the whole content of `target` (links resolved), which is the
// regular file open on `locked`, keeping its mode, owner, group, extended attributes
// and ACLs. Through an unnamed temporary file renamed over the target; in place when
// the file has other hard links, its folder is not writable, its owner or attributes
// could not be given to a new file, or it cannot be renamed over (a mount point).
// `oldText`, when not null, is the file's current content (saves reading it again).
void SaveOver(const std::string& target, int locked, const std::string& text,
              const std::string* oldText, const std::string& shown) {
    struct stat st {};
    if (::fstat(locked, &st) != 0) Fail(shown, errno);
    // Neither a rename nor root's rights may override a file kept read-only.
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) throw FileError(shown, kReadOnlyFile);
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        if (errno == EACCES) throw FileError(shown, kReadOnlyFile);
        Fail(shown, errno);
    }
    // Another name would keep the old text if a new file took this one's place.
    if (st.st_nlink > 1) return SaveInPlace(target, st, text, oldText, shown);
    if (ReplaceThroughTemp(target, locked, &st, text, shown) == Outcome::InPlace) {
        SaveInPlace(target, st, text, oldText, shown);
    }
}

// Creates `target`, which does not exist, with `text`, through a temporary file.
void SaveNew(const std::string& target, const std::string& text, const std::string& shown) {
    // Nothing to write in place: the name is taken by something that cannot be replaced.
    if (ReplaceThroughTemp(target, -1, nullptr, text, shown) != Outcome::Done) Fail(shown, EBUSY);
}

}  // namespace

std::string Load(const std::string& path) {
    const Descriptor file = OpenRegular(path, O_RDONLY, path);
    // A shared lock waits out a writer that rewrites the file in place, so the text is
    // never half old, half new. Where the file system has no locks, the read goes on.
    while (::flock(file.Get(), LOCK_SH) != 0 && errno == EINTR) {
    }
    return ReadAll(file.Get(), path);
}

void Save(const std::string& path, const std::string& text) {
    const std::string target = ResolveLinks(path, path);
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0) {
        if (errno != ENOENT) throw FileError(path, ReasonOf(errno));
        return SaveNew(target, text, path);
    }
    const Descriptor locked = OpenLocked(target, path);
    SaveOver(target, locked.Get(), text, nullptr, path);
}

struct Held {
    std::string path;
    std::string target;
    Descriptor fd;
};

void HeldRelease::operator()(Held* held) const noexcept { delete held; }

HeldFile Hold(const std::string& path, std::string& text) {
    HeldFile held(new Held{path, ResolveLinks(path, path), {}});
    held->fd = OpenLocked(held->target, path);
    text = ReadAll(held->fd.Get(), path);
    return held;
}

void SaveHeld(Held& held, const std::string& text, const std::string& oldText) {
    SaveOver(held.target, held.fd.Get(), text, &oldText, held.path);
}

}  // namespace ravlet::file_access
