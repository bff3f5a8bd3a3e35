// The fast searches (memchr-anchored) against a plain position-by-position scan, over
// many small random texts drawn from the bytes that matter: letters in both cases,
// Cyrillic pairs, "[", "=", ";", CR and LF.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "textengine/codepage.hpp"
#include "textengine/key_search.hpp"
#include "textengine/text_search.hpp"

namespace ravlet {
namespace {

std::size_t PlainScan(std::size_t start, std::string_view text, std::string_view what, bool fold) {
    if (start == 0 || start > text.size()) return 0;
    for (std::size_t at = start - 1; at + what.size() <= text.size(); ++at) {
        bool equal = true;
        for (std::size_t k = 0; k < what.size() && equal; ++k) {
            const auto a = static_cast<unsigned char>(text[at + k]);
            const auto b = static_cast<unsigned char>(what[k]);
            equal = fold ? FoldCp1251(a) == FoldCp1251(b) : a == b;
        }
        if (equal) return at + 1;
    }
    return 0;
}

std::string RandomText(std::mt19937& rng, std::size_t maxLength) {
    static constexpr char kBytes[] = "aA[=\xC0\xE0\xA8\xB8x;\r\n]";
    std::string s(rng() % (maxLength + 1), ' ');
    for (char& c : s) c = kBytes[rng() % (sizeof kBytes - 1)];
    return s;
}

TEST(SearchEquivalence, FastSearchesAgreeWithAPlainScan) {
    std::mt19937 rng(20261207);
    for (int round = 0; round < 100000; ++round) {
        const std::string text = RandomText(rng, 24);
        const std::string what = RandomText(rng, 4);
        const std::size_t start = rng() % (text.size() + 2);
        const std::size_t last = rng() % (text.size() + 1);  // 0: no bound
        ASSERT_EQ(InStr(start, text, what, Compare::Exact), PlainScan(start, text, what, false))
            << "exact: " << testing::PrintToString(text) << " / " << testing::PrintToString(what)
            << " @" << start;
        ASSERT_EQ(InStr(start, text, what, Compare::Text), PlainScan(start, text, what, true))
            << "text: " << testing::PrintToString(text) << " / " << testing::PrintToString(what)
            << " @" << start;
        std::size_t expected = PlainScan(start, text, what + "=", true);
        if (last != 0 && expected > last) expected = 0;
        ASSERT_EQ(FindKeyAssignment(text, start, what, last), expected)
            << "key: " << testing::PrintToString(text) << " / " << testing::PrintToString(what)
            << " @" << start << " last " << last;
    }
}

}  // namespace
}  // namespace ravlet
