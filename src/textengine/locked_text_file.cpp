// The locked read-modify-write of a settings file.
#include "textengine/locked_text_file.hpp"

#include <stdexcept>

#include <unistd.h>

#include "textengine/file_access.hpp"

namespace ravlet {

LockedTextFile::LockedTextFile(const std::string& path)
    : path_(path), target_(file_access::ResolveLinks(path, path)) {
    file_access::Descriptor file = file_access::OpenLocked(target_, path_);
    text_ = file_access::ReadAll(file.Get(), path_);
    fd_ = file.Release();
}

LockedTextFile::~LockedTextFile() {
    if (fd_ >= 0) ::close(fd_);
}

void LockedTextFile::Save(const std::string& text) {
    if (saved_) throw std::logic_error("LockedTextFile::Save called twice");
    file_access::SaveOver(target_, fd_, text, &text_, path_);
    saved_ = true;
}

}  // namespace ravlet
