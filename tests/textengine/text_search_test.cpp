#include "textengine/text_search.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <ostream>
#include <string>
#include <utility>

#include "support/table.hpp"
#include "support/text.hpp"
#include "textengine/codepage.hpp"

namespace {

using ravlet::Compare;
using ravlet::InStr;
using ravlet::TextEquals;
using ravlet::test::Text;

struct SearchCase {
    const char* name;
    std::size_t start;
    std::string text;
    std::string what;
    Compare mode;
    std::size_t expected;
};

void PrintTo(const SearchCase& c, std::ostream* os) { *os << c.name; }

const std::string kLong = std::string(200000, 'a') + Text("[ГРУППА]");

const SearchCase kSearchCases[] = {
    {"FirstOccurrence", 1, "abcabc", "bc", Compare::Exact, 2},
    {"FromStartPosition", 3, "abcabc", "bc", Compare::Exact, 5},
    {"StartPositionItselfIncluded", 2, "abc", "b", Compare::Exact, 2},
    {"NoneAfterStart", 6, "abcabc", "bc", Compare::Exact, 0},
    {"NotFound", 1, "abc", "x", Compare::Exact, 0},
    {"LongerThanText", 1, "ab", "abc", Compare::Exact, 0},
    {"StartBeyondText", 10, "abc", "a", Compare::Exact, 0},
    {"EmptyWhatFoundAtStart", 3, "abc", "", Compare::Exact, 3},
    {"EmptyWhatAtFirstPosition", 1, "abc", "", Compare::Text, 1},
    {"EmptyWhatStartBeyondText", 4, "abc", "", Compare::Exact, 0},
    {"EmptyWhatInEmptyText", 1, "", "", Compare::Exact, 0},
    {"NothingInEmptyText", 1, "", "a", Compare::Text, 0},
    {"ExactIsCaseSensitive", 1, "ABC", "b", Compare::Exact, 0},
    {"TextIgnoresLatinCase", 1, "ABC", "b", Compare::Text, 2},
    {"TextIgnoresCaseBothWays", 1, "key=1", "KEY=", Compare::Text, 1},
    {"CrLfBracket", 1, Text("x⏎[A]"), Text("⏎["), Compare::Exact, 2},
    {"TextLeavesBracketsApart", 1, "{", "[", Compare::Text, 0},
    {"TextLeavesAtAndBacktickApart", 1, "`", "@", Compare::Text, 0},
    {"TextLeavesCaretAndTildeApart", 1, "~", "^", Compare::Text, 0},
    {"TextLeavesBackslashAndBarApart", 1, "|", "\\", Compare::Text, 0},
    {"CyrillicExactIsCaseSensitive", 1, Text("ПРИВЕТ"), Text("привет"), Compare::Exact, 0},
    {"CyrillicTextIgnoresCase", 1, Text("a ПРИВЕТ"), Text("привет"), Compare::Text, 3},
    {"CyrillicMixedCase", 1, Text("x=ГрУпПа"), Text("гРуППА"), Compare::Text, 3},
    {"YoIsNotYe", 1, Text("ЁЖ"), Text("еж"), Compare::Text, 0},
    {"NoFoldingAcrossPunctuationBytes", 1, "\x92", "\x82", Compare::Text, 0},
    {"NoFoldingOfNoBreakSpace", 1, "\xA0", "\x80", Compare::Text, 0},
    {"TextFoldedBeyondOldSixteenBitLimit", 1, kLong, Text("[группа]"), Compare::Text, 200001},
    {"StartBeyondOldSixteenBitLimit", 150000, kLong, "[", Compare::Exact, 200001},
    {"NoneAfterStartBeyondOldSixteenBitLimit", 200002, kLong, "[", Compare::Exact, 0},
};

using TextSearchTable = ravlet::test::Table<SearchCase>;

TEST_P(TextSearchTable, FindsPosition) {
    const SearchCase& c = GetParam();
    EXPECT_EQ(InStr(c.start, c.text, c.what, c.mode), c.expected);
}

RAVLET_TABLE(TextSearch, TextSearchTable, kSearchCases);

// Every capital of the code page and its small letter.
std::array<unsigned char, 256> ExpectedFold() {
    std::array<unsigned char, 256> fold{};
    for (int b = 0; b < 256; ++b) fold[b] = static_cast<unsigned char>(b);
    for (int b = 'A'; b <= 'Z'; ++b) fold[b] = static_cast<unsigned char>(b + 0x20);
    for (int b = 0xC0; b <= 0xDF; ++b) fold[b] = static_cast<unsigned char>(b + 0x20);
    const std::pair<int, int> pairs[] = {
        {0x80, 0x90}, {0x81, 0x83}, {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8D, 0x9D},
        {0x8E, 0x9E}, {0x8F, 0x9F}, {0xA1, 0xA2}, {0xA3, 0xBC}, {0xA5, 0xB4},
        {0xA8, 0xB8}, {0xAA, 0xBA}, {0xAF, 0xBF}, {0xB2, 0xB3}, {0xBD, 0xBE},
    };
    for (const auto& [capital, small] : pairs) fold[capital] = static_cast<unsigned char>(small);
    return fold;
}

TEST(TextSearch, FoldsEveryCapitalOfTheCodePageAndNothingElse) {
    const auto expected = ExpectedFold();
    for (int b = 0; b < 256; ++b) {
        EXPECT_EQ(static_cast<int>(ravlet::FoldCp1251(static_cast<unsigned char>(b))),
                  static_cast<int>(expected[b]))
            << "byte 0x" << std::hex << b;
    }
}

TEST(TextSearch, TextModeMatchesExactlyTheFoldPairs) {
    const auto fold = ExpectedFold();
    for (int a = 1; a < 256; ++a) {
        for (int b = 1; b < 256; ++b) {
            const std::string text(1, static_cast<char>(a));
            const std::string what(1, static_cast<char>(b));
            const std::size_t expected = fold[a] == fold[b] ? 1 : 0;
            ASSERT_EQ(InStr(1, text, what, Compare::Text), expected)
                << "bytes 0x" << std::hex << a << " and 0x" << b;
        }
    }
}

struct EqualsCase {
    const char* name;
    std::string a;
    std::string b;
    bool expected;
};

void PrintTo(const EqualsCase& c, std::ostream* os) { *os << c.name; }

const EqualsCase kEqualsCases[] = {
    {"SameText", "abc", "abc", true},
    {"LatinCase", "ABC", "abc", true},
    {"CyrillicCase", Text("ВЕРСИЯ"), Text("версия"), true},
    {"DifferentLetter", "abc", "abd", false},
    {"Prefix", "ab", "abc", false},
    {"BothEmpty", "", "", true},
    {"YoAndYe", Text("Ё"), Text("е"), false},
};

using TextEqualsTable = ravlet::test::Table<EqualsCase>;

TEST_P(TextEqualsTable, ComparesUnderFolding) {
    const EqualsCase& c = GetParam();
    EXPECT_EQ(TextEquals(c.a, c.b), c.expected);
    EXPECT_EQ(TextEquals(c.b, c.a), c.expected);
}

RAVLET_TABLE(TextSearch, TextEqualsTable, kEqualsCases);

}  // namespace
