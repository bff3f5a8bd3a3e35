// What one version of the base changes against another: groups and parameters added
// and removed, value specs changed, parameters moved between the short and the full list.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ravlet {

struct VersionChange {
    enum class Kind {
        GroupAdded,    // a group the second version has and the first lacks
        GroupRemoved,  // a group the first version has and the second lacks
        Added,         // a parameter added; `after` is its value spec
        Removed,       // a parameter removed; `before` is its value spec
        SpecChanged,   // `before` and `after` are the two value specs
        ListChanged,   // `before` and `after` are "+" or "-": the short or only the full list
    };
    Kind kind;
    std::string group;
    std::string key;  // "" for the group kinds
    std::string before;
    std::string after;
};

// The changes from version `from` to version `to`, both walked whole (groups, then the
// full parameter list of each, value specs as the window reads them): in `to`'s order,
// a new group followed by its parameters; then what `from` had and `to` lacks, in
// `from`'s order. Names compare exactly; of a key listed twice in a group the first
// line counts. A version whose marker the base lacks has no groups.
std::vector<VersionChange> DiffVersions(std::string_view base, std::string_view from,
                                        std::string_view to);

}  // namespace ravlet
