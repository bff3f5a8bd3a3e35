// Russian reasons for file problems: each kind worded once, and per system the map
// from its error codes onto the kinds.
#pragma once

#include <string>

#include "textengine/text_file.hpp"

namespace ravlet {

// The kind of the system's error code `err`: an errno value on POSIX
// (file_reason_posix.cpp), a GetLastError() code on Windows (file_reason_windows.cpp).
// SystemError for a code without a kind of its own.
FileFailure KindOfSystemError(int err);

// The Russian wording of `kind`, with what it carries (see FileError::detail).
std::string Wording(FileFailure kind, const std::string& detail = {});

// The wording of the system's error code `err`; a code without its own kind is named
// by its number.
std::string ReasonOf(int err);

// Too little memory, as every text that names it says it.
inline constexpr const char* kNoMemory = "недостаточно памяти";

}  // namespace ravlet
