// What a value in the settings text may hold: the one rule behind PutParamVal and
// behind every front end's refusal of a typed or given value.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace ravlet {

// Why a character cannot stand in a value.
enum class ValueFault {
    ControlCharacter,  // C0, DEL or C1 (0x98, unassigned in the code page, reads as U+0098)
    Semicolon,         // it would start a comment and cut the value there
    OutsideCodePage,   // no Windows-1251 byte for it (only where the caller converts)
};

struct RefusedCharacter {
    ValueFault fault;
    char32_t character;
    friend bool operator==(const RefusedCharacter&, const RefusedCharacter&) = default;
};

// The first character of `text` that a value cannot hold; nullopt when it can hold
// them all.
std::optional<RefusedCharacter> FirstRefused(std::u32string_view text);
// The same for Windows-1251 bytes, each read as its character.
std::optional<RefusedCharacter> FirstRefused(std::string_view cp1251);

// What every front end says of a refused character (UTF-8): the character, named by
// its code where it is invisible or cannot be shown (U+0009), and why the settings
// file cannot hold it.
std::string RefusedCharacterMessage(const RefusedCharacter& refused);

// A value that cannot be written; what() is RefusedCharacterMessage.
class InvalidValue : public std::invalid_argument {
public:
    explicit InvalidValue(RefusedCharacter refused);
    const RefusedCharacter& Refused() const { return refused_; }

private:
    RefusedCharacter refused_;
};

}  // namespace ravlet
