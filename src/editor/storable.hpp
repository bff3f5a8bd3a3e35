// Which characters a value in the settings text can hold, and how a refused one is
// named to the user.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ravlet {

// The first character of a typed or pasted value that the settings text cannot hold:
// one without a Windows-1251 byte, a control character, or ';', which would start a
// comment. nullopt when every character can be stored.
std::optional<char32_t> FirstUnstorable(std::u32string_view text);
// The sign shown for a refused character (UTF-8); an invisible one is named by its code.
std::string RefusedCharacterMessage(char32_t ch);

}  // namespace ravlet
