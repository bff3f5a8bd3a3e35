// Sample texts for the tests, written readably: "⏎" stands for CR LF and Cyrillic
// letters (А-я, Ё, ё) become their Windows-1251 bytes. The conversion is done here,
// independently of the code page table under test; any other non-ASCII character
// is a mistake in the test and aborts it.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <string>
#include <string_view>

namespace ravlet::test {

inline std::string Text(std::string_view utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b0 = static_cast<unsigned char>(utf8[i]);
        if (b0 < 0x80) {
            out += static_cast<char>(b0);
            ++i;
            continue;
        }
        if (utf8.substr(i, 3) == "\u23CE") {  // ⏎
            out += "\r\n";
            i += 3;
            continue;
        }
        if ((b0 & 0xE0) != 0xC0 || i + 1 >= utf8.size()) std::abort();
        const auto b1 = static_cast<unsigned char>(utf8[i + 1]);
        const unsigned cp = ((b0 & 0x1Fu) << 6) | (b1 & 0x3Fu);
        if (cp >= 0x410 && cp <= 0x44F) {
            out += static_cast<char>(cp - 0x410 + 0xC0);
        } else if (cp == 0x401) {
            out += '\xA8';
        } else if (cp == 0x451) {
            out += '\xB8';
        } else {
            std::abort();
        }
        i += 2;
    }
    return out;
}

// Comment lines, each ending in CR LF, of at least `bytes` bytes in total: pads a
// text far beyond the old 32,767-character limit.
inline std::string Filler(std::size_t bytes) {
    const std::string line = ";" + std::string(76, 'f') + "\r\n";
    std::string out;
    out.reserve(bytes + line.size());
    while (out.size() < bytes) out += line;
    return out;
}

// The text with its CR LF line ends as LF only.
inline std::string ToLf(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
    }
    return out;
}

}  // namespace ravlet::test
