// Windows only: the program's UTF-8 strings and the system's UTF-16 ones, and the guard
// that keeps Ctrl-C away from a file being overwritten in place.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ravlet {

// nullopt when the text is not valid UTF-8: no character is ever guessed or replaced.
std::optional<std::wstring> Utf8ToWide(std::string_view utf8);

// nullopt when the text holds a lone surrogate, which UTF-8 cannot carry.
std::optional<std::string> WideToUtf8(std::wstring_view wide);

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
