// Substring search over byte texts, in the two modes the lookups use: exact and
// text (case-insensitive, Windows-1251 aware). Positions are 1-based, 0 = not found,
// so the lookup code reads like the rules it implements.
#pragma once

#include <cstddef>
#include <string_view>

namespace ravlet {

enum class Compare { Exact, Text };

// The 1-based position of the first occurrence of `what` in `text` at or after
// `start` (1-based, at least 1), or 0. An empty `what` is found at `start` when
// `start` lies within the text; nothing is found in an empty text.
std::size_t InStr(std::size_t start, std::string_view text, std::string_view what,
                  Compare mode = Compare::Exact);

// True when the two texts are equal under case folding.
bool TextEquals(std::string_view a, std::string_view b);

}  // namespace ravlet
