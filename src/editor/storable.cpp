// The characters a settings value can hold.
#include "editor/storable.hpp"

#include <cstdio>

#include "editor/messages.hpp"
#include "textengine/codepage.hpp"

namespace ravlet {
namespace {

bool IsControl(char32_t ch) { return ch < 0x20 || (ch >= 0x7F && ch <= 0x9F); }

bool IsSurrogate(char32_t ch) { return ch >= 0xD800 && ch <= 0xDFFF; }

}  // namespace

std::optional<char32_t> FirstUnstorable(std::u32string_view text) {
    for (const char32_t ch : text) {
        if (ch == U';' || IsControl(ch) || !UnicodeToCp1251(ch)) return ch;
    }
    return std::nullopt;
}

std::string RefusedCharacterMessage(char32_t ch) {
    if (IsControl(ch) || IsSurrogate(ch) || ch > 0x10FFFF) {
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(ch));
        return messages::RefusedCharacter(code);
    }
    std::string utf8;
    AppendUtf8(utf8, ch);
    return messages::RefusedCharacter(utf8);
}

}  // namespace ravlet
