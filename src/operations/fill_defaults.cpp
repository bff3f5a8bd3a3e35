// The fill walk: the parameter walk over the base, every default recorded against the
// unchanged settings text, and the new text built in one pass at the end.
#include "operations/fill_defaults.hpp"

#include "operations/default_rule.hpp"
#include "operations/parameter_walk.hpp"
#include "textengine/value_edits.hpp"

namespace ravlet {

std::string FillFromDefaults(std::string_view base, std::string_view version, std::string iniText,
                             const FillSteps& steps) {
    ValueEdits edits(iniText);
    ParameterVisitor visit;
    visit.groups = steps.groups;
    visit.group = [&](int index, const std::string&, const std::vector<std::string>& parameters) {
        if (steps.group) steps.group(index, parameters);
    };
    visit.parameter = [&](int index, const std::string& group, const std::string& key,
                          const std::string& spec) {
        if (steps.parameter) steps.parameter(index);
        std::string value = DefaultOf(spec);
        edits.Put(group, key, value);
        if (steps.written) steps.written();
    };
    WalkParameters(base, version, visit);
    return edits.Empty() ? iniText : edits.Apply();
}

}  // namespace ravlet
