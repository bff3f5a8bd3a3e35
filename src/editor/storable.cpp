// The characters a settings value can hold.
#include "editor/storable.hpp"

#include <cstdio>

#include "editor/messages.hpp"
#include "textengine/codepage.hpp"

namespace ravlet {
namespace {

bool IsControl(char32_t ch) { return ch < 0x20 || (ch >= 0x7F && ch <= 0x9F); }

bool IsSurrogate(char32_t ch) { return ch >= 0xD800 && ch <= 0xDFFF; }

// `ch` as UTF-8; not called for surrogates, which UTF-8 cannot carry.
std::string EncodeUtf8(char32_t ch) {
    std::string out;
    if (ch < 0x80) {
        out += static_cast<char>(ch);
    } else if (ch < 0x800) {
        out += static_cast<char>(0xC0 | (ch >> 6));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else if (ch < 0x10000) {
        out += static_cast<char>(0xE0 | (ch >> 12));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (ch >> 18));
        out += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    }
    return out;
}

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
    return messages::RefusedCharacter(EncodeUtf8(ch));
}

}  // namespace ravlet
