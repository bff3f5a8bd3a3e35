// Search steps shared by the lookup, the replacement and the listings (1-based
// positions, 0 = none).
#pragma once

#include <cstddef>
#include <string_view>

namespace ravlet {

// First case-insensitive occurrence of `idName` followed by "=", at or after `start`
// and, when `last` is not 0, at or before `last`.
std::size_t FindKeyAssignment(std::string_view text, std::size_t start, std::string_view idName,
                              std::size_t last = 0);

// First exact occurrence of "TARVEN=" immediately followed by `version` (anywhere,
// so a shorter name also matches the start of a longer one).
std::size_t FindVersionMarker(std::string_view text, std::string_view version);

// Where a value starting at `valueStart` ends: the first ';' or control character,
// or one past the end of the text.
std::size_t ValueEnd(std::string_view text, std::size_t valueStart);

}  // namespace ravlet
