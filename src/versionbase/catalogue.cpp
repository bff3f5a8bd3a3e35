// Group and parameter listing over the version base text.
#include "versionbase/catalogue.hpp"

#include <algorithm>

#include "textengine/key_search.hpp"

namespace ravlet {
namespace {

bool HasLineBreak(std::string_view text, std::size_t from, std::size_t to) {
    const std::string_view part = text.substr(from - 1, to - from);
    return part.find_first_of("\r\n") != std::string_view::npos;
}

}  // namespace

std::size_t VersionMarker(std::string_view base, std::string_view version) {
    return FindVersionMarker(base, version);
}

std::vector<std::string> ListGroups(std::string_view base, std::string_view version) {
    std::vector<std::string> groups;
    std::size_t p = VersionMarker(base, version);
    if (p == 0) return groups;
    for (;;) {
        // h is the line break before the "[".
        const std::size_t h = InStr(p, base, "\n[", Compare::Exact);
        if (h == 0) break;
        const std::size_t k = InStr(h + 1, base, "]", Compare::Exact);
        if (k == 0 || HasLineBreak(base, h + 1, k)) {
            // A header without "]" on its own line is no header: go on after its "[".
            p = h + 2;
            continue;
        }
        std::string header(base.substr(h, k - h));
        p = k + 1;
        // The listing runs on into later records and stops at the first repeat.
        if (std::find(groups.begin(), groups.end(), header) != groups.end()) break;
        groups.push_back(std::move(header));
    }
    return groups;
}

std::vector<std::string> ListParameters(std::string_view base, std::string_view version,
                                        std::string_view group, bool full) {
    std::vector<std::string> params;
    const std::size_t marker = VersionMarker(base, version);
    if (marker == 0) return params;
    std::size_t p = FindHeaderLine(base, marker, group, Compare::Exact);
    if (p == 0) return params;
    for (;;) {
        const std::size_t e = InStr(p, base, "\n", Compare::Exact);
        if (e == 0) break;  // the last group ends with the text
        p = e + 1;
        if (p > base.size()) break;
        const char f = base[p - 1];
        if (f == '[') break;
        if (f != '+' && f != '-') continue;
        const std::size_t q = InStr(p, base, "=", Compare::Exact);
        if (q == 0 || HasLineBreak(base, p, q)) continue;  // no "=" on this line
        if (f == '-' && !full) continue;
        params.emplace_back(base.substr(p, q - p - 1));
    }
    return params;
}

}  // namespace ravlet
