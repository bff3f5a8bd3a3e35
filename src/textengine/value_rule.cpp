// The characters a settings value can hold.
#include "textengine/value_rule.hpp"

#include <cstdio>

#include "textengine/codepage.hpp"

namespace ravlet {
namespace {

// A line break would split the file's lines; the other control characters are
// invisible in the window and in a terminal.
bool IsControl(char32_t ch) { return ch < 0x20 || (ch >= 0x7F && ch <= 0x9F); }

std::optional<ValueFault> FaultOf(char32_t ch) {
    if (IsControl(ch)) return ValueFault::ControlCharacter;
    if (ch == U';') return ValueFault::Semicolon;
    if (!UnicodeToCp1251(ch)) return ValueFault::OutsideCodePage;
    return std::nullopt;
}

}  // namespace

std::optional<RefusedCharacter> FirstRefused(std::u32string_view text) {
    for (const char32_t ch : text) {
        if (const auto fault = FaultOf(ch)) return RefusedCharacter{*fault, ch};
    }
    return std::nullopt;
}

std::optional<RefusedCharacter> FirstRefused(std::string_view cp1251) {
    for (const char byte : cp1251) {
        const char32_t ch = Cp1251ToUnicode(static_cast<unsigned char>(byte));
        if (const auto fault = FaultOf(ch)) return RefusedCharacter{*fault, ch};
    }
    return std::nullopt;
}

std::string RefusedCharacterMessage(const RefusedCharacter& refused) {
    const char32_t ch = refused.character;
    const bool surrogate = ch >= 0xD800 && ch <= 0xDFFF;
    std::string shown;
    if (refused.fault == ValueFault::ControlCharacter || surrogate || ch > 0x10FFFF) {
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(ch));
        shown = code;
    } else {
        AppendUtf8(shown, ch);
    }
    const char* why = "его нет в кодовой странице Windows-1251";
    if (refused.fault == ValueFault::Semicolon) why = "с него начинается комментарий";
    if (refused.fault == ValueFault::ControlCharacter) why = "это управляющий символ";
    return "Символ «" + shown + "» нельзя записать в файл настроек: " + why;
}

InvalidValue::InvalidValue(RefusedCharacter refused)
    : std::invalid_argument(RefusedCharacterMessage(refused)), refused_(refused) {}

}  // namespace ravlet
