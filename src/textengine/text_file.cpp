// Reading whole files and writing them safely; the descriptor-level steps are in
// file_access.cpp.
#include "textengine/text_file.hpp"

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include "textengine/file_access.hpp"
#include "textengine/file_reason.hpp"

namespace ravlet {

FileError::FileError(const std::string& path, const std::string& reason)
    : std::runtime_error(path + ": " + reason), path_(path), reason_(reason) {}

std::string LoadTextFile(const std::string& path) {
    const file_access::Descriptor file = file_access::OpenRegular(path, O_RDONLY, path);
    // A shared lock waits out a writer that rewrites the file in place, so the text is
    // never half old, half new. Where the file system has no locks, the read goes on.
    while (::flock(file.Get(), LOCK_SH) != 0 && errno == EINTR) {
    }
    return file_access::ReadAll(file.Get(), path);
}

void SaveTextFile(const std::string& path, const std::string& text) {
    const std::string target = file_access::ResolveLinks(path, path);
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0) {
        if (errno != ENOENT) throw FileError(path, ReasonOf(errno));
        return file_access::SaveNew(target, text, path);
    }
    const file_access::Descriptor locked = file_access::OpenLocked(target, path);
    file_access::SaveOver(target, locked.Get(), text, nullptr, path);
}

}  // namespace ravlet
