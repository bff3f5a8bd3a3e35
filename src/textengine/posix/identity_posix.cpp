// POSIX identity and attributes: the owner, mode, extended attributes and ACLs a new
// file takes over, whether a file may be written, the mark (an extended attribute) a
// file carries while it is rewritten in place, and the user's cache folder.
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

#include <fcntl.h>
#include <sys/statvfs.h>
#include <sys/xattr.h>

#include "textengine/posix/handles.hpp"

namespace ravlet::file_system {
namespace {

// Naming its recovery copy; readable by everyone who may read the file.
constexpr const char* kMarkName = "user.ravlet.recovery";

bool NoAttributes(int err) { return err == ENOTSUP || err == EOPNOTSUPP; }

// The names of the extended attributes of `fd`; `supported` is false where the file
// system has none.
std::vector<std::string> AttributeNames(int fd, bool& supported, const std::string& shown) {
    supported = true;
    std::vector<char> buffer;
    for (;;) {
        const ssize_t size = ::flistxattr(fd, nullptr, 0);
        if (size < 0) {
            if (NoAttributes(errno)) {
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
        if (!name.empty() && name != kMarkName) names.push_back(std::move(name));
    }
    return names;
}

// The value of attribute `name`; false when it is gone (ENODATA) or `err` is set.
bool AttributeValue(int fd, const char* name, std::vector<char>& value, int& err) {
    err = 0;
    for (;;) {
        const ssize_t size = ::fgetxattr(fd, name, nullptr, 0);
        if (size < 0) break;
        value.resize(static_cast<std::size_t>(size));
        const ssize_t got = ::fgetxattr(fd, name, value.data(), value.size());
        if (got >= 0) {
            value.resize(static_cast<std::size_t>(got));
            return true;
        }
        if (errno != ERANGE) break;
    }
    if (errno != ENODATA) err = errno;
    return false;
}

// Gives `to` exactly the extended attributes of `from`; the ACLs are among them
// (system.posix_acl_access). False when one may not be set by this process.
bool CopyAttributes(int from, int to, const std::string& shown) {
    bool supported = true;
    const std::vector<std::string> names = AttributeNames(from, supported, shown);
    if (!supported) return true;
    for (const std::string& name : names) {
        std::vector<char> value;
        int err = 0;
        if (!AttributeValue(from, name.c_str(), value, err)) {
            if (err == 0) continue;  // removed meanwhile
            Fail(shown, err);
        }
        if (::fsetxattr(to, name.c_str(), value.data(), value.size(), 0) != 0) {
            if (NoAttributes(errno)) continue;
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

}  // namespace

bool GiveIdentity(Temp& temp, const File& from, const FileState&, const std::string& shown) {
    struct stat st {};
    if (::fstat(from.fd.Get(), &st) != 0) Fail(shown, errno);
    const int to = temp.file.fd.Get();
    // Owner before mode: a chown clears the set-user-ID bits a chmod then restores.
    if (::fchown(to, st.st_uid, st.st_gid) != 0) {
        if (errno == EPERM) return false;
        Fail(shown, errno);
    }
    if (!CopyAttributes(from.fd.Get(), to, shown)) return false;
    if (::fchmod(to, st.st_mode & 07777) != 0) Fail(shown, errno);
    return true;
}

std::optional<FileFailure> WriteRefusal(const Folder& folder, const std::string& leaf,
                                        const File& file) {
    struct statvfs vfs {};
    if (::fstatvfs(file.fd.Get(), &vfs) == 0 && (vfs.f_flag & ST_RDONLY) != 0)
        return FileFailure::ReadOnlyFileSystem;
    struct stat st {};
    if (::fstat(file.fd.Get(), &st) == 0 && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return FileFailure::ReadOnlyFile;
    if (::faccessat(folder.fd.Get(), leaf.c_str(), W_OK, AT_EACCESS) != 0) {
        if (errno == EACCES) return FileFailure::ReadOnlyFile;
        if (errno == EROFS) return FileFailure::ReadOnlyFileSystem;
        return KindOf(errno);
    }
    return std::nullopt;
}

Mark ReadMark(const File& file, std::string& value) {
    std::vector<char> bytes;
    int err = 0;
    if (AttributeValue(file.fd.Get(), kMarkName, bytes, err)) {
        value.assign(bytes.begin(), bytes.end());
        return Mark::Present;
    }
    return err == 0 ? Mark::Absent : Mark::Unsupported;
}

bool SetMark(const File& file, const std::string& value) {
    return ::fsetxattr(file.fd.Get(), kMarkName, value.data(), value.size(), 0) == 0;
}

void ClearMark(const File& file) { (void)::fremovexattr(file.fd.Get(), kMarkName); }

std::uint32_t CurrentUser() { return ::geteuid(); }

bool IsAdministrator(std::uint32_t user) { return user == 0; }

std::string CacheFolderPath() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache != nullptr && cache[0] == '/') return std::string(cache) + "/ravlet";
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') return std::string(home) + "/.cache/ravlet";
    return {};
}

FolderPtr OpenCacheFolder(bool create) {
    // The base the environment names is the user's choice; below it no link is followed
    // and root makes nothing in a folder of another user (sudo keeping a user's HOME).
    std::string base;
    std::vector<std::string> below;
    const char* cache = std::getenv("XDG_CACHE_HOME");
    const char* home = std::getenv("HOME");
    if (cache != nullptr && cache[0] == '/') {
        base = cache;
        below = {"ravlet"};
    } else if (home != nullptr && home[0] == '/') {
        base = home;
        below = {".cache", "ravlet"};
    } else {
        return nullptr;
    }
    Descriptor at(::open(base.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (at.Get() < 0) return nullptr;
    std::string path = base;
    const uid_t self = ::geteuid();
    for (const std::string& name : below) {
        int fd = ::openat(at.Get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0 && errno == ENOENT && create) {
            // Root makes nothing in a folder of another user: it would stay root's there.
            struct stat parent {};
            if (self == 0 && (::fstat(at.Get(), &parent) != 0 || parent.st_uid != 0))
                return nullptr;
            if (::mkdirat(at.Get(), name.c_str(), 0700) != 0 && errno != EEXIST) return nullptr;
            fd = ::openat(at.Get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        }
        if (fd < 0) return nullptr;
        at = Descriptor(fd);
        path += "/" + name;
    }
    FolderPtr folder(new Folder{});
    if (::fstat(at.Get(), &folder->st) != 0 || folder->st.st_uid != self) return nullptr;
    folder->fd = std::move(at);
    folder->path = path;
    char real[PATH_MAX];
    folder->real = ::realpath(path.c_str(), real) != nullptr ? real : path;
    return folder;
}

}  // namespace ravlet::file_system
