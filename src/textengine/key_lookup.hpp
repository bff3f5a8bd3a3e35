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

// Where a key line may begin. In a version base one leading character is skipped
// (the "+" or "-" of a parameter line); in a settings text the key starts its line,
// exactly where PutParamVal would write it, so a commented-out ";KEY=" is not read.
enum class KeyRule {
    Base,      // at a line start, or after one leading character on its line
    Settings,  // at a line start only
};

// The accepted key line of `idName` (see GetParamVal), or nullopt.
std::optional<KeyHit> FindKey(std::string_view file, std::string_view version,
                              std::string_view group, std::string_view idName,
                              KeyRule rule = KeyRule::Base);

// The value of key `idName`, trimmed of spaces; "" when not found or empty.
// `version` ("" for none) starts the search at the exact marker "TARVEN=" + version;
// `group` ("" for none) restricts it to that header's group: the first line after
// the marker that begins with the header (case-insensitive), up to the next line
// beginning with "["; a group that is given but not found finds nothing. A line
// ends at LF (CR LF included); the start of the text counts as a line start. The
// value ends at ';' or a control character.
std::string GetParamVal(std::string_view file, std::string_view version, std::string_view group,
                        std::string_view idName, KeyRule rule = KeyRule::Base);

// FindKey and GetParamVal with the version's marker already found at the 1-based
// `markerPos` (0: no version, or a version whose marker is absent), for callers that
// look up many keys of one version.
std::optional<KeyHit> FindKeyAfter(std::string_view file, std::size_t markerPos,
                                   std::string_view group, std::string_view idName,
                                   KeyRule rule = KeyRule::Base);
std::string GetParamValAfter(std::string_view file, std::size_t markerPos, std::string_view group,
                             std::string_view idName, KeyRule rule = KeyRule::Base);

// Spaces (only spaces) removed from both ends.
std::string_view TrimSpaces(std::string_view s);

// The value of the key line `hit` found in `file`, trimmed of spaces, as GetParamVal
// gives it.
inline std::string_view ValueAt(std::string_view file, const KeyHit& hit) {
    return TrimSpaces(file.substr(hit.valueStart - 1, hit.valueEnd - hit.valueStart));
}

}  // namespace ravlet
