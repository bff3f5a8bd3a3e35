// Group and parameter listing of a version record.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ravlet {

// The group headers (brackets included, untrimmed) after the version's marker, in
// text order, up to the first header that repeats one already listed (case-
// sensitive) or the end of the text. Empty when the marker is absent. A header
// needs its "]" on its own line.
std::vector<std::string> ListGroups(std::string_view base, std::string_view version);

// The key names of the group's parameter lines ("+" lines; also "-" lines when
// `full`), in text order, untrimmed, up to the next line beginning with "[" or the
// end of the text. The group is the first line after the version's marker that
// begins with its header (exact). Empty when the marker or the header is absent. A parameter line
// needs its "=" on its own line.
std::vector<std::string> ListParameters(std::string_view base, std::string_view version,
                                        std::string_view group, bool full);

// A group header as the group listing meets it: its text (brackets included) and the
// 1-based position of its "[".
struct ListedHeader {
    std::string_view header;  // a view into the base
    std::size_t pos;
};

// The group listing from the 1-based position `from`: every header after it, up to the
// first that repeats one already listed, the end of the text or, when `until` is not 0,
// the first header at or after `until`. ListGroups is this from the version's marker.
std::vector<ListedHeader> ListHeadersFrom(std::string_view base, std::size_t from,
                                          std::size_t until = 0);

// A line the parameter listing meets: it begins with "+" or "-" at the 1-based `pos`;
// `equals` is the 1-based position of its first "=", 0 when the line has none.
struct ParameterLine {
    std::size_t pos;
    std::size_t equals;
};

// Calls visit for every line beginning with "+" or "-" after the line at the 1-based
// `headerPos`, up to the next line beginning with "[". Returns the 1-based position of
// that "[", or 0 when the walk reached the end of the text.
std::size_t WalkParameterLines(std::string_view base, std::size_t headerPos,
                               const std::function<void(const ParameterLine&)>& visit);

// ListParameters for the group whose header line is at the 1-based `headerPos` (0:
// none), for callers that have found the header already.
std::vector<std::string> ListParametersAt(std::string_view base, std::size_t headerPos, bool full);

}  // namespace ravlet
