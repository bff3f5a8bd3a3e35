// The characters a settings value can hold.
#include "textengine/value_rule.hpp"

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

const char* WhatOf(ValueFault fault) {
    switch (fault) {
        case ValueFault::ControlCharacter:
            return "значение не может содержать управляющие символы";
        case ValueFault::Semicolon:
            return "значение не может содержать \";\"";
        case ValueFault::OutsideCodePage:
            break;
    }
    return "значение содержит символ вне кодовой страницы Windows-1251";
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

InvalidValue::InvalidValue(RefusedCharacter refused)
    : std::invalid_argument(WhatOf(refused.fault)), refused_(refused) {}

}  // namespace ravlet
