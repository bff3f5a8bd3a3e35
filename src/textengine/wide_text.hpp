// Windows only: the program's UTF-8 strings and the system's UTF-16 ones, and the guard
// that keeps Ctrl-C away from a file being overwritten in place.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ravlet {

// nullopt when the text is not valid UTF-8: no character is ever guessed or replaced.
std::optional<std::wstring> Utf8ToWide(std::string_view utf8);

// nullopt when the text holds a lone surrogate, which UTF-8 cannot carry.
std::optional<std::string> WideToUtf8(std::wstring_view wide);

// UTF-16 as characters: each surrogate pair decoded; a lone surrogate stays as it is,
// for the value rule to refuse.
std::u32string WideToUtf32(std::wstring_view wide);

// A program's UTF-16 arguments (wmain's argv, CommandLineToArgvW's) as the UTF-8 the
// program works in, with a NUL-terminated pointer list over them for a main-style parse.
struct Utf8Arguments {
    std::vector<std::string> values;
    std::vector<const char*> pointers;  // argc + 1 entries, the last nullptr
    int notUnicode = -1;                // the first argument no UTF-8 can carry; -1: none
};
Utf8Arguments ArgumentsToUtf8(int argc, const wchar_t* const* argv);

// Held while a file is overwritten in place: the console's Ctrl-C handler, which runs
// on a thread of its own, waits until it is released before it ends the process.
class InterruptionDeferred {
public:
    InterruptionDeferred();
    ~InterruptionDeferred();
    InterruptionDeferred(const InterruptionDeferred&) = delete;
    InterruptionDeferred& operator=(const InterruptionDeferred&) = delete;
};

}  // namespace ravlet
