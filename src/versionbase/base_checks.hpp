// The checks of a version base for the people who write it: each finding is a rule of
// the base's format that the text breaks, at the line where it breaks it, with what
// goes wrong in Ravlet and how to mend it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ravlet {

struct BaseFinding {
    std::size_t line;     // 1-based, lines counted over LF
    std::string message;  // UTF-8, in Russian
};

// Every finding of `base`, in line order. The base is read by the same walks that the
// version list, the group and parameter listings, the hint lookup and the transfer
// make, so a finding says how Ravlet itself takes the text. Linear in its size.
std::vector<BaseFinding> CheckBase(std::string_view base);

}  // namespace ravlet
