#include "textengine/codepage.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

#include "support/table.hpp"
#include "support/text.hpp"

namespace {

using ravlet::Cp1251ToUnicode;
using ravlet::Cp1251ToUtf8;
using ravlet::UnicodeToCp1251;
using ravlet::Utf8ToCp1251;
using ravlet::Utf8ToCp1251Lenient;
using ravlet::test::Text;

// Windows-1251 0x80-0xBF; 0x98 is unassigned and kept as U+0098.
const char32_t kHighRow[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 0x88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 0x98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // 0xA0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // 0xA8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // 0xB0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // 0xB8
};

char32_t ExpectedUnicode(int byte) {
    if (byte < 0x80) return static_cast<char32_t>(byte);
    if (byte < 0xC0) return kHighRow[byte - 0x80];
    return static_cast<char32_t>(0x0410 + (byte - 0xC0));
}

TEST(Codepage, EveryByteHasItsCharacter) {
    for (int b = 0; b < 256; ++b) {
        EXPECT_EQ(static_cast<unsigned>(Cp1251ToUnicode(static_cast<unsigned char>(b))),
                  static_cast<unsigned>(ExpectedUnicode(b)))
            << "byte 0x" << std::hex << b;
    }
}

TEST(Codepage, EveryCharacterGoesBackToItsByte) {
    for (int b = 0; b < 256; ++b) {
        const std::optional<unsigned char> back = UnicodeToCp1251(ExpectedUnicode(b));
        ASSERT_TRUE(back.has_value()) << "byte 0x" << std::hex << b;
        EXPECT_EQ(static_cast<int>(*back), b);
    }
}

TEST(Codepage, CharactersOutsideTheCodePageHaveNoByte) {
    for (const char32_t ch : {char32_t{0x00E4}, char32_t{0x0100}, char32_t{0x0400},
                              char32_t{0x0450}, char32_t{0x0099}, char32_t{0x1F600}}) {
        EXPECT_FALSE(UnicodeToCp1251(ch).has_value())
            << "U+" << std::hex << static_cast<unsigned>(ch);
    }
}

TEST(Codepage, AllBytesSurviveUtf8AndBack) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const std::optional<std::string> back = Utf8ToCp1251(Cp1251ToUtf8(all));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, all);
}

struct Utf8Case {
    const char* name;
    std::string cp1251;
    std::string utf8;
};

void PrintTo(const Utf8Case& c, std::ostream* os) { *os << c.name; }

const Utf8Case kUtf8Cases[] = {
    {"Empty", "", ""},
    {"Ascii", Text("KEY=1⏎"), "KEY=1\r\n"},
    {"Nul", std::string("\0", 1), std::string("\0", 1)},
    {"Russian", Text("Список перенесенных параметров:"), "Список перенесенных параметров:"},
    {"YoBothCases", Text("Ёё"), "Ёё"},
    {"UnassignedByte", "\x98", "\xC2\x98"},
    {"EuroAndNumero", "\x88\xB9", "€№"},
    {"UkrainianLetters", "\xA5\xB4\xAA\xBA\xAF\xBF\xB2\xB3", "ҐґЄєЇїІі"},
};

using CodepageUtf8Table = ravlet::test::Table<Utf8Case>;

TEST_P(CodepageUtf8Table, ConvertsBothWays) {
    const Utf8Case& c = GetParam();
    EXPECT_EQ(Cp1251ToUtf8(c.cp1251), c.utf8);
    EXPECT_EQ(Utf8ToCp1251(c.utf8), std::optional<std::string>(c.cp1251));
}

RAVLET_TABLE(Codepage, CodepageUtf8Table, kUtf8Cases);

struct BadUtf8Case {
    const char* name;
    std::string utf8;
};

void PrintTo(const BadUtf8Case& c, std::ostream* os) { *os << c.name; }

const BadUtf8Case kBadUtf8Cases[] = {
    {"LoneContinuationByte", "a\x80"},
    {"TruncatedSequence", "a\xD0"},
    {"InvalidLeadByte", "\xFF"},
    {"OverlongEncoding", "\xC1\x81"},
    {"OverlongThreeBytes", "\xE0\x81\x81"},
    {"LetterOutsideCodePage", "ä"},
    {"Emoji", "\xF0\x9F\x98\x80"},
};

using CodepageBadUtf8Table = ravlet::test::Table<BadUtf8Case>;

TEST_P(CodepageBadUtf8Table, GivesNothing) {
    EXPECT_EQ(Utf8ToCp1251(GetParam().utf8), std::nullopt);
}

RAVLET_TABLE(Codepage, CodepageBadUtf8Table, kBadUtf8Cases);

// Messages that name a file: the words in UTF-8, the file name in whatever bytes the
// system gave it.
TEST(CodepageLenient, ConvertsWhatItCanAndKeepsOtherBytes) {
    struct Case {
        const char* name;
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {"all convertible", "Файл 1.ini", Text("Файл 1.ini")},
        {"cp1251 name after UTF-8 words", "нет файла " + Text("старый.ini"),
         Text("нет файла старый.ini")},
        {"character outside the code page stays UTF-8", "é=Я", "\xC3\xA9=" + Text("Я")},
        {"truncated sequence at the end", "a\xD0", "a\xD0"},
        {"overlong form is not decoded", "\xC1\x81", "\xC1\x81"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8ToCp1251Lenient(c.text), c.expected) << c.name;
    }
}

}  // namespace
