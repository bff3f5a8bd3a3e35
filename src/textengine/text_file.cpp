// Reading whole files and writing them safely; the system's part is file_access.
#include "textengine/text_file.hpp"

#include "textengine/file_access.hpp"
#include "textengine/file_reason.hpp"

namespace ravlet {

FileError::FileError(const std::string& path, const std::string& reason, FileFailure kind)
    : std::runtime_error(path + ": " + reason), path_(path), reason_(reason), kind_(kind) {}

FileError::FileError(const std::string& path, FileFailure kind, const std::string& detail)
    : FileError(path, Wording(kind, detail), kind) {
    detail_ = detail;
}

std::string LoadTextFile(const std::string& path) { return file_access::Load(path); }

void SaveTextFile(const std::string& path, const std::string& text) {
    file_access::Save(path, text);
}

bool RecoverTextFile(const std::string& path) { return file_access::Recover(path); }

}  // namespace ravlet
