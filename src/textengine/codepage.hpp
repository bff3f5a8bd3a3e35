// Windows-1251 <-> Unicode: the one code-page table of Ravlet, used for case
// folding, the command line and the window. Every byte maps to one character
// and back unchanged (the unassigned 0x98 maps to U+0098).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ravlet {

// The Unicode character of a Windows-1251 byte.
char32_t Cp1251ToUnicode(unsigned char byte);

// The Windows-1251 byte of a Unicode character; nullopt when the code page lacks it.
std::optional<unsigned char> UnicodeToCp1251(char32_t ch);

// The lower-case byte of a Windows-1251 byte: Latin A-Z and every Cyrillic
// capital of the code page fold to their small letters, other bytes stay.
unsigned char FoldCp1251(unsigned char byte);

// Appends `c` as UTF-8; not for surrogates, which UTF-8 cannot carry.
void AppendUtf8(std::string& out, char32_t c);

// Windows-1251 bytes as UTF-8.
std::string Cp1251ToUtf8(std::string_view bytes);

// UTF-8 as Windows-1251 bytes; nullopt when the text is not valid UTF-8 or holds
// a character the code page cannot represent.
std::optional<std::string> Utf8ToCp1251(std::string_view utf8);

// `text` fit to be shown in a message on a terminal: valid UTF-8 stays as it is, while
// a control character (C0, DEL, C1: an escape sequence would steer the terminal) and a
// byte that is not part of valid UTF-8 become "\xNN" (C1 characters "\u0080".."\u009F").
std::string EscapedForTerminal(std::string_view utf8);

// For text that mixes UTF-8 with other bytes (a message naming a file whose name is in
// the code page already): every UTF-8 character the code page holds becomes its byte,
// every other byte stays as it is.
std::string Utf8ToCp1251Lenient(std::string_view text);

}  // namespace ravlet
