// The version list of a version base and the recognition of a settings file's version.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "textengine/key_lookup.hpp"

namespace ravlet {

// The version names of `base`, in the order of their first marker. Each name is
// listed once; an empty name ends the list; a name beginning with the whole name of
// a version listed before it is cut down and not listed. A TARVEN key line that is
// not an exact marker (other letter case, blanks after "=") is passed over.
std::vector<std::string> ListVersions(std::string_view base);

// A TARVEN key line as the version listing classifies it.
struct MarkerLine {
    enum class Kind {
        Listed,    // a version of the list
        Repeated,  // the marker of a version listed before, again
        Cut,       // begins with the whole name of a version listed before: not listed
        NotExact,  // not "TARVEN=" + name (other letter case, blanks after "="): passed over
        Empty,     // an empty name: the list ends here
    };
    Kind kind;
    KeyHit hit;
    std::string_view name;  // the line's value, a view into the base
    int earlier = -1;       // Repeated, Cut: the index of that version in the list
};

// Every TARVEN key line of `base` in text order, classified as ListVersions takes it,
// until `visit` returns false. The walk goes on past an Empty line; the versions it
// then calls Listed are the ones the empty name hides.
void WalkMarkers(std::string_view base, const std::function<bool(const MarkerLine&)>& visit);

// For each name, the 1-based position of its first exact marker "TARVEN=" + name
// (anywhere, so also the start of a longer name's marker), where a lookup by that
// version starts; 0 when absent.
std::vector<std::size_t> MarkerPositions(std::string_view base,
                                         const std::vector<std::string>& versions);

struct Detection {
    int index;        // the version to select; -1 when `versions` is empty
    bool recognised;  // false: show "not recognised"; index is then the last version
};

// The first version whose support list contains the settings text's own TARVEN
// value as an exact substring; otherwise the last version, not recognised. The own
// value is read from a line that starts with the key; a text without one, or with an
// empty value, is not recognised.
Detection DetectVersion(std::string_view iniText, std::string_view base,
                        const std::vector<std::string>& versions);

}  // namespace ravlet
