// The fill from base defaults as a walk over texts: every group of a version, the full
// parameter list of each, and each parameter's default written where the settings
// text has the key. The window follows the walk step by step; the command line runs
// it directly.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ravlet {

// What the walk reports as it goes; any of them may be left empty.
struct FillSteps {
    // The groups of the version, once, before the first group is walked.
    std::function<void(const std::vector<std::string>& groups)> groups;
    // Group `index` is walked next; `parameters` is its full list.
    std::function<void(int index, const std::vector<std::string>& parameters)> group;
    // Parameter `index` of the current group is written next.
    std::function<void(int index)> parameter;
    // The parameter announced last has been written.
    std::function<void()> written;
};

// `iniText` with every parameter of `version` set to its default from `base`: the
// groups as the version's group listing gives them, the full parameter list of each,
// the value spec looked up after the version's marker in that group, and the defaults
// written in one pass of ValueEdits, which gives what PutParamVal would make of them one
// by one: a key absent from the settings text stays absent.
// A version whose marker `base` lacks has no groups: nothing changes. Version "" takes
// the groups after the first marker, looked up without a version restriction.
// Throws InvalidValue, and changes nothing, when a default is one the value rule refuses
// (a control character in the base).
std::string FillFromDefaults(std::string_view base, std::string_view version, std::string iniText,
                             const FillSteps& steps = {});

}  // namespace ravlet
