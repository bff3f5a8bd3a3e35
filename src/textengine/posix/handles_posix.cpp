// POSIX handles and the folder: regular files opened without blocking, the folder
// held by a descriptor, reads, writes and syncs.
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <filesystem>

#include <fcntl.h>
#include <pthread.h>

#include "textengine/file_reason.hpp"
#include "textengine/pending_temp.hpp"
#include "textengine/posix/handles.hpp"

namespace ravlet::file_system {
namespace fs = std::filesystem;

FileFailure KindOf(int err) { return KindOfSystemError(err); }

void Fail(const std::string& shown, int err) {
    const FileFailure kind = KindOf(err);
    throw FileError(shown, kind,
                    kind == FileFailure::SystemError ? std::to_string(err) : std::string());
}

FileState StateFrom(const struct stat& st) {
    FileState state;
    state.volume = static_cast<std::uint64_t>(st.st_dev);
    state.index = static_cast<std::uint64_t>(st.st_ino);
    state.size = static_cast<std::uint64_t>(st.st_size);
    state.modified = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    state.links = static_cast<std::uint32_t>(st.st_nlink);
    state.owner = st.st_uid;
    state.readOnly = (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
    return state;
}

namespace {

// What a path that is not a regular file is, for the refusal.
FileFailure NotRegular(mode_t mode) {
    if (S_ISDIR(mode)) return FileFailure::IsFolder;
    if (S_ISCHR(mode) || S_ISBLK(mode)) return FileFailure::IsDevice;
    if (S_ISFIFO(mode)) return FileFailure::IsFifo;
    if (S_ISSOCK(mode)) return FileFailure::IsSocket;
    return FileFailure::NotRegular;
}

// The descriptor decides: the path may name something else since it was looked at.
// Left blocking once it is known to be a regular file.
FilePtr Checked(int fd, const std::string& shown) {
    FilePtr file(new File{Descriptor(fd)});
    struct stat st {};
    if (::fstat(fd, &st) != 0) Fail(shown, errno);
    if (!S_ISREG(st.st_mode)) throw FileError(shown, NotRegular(st.st_mode));
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) Fail(shown, errno);
    return file;
}

int OpenFlags(Access access) {
    return (access == Access::Read ? O_RDONLY : O_RDWR) | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
}

}  // namespace

void Closer::operator()(Folder* folder) const noexcept { delete folder; }
void Closer::operator()(File* file) const noexcept { delete file; }

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

FolderPtr OpenFolderOf(const std::string& target, const std::string& shown, std::string& leaf) {
    const fs::path parent = fs::path(target).parent_path();
    leaf = fs::path(target).filename().string();
    // "/" or "dir/": no name of a file at all.
    if (leaf.empty()) throw FileError(shown, FileFailure::IsFolder);
    FolderPtr folder(new Folder{});
    folder->path = parent.empty() ? std::string(".") : parent.string();
    int fd = ::open(folder->path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    // A folder that may be searched but not listed is still where the file is.
    if (fd < 0 && errno == EACCES)
        fd = ::open(folder->path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) Fail(shown, errno);
    folder->fd = Descriptor(fd);
    if (::fstat(fd, &folder->st) != 0) Fail(shown, errno);
    char real[PATH_MAX];
    folder->real = ::realpath(folder->path.c_str(), real) != nullptr
                       ? real
                       : fs::absolute(folder->path).string();
    return folder;
}

bool FolderUnchanged(const Folder& folder) {
    struct stat now {};
    return ::stat(folder.path.c_str(), &now) == 0 && now.st_dev == folder.st.st_dev &&
           now.st_ino == folder.st.st_ino;
}

std::string FullPathIn(const Folder& folder, const std::string& leaf) {
    return folder.real == "/" ? "/" + leaf : folder.real + "/" + leaf;
}

FilePtr OpenRegular(const std::string& path, Access access, const std::string& shown) {
    struct stat st {};
    // Checked before the open too: opening a device may already act on it.
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
        throw FileError(shown, NotRegular(st.st_mode));
    int fd = -1;
    do {
        fd = ::open(path.c_str(), OpenFlags(access));
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) Fail(shown, errno);
    return Checked(fd, shown);
}

FilePtr OpenIn(const Folder& folder, const std::string& leaf, Access access,
               const std::string& shown, FileFailure& failed) {
    struct stat st {};
    if (::fstatat(folder.fd.Get(), leaf.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
        !S_ISREG(st.st_mode)) {
        throw FileError(shown,
                        S_ISLNK(st.st_mode) ? FileFailure::NotRegular : NotRegular(st.st_mode));
    }
    int fd = -1;
    do {
        fd = ::openat(folder.fd.Get(), leaf.c_str(), OpenFlags(access) | O_NOFOLLOW);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        failed = KindOf(errno);
        return nullptr;
    }
    return Checked(fd, shown);
}

FileState StateOf(const File& file, const std::string& shown) {
    struct stat st {};
    if (::fstat(file.fd.Get(), &st) != 0) Fail(shown, errno);
    return StateFrom(st);
}

std::optional<FileState> StateAt(const Folder& folder, const std::string& leaf,
                                 const std::string& shown) {
    struct stat st {};
    if (::fstatat(folder.fd.Get(), leaf.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0)
        return StateFrom(st);
    if (errno == ENOENT) return std::nullopt;
    Fail(shown, errno);
}

std::size_t ReadAt(const File& file, char* buffer, std::size_t size, std::uint64_t offset,
                   const std::string& shown) {
    for (;;) {
        const ssize_t n = ::pread(file.fd.Get(), buffer, size, static_cast<off_t>(offset));
        if (n >= 0) return static_cast<std::size_t>(n);
        if (errno != EINTR) Fail(shown, errno);
    }
}

FileFailure WriteAt(const File& file, std::string_view bytes, std::uint64_t offset,
                    std::size_t& written) {
    written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::pwrite(file.fd.Get(), bytes.data() + written, bytes.size() - written,
                                   static_cast<off_t>(offset + written));
        if (n < 0) {
            if (errno == EINTR) continue;
            return KindOf(errno);
        }
        written += static_cast<std::size_t>(n);
    }
    return FileFailure::Other;
}

FileFailure Reserve(const File& file, std::uint64_t size) {
    struct stat st {};
    if (::fstat(file.fd.Get(), &st) != 0) return KindOf(errno);
    if (static_cast<std::uint64_t>(st.st_size) >= size) return FileFailure::Other;
    if (::fallocate(file.fd.Get(), FALLOC_FL_KEEP_SIZE, st.st_size,
                    static_cast<off_t>(size) - st.st_size) == 0 ||
        errno == EINVAL || errno == EOPNOTSUPP || errno == ENOTSUP) {
        return FileFailure::Other;
    }
    return KindOf(errno);
}

FileFailure SetSize(const File& file, std::uint64_t size) {
    return ::ftruncate(file.fd.Get(), static_cast<off_t>(size)) == 0 ? FileFailure::Other
                                                                     : KindOf(errno);
}

FileFailure Sync(const File& file) {
    return ::fsync(file.fd.Get()) == 0 ? FileFailure::Other : KindOf(errno);
}

void SyncFolder(const Folder& folder) { (void)::fsync(folder.fd.Get()); }

bool Remove(const Folder& folder, const std::string& leaf) {
    return ::unlinkat(folder.fd.Get(), leaf.c_str(), 0) == 0;
}

// Holds off the signals that end a process while a file is overwritten in place.
struct Deferral {
    sigset_t previous{};
    bool blocked = false;
};

void Closer::operator()(Deferral* deferral) const noexcept {
    if (deferral->blocked) pthread_sigmask(SIG_SETMASK, &deferral->previous, nullptr);
    delete deferral;
}

DeferralPtr DeferInterruptions() {
    DeferralPtr deferral(new Deferral{});
    sigset_t set;
    sigemptyset(&set);
    for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&set, sig);
    deferral->blocked = pthread_sigmask(SIG_BLOCK, &set, &deferral->previous) == 0;
    return deferral;
}

}  // namespace ravlet::file_system
