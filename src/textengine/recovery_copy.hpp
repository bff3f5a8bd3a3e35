// The names of the recovery copy of an in-place save, where the old bytes wait until
// the new ones are safe on disk: named so that the copy leads back to its file.
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

}  // namespace ravlet
