// Search steps shared by the lookup, the replacement and the listings (1-based
// positions, 0 = none). A line ends at LF, so CR LF and LF-only texts read alike.
#pragma once

#include <cstddef>
#include <string_view>

#include "textengine/key_lookup.hpp"
#include "textengine/text_search.hpp"

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

// True when a key found at the 1-based `p` stands where `rule` lets a key line begin.
// Inline: the indexes ask it of every byte they pass.
inline bool KeyLineAccepted(std::string_view file, std::size_t p, KeyRule rule) {
    const auto back = [&](std::size_t n) { return static_cast<unsigned char>(file[p - 1 - n]); };
    if (rule == KeyRule::Settings) return p == 1 || back(1) < 32;
    // Two back is the CR of a CR LF for a key at a line start, so one leading character
    // ("+", "-") is skipped; in an LF-only text the key right after the LF counts too.
    return p <= 2 || back(2) < 32 || back(1) == '\n';
}

// True when 1-based `pos` begins a line: the text start, or just after CR or LF.
bool StartsLine(std::string_view text, std::size_t pos);

// First occurrence of `header` at or after `start` that begins a line, so that a
// comment naming a group ("; see [Input]") is never taken for it.
std::size_t FindHeaderLine(std::string_view text, std::size_t start, std::string_view header,
                           Compare mode);

// The line break before the first line beginning with "[" after `pos` (the end of
// the group whose header is at `pos`), or 0 when the group runs to the text end.
std::size_t GroupEnd(std::string_view text, std::size_t pos);

}  // namespace ravlet
