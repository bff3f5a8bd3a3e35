// The Windows-1251 table and the conversions built on it.
#include "textengine/codepage.hpp"

#include <array>
#include <cstdio>

namespace ravlet {
namespace {

// 0x80..0xBF; 0x98 is unassigned in the code page and kept as U+0098 so that
// every byte survives a round trip.
constexpr std::array<char32_t, 64> kHigh = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

constexpr char32_t ToUnicode(unsigned char b) {
    if (b < 0x80) return b;
    if (b < 0xC0) return kHigh[b - 0x80];
    return 0x0410 + (b - 0xC0);
}

// Lower case of the Unicode characters the code page holds in both cases.
constexpr char32_t LowerUnicode(char32_t c) {
    if (c >= U'A' && c <= U'Z') return c + 0x20;
    if (c >= 0x0400 && c <= 0x040F) return c + 0x50;
    if (c >= 0x0410 && c <= 0x042F) return c + 0x20;
    if (c == 0x0490) return 0x0491;
    return c;
}

constexpr std::array<unsigned char, 256> MakeFoldTable() {
    std::array<unsigned char, 256> table{};
    for (int b = 0; b < 256; ++b) {
        const char32_t lower = LowerUnicode(ToUnicode(static_cast<unsigned char>(b)));
        table[b] = static_cast<unsigned char>(b);
        for (int c = 0; c < 256; ++c) {
            if (ToUnicode(static_cast<unsigned char>(c)) == lower) {
                table[b] = static_cast<unsigned char>(c);
                break;
            }
        }
    }
    return table;
}

constexpr std::array<unsigned char, 256> kFold = MakeFoldTable();

}  // namespace

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

char32_t Cp1251ToUnicode(unsigned char byte) { return ToUnicode(byte); }

std::optional<unsigned char> UnicodeToCp1251(char32_t ch) {
    if (ch < 0x80) return static_cast<unsigned char>(ch);
    if (ch >= 0x0410 && ch <= 0x044F) return static_cast<unsigned char>(0xC0 + (ch - 0x0410));
    for (std::size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] == ch) return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

unsigned char FoldCp1251(unsigned char byte) { return kFold[byte]; }

std::string Cp1251ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char b : bytes) AppendUtf8(out, ToUnicode(static_cast<unsigned char>(b)));
    return out;
}

namespace {

// The character that starts at utf8[i] and the length of its sequence; nullopt for a
// byte that does not start a valid, shortest-form sequence.
struct Decoded {
    char32_t ch;
    std::size_t length;
};
std::optional<Decoded> DecodeUtf8At(std::string_view utf8, std::size_t i) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    char32_t c = 0;
    std::size_t extra = 0;
    if (lead < 0x80) {
        c = lead;
    } else if ((lead & 0xE0) == 0xC0) {
        c = lead & 0x1F;
        extra = 1;
    } else if ((lead & 0xF0) == 0xE0) {
        c = lead & 0x0F;
        extra = 2;
    } else if ((lead & 0xF8) == 0xF0) {
        c = lead & 0x07;
        extra = 3;
    } else {
        return std::nullopt;
    }
    if (i + extra >= utf8.size()) return std::nullopt;  // truncated sequence
    for (std::size_t k = 1; k <= extra; ++k) {
        const auto cont = static_cast<unsigned char>(utf8[i + k]);
        if ((cont & 0xC0) != 0x80) return std::nullopt;
        c = (c << 6) | (cont & 0x3F);
    }
    // Overlong forms would let one character hide behind another.
    if ((extra == 1 && c < 0x80) || (extra == 2 && c < 0x800) || (extra == 3 && c < 0x10000)) {
        return std::nullopt;
    }
    return Decoded{c, extra + 1};
}

}  // namespace

std::optional<std::string> Utf8ToCp1251(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto decoded = DecodeUtf8At(utf8, i);
        if (!decoded) return std::nullopt;
        const auto byte = UnicodeToCp1251(decoded->ch);
        if (!byte) return std::nullopt;
        out += static_cast<char>(*byte);
        i += decoded->length;
    }
    return out;
}

std::string EscapedForTerminal(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    char code[8];
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto decoded = DecodeUtf8At(utf8, i);
        if (!decoded) {
            std::snprintf(code, sizeof code, "\\x%02X", static_cast<unsigned char>(utf8[i++]));
            out += code;
            continue;
        }
        const char32_t c = decoded->ch;
        if (c < 0x20 || c == 0x7F) {
            std::snprintf(code, sizeof code, "\\x%02X", static_cast<unsigned>(c));
            out += code;
        } else if (c >= 0x80 && c <= 0x9F) {
            std::snprintf(code, sizeof code, "\\u%04X", static_cast<unsigned>(c));
            out += code;
        } else {
            out.append(utf8, i, decoded->length);
        }
        i += decoded->length;
    }
    return out;
}

std::string Utf8ToCp1251Lenient(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto decoded = DecodeUtf8At(text, i);
        const auto byte = decoded ? UnicodeToCp1251(decoded->ch) : std::nullopt;
        if (byte) {
            out += static_cast<char>(*byte);
            i += decoded->length;
        } else {
            out += text[i++];
        }
    }
    return out;
}

}  // namespace ravlet
