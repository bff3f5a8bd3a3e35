// Russian reasons for the system errors a file load or save can meet.
#pragma once

#include <string>

namespace ravlet {

// The reason, in Russian, for the system's error code `err` met while reading or
// writing a file: an errno value on POSIX (file_reason_posix.cpp), a GetLastError()
// code on Windows (file_reason_windows.cpp). A code without its own text is named by
// its number.
std::string ReasonOf(int err);

// Too little memory, as every text that names it says it.
inline constexpr const char* kNoMemory = "недостаточно памяти";

// Reasons that no single errno stands for.
inline constexpr const char* kReadOnlyFile = "файл только для чтения";
inline constexpr const char* kFolderNotWritable = "папка недоступна для записи";
inline constexpr const char* kReplacedWhileSaving =
    "файл заменён другой программой во время сохранения";

}  // namespace ravlet
