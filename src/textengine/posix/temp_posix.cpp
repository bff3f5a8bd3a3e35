// POSIX temporary files: unnamed (O_TMPFILE) until complete where the system has them,
// else named and locked; renamed over their target in one step; the stale ones of a
// killed save removed.
#include <cerrno>
#include <random>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>

#include "textengine/pending_temp.hpp"
#include "textengine/posix/handles.hpp"

namespace ravlet::file_system {
namespace {

// A leaf name of fixed length whatever the target's name, so any legal name saves.
std::string RandomLeaf() {
    static std::mt19937_64 engine{std::random_device{}()};
    static constexpr char kDigits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string leaf = ".ravlet-";
    for (int i = 0; i < 10; ++i) leaf += kDigits[engine() % (sizeof kDigits - 1)];
    return leaf + ".tmp";
}

bool IsTempLeaf(std::string_view name) {
    return name.starts_with(".ravlet-") && name.ends_with(".tmp");
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Gives `temp` a fresh short name: tries names until `create(leaf)` returns 0, or an
// errno other than EEXIST, which it returns. The name is registered before it exists,
// since a signal in between would otherwise leave it behind. The named file is locked
// and checked to still be the one created: a cleaner may have taken it for stale.
template <typename Create>
int WithFreshName(Temp& temp, Create create) {
    const Folder& folder = *temp.folder;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string leaf = RandomLeaf();
        if (!RegisterPendingTemp(folder.path + "/" + leaf)) return ENAMETOOLONG;
        const int err = create(leaf);
        if (err == 0) {
            struct stat own {
            }, named{};
            const int fd = temp.file.fd.Get();
            if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &own) == 0 &&
                ::fstatat(folder.fd.Get(), leaf.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
                SameFile(own, named)) {
                temp.leaf = leaf;
                return 0;
            }
            temp.file.fd.Reset();
            ClearPendingTemp();
            continue;
        }
        ClearPendingTemp();
        if (err != EEXIST) return err;
    }
    return EEXIST;
}

}  // namespace

void Closer::operator()(Temp* temp) const noexcept {
    if (!temp->leaf.empty()) {
        ::unlinkat(temp->folder->fd.Get(), temp->leaf.c_str(), 0);
        ClearPendingTemp();
    }
    delete temp;
}

File& FileOf(Temp& temp) { return temp.file; }

TempPtr CreateTemp(const Folder& folder, bool replacing, FileFailure& failed) {
    TempPtr temp(new Temp{});
    temp->folder = &folder;
    const mode_t mode = replacing ? 0 : 0666;
#ifdef O_TMPFILE
    // Without /proc the unnamed file could not be given a name.
    if (::access("/proc/self/fd", F_OK) == 0) {
        const int fd = ::openat(folder.fd.Get(), ".", O_TMPFILE | O_RDWR | O_CLOEXEC, mode);
        if (fd >= 0) {
            temp->file.fd = Descriptor(fd);
            temp->unnamed = true;
            // Locked before it has a name, so no cleaner ever takes it for stale.
            (void)::flock(fd, LOCK_EX | LOCK_NB);
            return temp;
        }
        // These say the file system (or the kernel) has no unnamed files.
        if (errno != EOPNOTSUPP && errno != ENOTSUP && errno != EISDIR && errno != EINVAL) {
            failed = KindOf(errno);
            return nullptr;
        }
    }
#endif
    const int err = WithFreshName(*temp, [&](const std::string& leaf) {
        const int fd = ::openat(folder.fd.Get(), leaf.c_str(),
                                O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd < 0) return errno;
        temp->file.fd = Descriptor(fd);
        return 0;
    });
    if (err != 0) {
        failed = KindOf(err);
        return nullptr;
    }
    return temp;
}

void NameTemp(Temp& temp, const std::string& shown) {
    if (!temp.unnamed) return;
    const std::string self = "/proc/self/fd/" + std::to_string(temp.file.fd.Get());
    Descriptor unnamed = std::move(temp.file.fd);
    const int err = WithFreshName(temp, [&](const std::string& leaf) {
        if (::linkat(AT_FDCWD, self.c_str(), temp.folder->fd.Get(), leaf.c_str(),
                     AT_SYMLINK_FOLLOW) != 0)
            return errno;
        temp.file.fd = Descriptor(::dup(unnamed.Get()));
        return 0;
    });
    if (err != 0) Fail(shown, err);
    temp.unnamed = false;
}

Placed RenameOver(Temp& temp, const std::string& leaf, const std::string& shown) {
    const int dir = temp.folder->fd.Get();
    if (::renameat(dir, temp.leaf.c_str(), dir, leaf.c_str()) != 0) {
        if (errno == EBUSY || errno == EXDEV) return Placed::CannotReplace;
        Fail(shown, errno);
    }
    temp.leaf.clear();
    ClearPendingTemp();
    return Placed::Done;
}

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

}  // namespace ravlet::file_system
