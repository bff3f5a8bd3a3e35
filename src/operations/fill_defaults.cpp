// The fill walk.
#include "operations/fill_defaults.hpp"

#include "operations/default_rule.hpp"
#include "textengine/key_lookup.hpp"
#include "textengine/value_replacement.hpp"
#include "versionbase/catalogue.hpp"

namespace ravlet {

std::string FillFromDefaults(std::string_view base, std::string_view version, std::string iniText,
                             const FillSteps& steps) {
    // Every value spec is looked up after the same marker: find it once. (No version
    // means no restriction, as for any lookup.)
    const std::size_t marker = version.empty() ? 0 : VersionMarker(base, version);
    const std::vector<std::string> groups = ListGroups(base, version);
    if (steps.groups) steps.groups(groups);
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const std::string& group = groups[g];
        const std::vector<std::string> params = ListParameters(base, version, group, true);
        if (steps.group) steps.group(static_cast<int>(g), params);
        for (std::size_t p = 0; p < params.size(); ++p) {
            if (steps.parameter) steps.parameter(static_cast<int>(p));
            std::string value = DefaultOf(GetParamValAfter(base, marker, group, params[p]));
            PutParamVal(iniText, group, params[p], value);
            if (steps.written) steps.written();
        }
    }
    return iniText;
}

}  // namespace ravlet
