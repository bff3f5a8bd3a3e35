// Group and parameter listing of a version record.
#pragma once

#include <cstddef>
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

// ListParameters for the group whose header line is at the 1-based `headerPos` (0:
// none), for callers that have found the header already.
std::vector<std::string> ListParametersAt(std::string_view base, std::size_t headerPos, bool full);

}  // namespace ravlet
