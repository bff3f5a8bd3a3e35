// Every parameter of a version with its value spec, in one forward walk over the base:
// the groups as the version's group listing gives them, the full parameter list of each,
// and each value spec as GetParamVal reads it for that version and group. The fill from
// base defaults and the settings checks are built on it.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ravlet {

struct ParameterVisitor {
    // The groups of the version, once, before the first group is walked.
    std::function<void(const std::vector<std::string>& groups)> groups;
    // Group `index` is walked next; `parameters` is its full list.
    std::function<void(int index, const std::string& group,
                       const std::vector<std::string>& parameters)>
        group;
    // Group `index`'s short list (its "+" lines), asked for only when this is set.
    std::function<void(int index, const std::vector<std::string>& shortList)> shortList;
    // Parameter `index` of the current group `group`, with its value spec ("" when none
    // is found).
    std::function<void(int index, const std::string& group, const std::string& key,
                       const std::string& spec)>
        parameter;
};

// Walks the parameters of `version` ("": the first record, its value specs looked up
// without a version restriction). A version whose marker `base` lacks has no groups.
void WalkParameters(std::string_view base, std::string_view version, const ParameterVisitor& visit);

}  // namespace ravlet
