// GetParamVal: the one reader of key values in a settings or version base text.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ravlet {

// Where an accepted key line lies: 1-based positions of the key name and of the
// value's first character, and the value's end (the ';', control character, or
// one past the end of the text).
struct KeyHit {
    std::size_t keyPos;
    std::size_t valueStart;
    std::size_t valueEnd;
};

// The accepted key line of `idName` (see GetParamVal), or nullopt.
std::optional<KeyHit> FindKey(std::string_view file, std::string_view version,
                              std::string_view group, std::string_view idName);

// The value of key `idName`, trimmed of spaces; "" when not found or empty.
// `version` ("" for none) starts the search at the exact marker "TARVEN=" + version;
// `group` ("" for none) restricts it to that header's group (case-insensitive), and
// an absent group to the text before the first group header. A key is accepted at a
// line start or after exactly one leading character; the start of the text counts
// as a line start. The value ends at ';' or a control character.
std::string GetParamVal(std::string_view file, std::string_view version,
                        std::string_view group, std::string_view idName);

// FindKey and GetParamVal with the version's marker already found at the 1-based
// `markerPos` (0: no version, or a version whose marker is absent), for callers that
// look up many keys of one version.
std::optional<KeyHit> FindKeyAfter(std::string_view file, std::size_t markerPos,
                                   std::string_view group, std::string_view idName);
std::string GetParamValAfter(std::string_view file, std::size_t markerPos, std::string_view group,
                             std::string_view idName);

// Spaces (only spaces) removed from both ends.
std::string_view TrimSpaces(std::string_view s);

}  // namespace ravlet
