// Russian reasons for the system errors a file load or save can meet.
#pragma once

#include <string>

namespace ravlet {

// The reason, in Russian, for `err` (an errno value) met while reading or writing a
// file; an errno without its own text is named by its number.
std::string ReasonOf(int err);

// Reasons that no single errno stands for.
inline constexpr const char* kReadOnlyFile = "файл только для чтения";
inline constexpr const char* kFolderNotWritable = "папка недоступна для записи";

}  // namespace ravlet
