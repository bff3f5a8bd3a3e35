// A comparison of large texts that fails in a line: the sizes and the first offset at
// which they differ, with a few bytes around it, instead of both texts in full.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace ravlet::test {

inline ::testing::AssertionResult SameBytes(std::string_view got, std::string_view want) {
    const std::size_t common = std::min(got.size(), want.size());
    const std::size_t at = static_cast<std::size_t>(
        std::mismatch(got.begin(), got.begin() + static_cast<std::ptrdiff_t>(common), want.begin())
            .first -
        got.begin());
    if (at == common && got.size() == want.size()) return ::testing::AssertionSuccess();
    const std::size_t from = at < 16 ? 0 : at - 16;
    return ::testing::AssertionFailure()
           << "sizes " << got.size() << " and " << want.size() << ", first difference at offset "
           << at << ": got \"" << ::testing::PrintToString(got.substr(from, 32)) << "\", want \""
           << ::testing::PrintToString(want.substr(from, 32)) << "\"";
}

}  // namespace ravlet::test
