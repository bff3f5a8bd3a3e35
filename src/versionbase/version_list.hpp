// The version list of a version base and the recognition of a settings file's version.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ravlet {

// The version names of `base`, in the order of their first marker. Each name is
// listed once; an empty name ends the list; a name beginning with the whole name of
// a version listed before it is cut down and not listed. A TARVEN key line that is
// not an exact marker (other letter case, blanks after "=") is passed over.
std::vector<std::string> ListVersions(std::string_view base);

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
