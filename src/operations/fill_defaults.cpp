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

    // Headers as the parameter listing finds them (exact, from the marker) and as the
    // value spec lookup finds them (any letter case, after the marker or, for version
    // "", anywhere).
    const HeaderIndex headers(base, marker, Compare::Exact);
    const std::size_t specMarker = version.empty() ? 0 : marker;
    const HeaderIndex specHeaders(base, specMarker + 1, Compare::Text);
    ValueEdits edits(iniText);
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const std::string& group = groups[g];
        // Every listed header is indexable; the search stays for any that is not.
        const std::size_t at = IndexableHeader(group) ? headers.Find(group)
                                                      : FindHeaderLine(base, marker, group, Compare::Exact);
        const std::vector<std::string> params = ListParametersAt(base, at, true);
        if (steps.group) steps.group(static_cast<int>(g), params);
        // The group's key lines, indexed once and dropped after the group: the base is
        // the large text, and each group is walked once.
        const bool indexed = IndexableHeader(group);
        const std::size_t specAt = indexed ? specHeaders.Find(group) : 0;
        const std::optional<KeyIndex> keys =
            specAt == 0 ? std::nullopt
                        : std::optional<KeyIndex>(std::in_place, base, specAt + 1, GroupEnd(base, specAt), KeyRule::Base);
        const auto spec = [&](const std::string& name) -> std::string {
            if (!indexed || !IndexableName(name)) return GetParamValAfter(base, specMarker, group, name);
            if (!keys) return {};  // the group is not there: no key of it is
            const auto hit = keys->Find(name);
            return hit ? std::string(TrimSpaces(base.substr(hit->valueStart - 1, hit->valueEnd - hit->valueStart)))
                       : std::string();
        };
        for (std::size_t p = 0; p < params.size(); ++p) {
            if (steps.parameter) steps.parameter(static_cast<int>(p));
            std::string value = DefaultOf(spec(params[p]));
            edits.Put(group, params[p], value);
            if (steps.written) steps.written();
        }
    }
    return edits.empty() ? iniText : edits.Apply();
}

}  // namespace ravlet
