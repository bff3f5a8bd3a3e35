// The recovery copy of an in-place save: where the old bytes wait until the new ones
// are safe on disk, named so that the copy leads back to its file, and what a later
// run says when it finds one.
#pragma once

#include <string>
#include <string_view>

namespace ravlet {

// The copy's name in the file's own folder: ".<leaf>.ravlet-recovery".
std::string RecoveryLeafInFolder(std::string_view leaf);

// The copy's name in the user's cache folder: the file's full path with "%", "/", "\"
// and ":" written as %XX; a path too long for one name keeps its end and gains a hash
// of the whole, so the name still differs per file.
std::string RecoveryLeafInCache(std::string_view fullPath);

// The reason a file with the recovery copy `copy` is not written (nor read): where the
// old text is and the command that puts it back.
std::string RecoveryCopyFound(const std::string& copy, const std::string& shown);

// Said while the copy is made, when it cannot be: the file is untouched.
std::string RecoveryCopyFailed(const std::string& reason);

}  // namespace ravlet
