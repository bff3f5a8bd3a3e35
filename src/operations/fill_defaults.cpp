// The fill walk, linear in the sizes of the two texts: the version's marker, its group
// headers and each group's key lines are found once, every default is recorded against
// the unchanged settings text, and the new text is built in one pass at the end.
#include "operations/fill_defaults.hpp"

#include "operations/default_rule.hpp"
#include "textengine/key_search.hpp"
#include "textengine/text_index.hpp"
#include "textengine/value_edits.hpp"
#include "versionbase/catalogue.hpp"

namespace ravlet {

std::string FillFromDefaults(std::string_view base, std::string_view version, std::string iniText,
                             const FillSteps& steps) {
    // The listings start at the version's marker (the first marker for version ""); the
    // value specs are looked up after it, or without a version restriction for "".
    const std::size_t marker = VersionMarker(base, version);
    if (marker == 0) return iniText;
    const std::vector<std::string> groups = ListGroups(base, version);
    if (steps.groups) steps.groups(groups);

    // Headers as the parameter listing finds them: exact, at a line start, after the marker.
    const HeaderIndex headers(base, marker, Compare::Exact);
    LookupIndex specs(base, version.empty() ? 0 : marker, KeyRule::Base);
    ValueEdits edits(iniText);
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const std::string& group = groups[g];
        // Every listed header is indexable; the search stays for any that is not.
        const std::size_t at = IndexableHeader(group) ? headers.Find(group)
                                                      : FindHeaderLine(base, marker, group, Compare::Exact);
        const std::vector<std::string> params = ListParametersAt(base, at, true);
        if (steps.group) steps.group(static_cast<int>(g), params);
        for (std::size_t p = 0; p < params.size(); ++p) {
            if (steps.parameter) steps.parameter(static_cast<int>(p));
            std::string value = DefaultOf(specs.Get(group, params[p]));
            edits.Put(group, params[p], value);
            if (steps.written) steps.written();
        }
    }
    return edits.empty() ? iniText : edits.Apply();
}

}  // namespace ravlet
