// The parameter walk, linear in the size of the base: the marker and the group headers
// are found once, and each group's key lines are indexed once and dropped after it
// (the base is the large text, and each group is walked once).
#include "operations/parameter_walk.hpp"

#include <optional>

#include "textengine/key_lookup.hpp"
#include "textengine/key_search.hpp"
#include "textengine/text_index.hpp"
#include "versionbase/catalogue.hpp"

namespace ravlet {

void WalkParameters(std::string_view base, std::string_view version,
                    const ParameterVisitor& visit) {
    const std::size_t marker = FindVersionMarker(base, version);
    if (marker == 0) return;
    const std::vector<std::string> groups = ListGroups(base, version);
    if (visit.groups) visit.groups(groups);

    // Headers as the parameter listing finds them (exact, from the marker) and as the
    // value spec lookup finds them (any letter case, after the marker or, for version
    // "", anywhere).
    const HeaderIndex headers(base, marker, Compare::Exact);
    const std::size_t specMarker = version.empty() ? 0 : marker;
    const HeaderIndex specHeaders(base, specMarker + 1, Compare::Text);
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const std::string& group = groups[g];
        // Every listed header is indexable; the plain searches stay for any that is not.
        const bool indexed = IndexableHeader(group);
        const std::size_t at =
            indexed ? headers.Find(group) : FindHeaderLine(base, marker, group, Compare::Exact);
        const std::vector<std::string> params = ListParametersAt(base, at, true);
        if (visit.group) visit.group(static_cast<int>(g), group, params);
        if (visit.shortList)
            visit.shortList(static_cast<int>(g), ListParametersAt(base, at, false));
        if (!visit.parameter) continue;

        const std::size_t specAt = indexed ? specHeaders.Find(group) : 0;
        const std::optional<KeyIndex> keys =
            specAt == 0 ? std::nullopt
                        : std::optional<KeyIndex>(std::in_place, base, specAt + 1,
                                                  GroupEnd(base, specAt), KeyRule::Base);
        for (std::size_t p = 0; p < params.size(); ++p) {
            const std::string& name = params[p];
            std::string spec;
            if (!indexed || !IndexableName(name)) {
                spec = GetParamValAfter(base, specMarker, group, name);
            } else if (keys) {  // without it the group is not there, and no key of it is
                if (const auto hit = keys->Find(name)) {
                    spec = ValueAt(base, *hit);
                }
            }
            visit.parameter(static_cast<int>(p), group, name, spec);
        }
    }
}

}  // namespace ravlet
