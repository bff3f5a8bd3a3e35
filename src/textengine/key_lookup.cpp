// GetParamVal and FindKey: a key's line and value, over the search steps of key_search.
#include "textengine/key_lookup.hpp"

#include "textengine/key_search.hpp"
#include "textengine/text_search.hpp"

namespace ravlet {

std::optional<KeyHit> FindKey(std::string_view file, std::string_view version,
                              std::string_view group, std::string_view idName, KeyRule rule) {
    return FindKeyAfter(file, version.empty() ? 0 : FindVersionMarker(file, version), group, idName,
                        rule);
}

std::optional<KeyHit> FindKeyAfter(std::string_view file, std::size_t markerPos,
                                   std::string_view group, std::string_view idName, KeyRule rule) {
    std::size_t p = markerPos;
    std::size_t groupEnd = 0;
    if (!group.empty()) {
        p = FindHeaderLine(file, p + 1, group, Compare::Text);
        if (p == 0) return std::nullopt;  // an absent group holds no key
        groupEnd = GroupEnd(file, p);
    }
    for (;;) {
        // A key past the group's end ends the lookup, so the search stops there.
        p = FindKeyAssignment(file, p + 1, idName, groupEnd);
        if (p == 0) return std::nullopt;
        if (KeyLineAccepted(file, p, rule)) break;
    }
    const std::size_t start = p + idName.size() + 1;
    return KeyHit{p, start, ValueEnd(file, start)};
}

std::string GetParamVal(std::string_view file, std::string_view version, std::string_view group,
                        std::string_view idName, KeyRule rule) {
    return GetParamValAfter(file, version.empty() ? 0 : FindVersionMarker(file, version), group,
                            idName, rule);
}

std::string GetParamValAfter(std::string_view file, std::size_t markerPos, std::string_view group,
                             std::string_view idName, KeyRule rule) {
    const auto hit = FindKeyAfter(file, markerPos, group, idName, rule);
    if (!hit) return {};
    return std::string(ValueAt(file, *hit));
}

std::string_view TrimSpaces(std::string_view s) {
    const std::size_t first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const std::size_t last = s.find_last_not_of(' ');
    return s.substr(first, last - first + 1);
}

}  // namespace ravlet
