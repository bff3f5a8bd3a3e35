// The locked read-modify-write of a settings file.
#include "textengine/locked_text_file.hpp"

#include <stdexcept>

namespace ravlet {

LockedTextFile::LockedTextFile(const std::string& path) : held_(file_access::Hold(path, text_)) {}

LockedTextFile::~LockedTextFile() = default;

void LockedTextFile::Save(const std::string& text) {
    if (saved_) throw std::logic_error("LockedTextFile::Save called twice");
    file_access::SaveHeld(*held_, text);
    saved_ = true;
}

}  // namespace ravlet
