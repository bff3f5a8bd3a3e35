// Reading whole files and writing them safely (temporary file, then rename).
#include "textengine/text_file.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ravlet {
namespace fs = std::filesystem;

namespace {

// The reason in the user's language for the errors people meet; the system's own
// text for the rest.
std::string ReasonOf(int err) {
    switch (err) {
        case ENOENT: return "файл или папка не найдены";
        case EACCES:
        case EPERM: return "нет прав доступа";
        case EISDIR: return "это папка, а не файл";
        case ENOSPC: return "нет места на диске";
        case EROFS: return "файловая система только для чтения";
        case EDQUOT: return "превышена квота диска";
        case ENOTDIR: return "в пути есть не папка";
        default: return std::strerror(err);
    }
}

// The file a path names, following symbolic links (also a dangling one), so that
// the save replaces the link's target and the link stays a link.
fs::path ResolveLinks(const fs::path& path) {
    fs::path target = path;
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(target, ec))) return target;
        const fs::path next = fs::read_symlink(target, ec);
        if (ec) return target;
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    throw FileError(path.string(), "слишком много символических ссылок");
}

bool WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

FileError::FileError(const std::string& path, const std::string& reason)
    : std::runtime_error(path + ": " + reason), path_(path), reason_(reason) {}

std::string LoadTextFile(const std::string& path) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) throw FileError(path, ReasonOf(EISDIR));
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) throw FileError(path, ReasonOf(errno));
    std::string text;
    // Room for the edits to come, so the first longer value does not copy the text.
    struct stat st {};
    if (::fstat(::fileno(file), &st) == 0 && st.st_size > 0) {
        const auto size = static_cast<std::size_t>(st.st_size);
        text.reserve(size + size / 16 + 256);
    }
    char buffer[65536];
    for (;;) {
        const std::size_t n = std::fread(buffer, 1, sizeof buffer, file);
        text.append(buffer, n);
        if (n < sizeof buffer) break;
    }
    const bool failed = std::ferror(file) != 0;
    const int err = errno;
    std::fclose(file);
    if (failed) throw FileError(path, ReasonOf(err == 0 ? EIO : err));
    return text;
}

void SaveTextFile(const std::string& path, const std::string& text) {
    const fs::path target = ResolveLinks(path);
    std::error_code ec;
    const auto status = fs::status(target, ec);
    const bool exists = fs::exists(status);
    if (exists && fs::is_directory(status)) throw FileError(path, ReasonOf(EISDIR));
    // The rename would replace a read-only file; its protection must hold.
    // (Checked by mode bits too: access() lets root write anything.)
    if (exists && (::access(target.c_str(), W_OK) != 0 ||
                   (status.permissions() & (fs::perms::owner_write | fs::perms::group_write |
                                            fs::perms::others_write)) == fs::perms::none)) {
        throw FileError(path, "файл только для чтения");
    }

    const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::random_device seed;
    std::string tmpName;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        std::string leaf = ".";
        leaf += target.filename().string();
        leaf += ".ravlet-";
        leaf += std::to_string(seed());
        leaf += ".tmp";
        tmpName = (dir / leaf).string();
        fd = ::open(tmpName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) throw FileError(path, ReasonOf(errno));

    auto fail = [&](int err) {
        ::close(fd);
        ::unlink(tmpName.c_str());
        throw FileError(path, ReasonOf(err));
    };
    if (!WriteAll(fd, text)) fail(errno);
    if (exists) {
        struct stat st {};
        if (::stat(target.c_str(), &st) == 0) {
            if (::fchmod(fd, st.st_mode & 07777) != 0) fail(errno);
        }
    }
    if (::fsync(fd) != 0) fail(errno);
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(tmpName.c_str());
        throw FileError(path, ReasonOf(err));
    }
    if (::rename(tmpName.c_str(), target.c_str()) != 0) {
        const int err = errno;
        ::unlink(tmpName.c_str());
        throw FileError(path, ReasonOf(err));
    }
    // Make the rename itself durable; a failure here loses nothing already written.
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
}

}  // namespace ravlet
