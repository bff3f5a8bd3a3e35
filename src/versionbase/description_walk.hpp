// The walk over the descriptions section that the transfer makes, line by line from
// the section header, shared with the checks of the version base.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

namespace ravlet {

// 1-based position of the first "[DESCRIPTIONS]" (any letter case) that begins a line;
// 0 when the base has none.
std::size_t DescriptionsHeader(std::string_view base);

// A line the walk takes as a description line (comment lines are passed over).
struct DescriptionLine {
    std::size_t pos;  // 1-based start of the line
    std::string_view
        key;  // from the line start to the next "=", over line breaks if the line has none
};

// Visits the description lines after the header line at the 1-based `header` until the
// walk ends: at an empty line or one beginning with a control character, at the end of
// the text or of its "="s, or when `visit` returns false. Returns the 1-based start of
// the line that ended it in the first way, else 0.
std::size_t WalkDescriptions(std::string_view base, std::size_t header,
                             const std::function<bool(const DescriptionLine&)>& visit);

}  // namespace ravlet
