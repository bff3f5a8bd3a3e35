// Group and parameter listing over the version base text.
#include "versionbase/catalogue.hpp"

#include <unordered_set>

#include "textengine/key_search.hpp"

namespace ravlet {
namespace {

// The 1-based position of the first `ch` at or after `from` on the same line, 0 when
// a CR, an LF or the end of the text comes first. Bounded by the line, so a line that
// lacks it costs only its own length.
std::size_t FindOnLine(std::string_view text, std::size_t from, char ch) {
    for (std::size_t i = from - 1; i < text.size(); ++i) {
        if (text[i] == ch) return i + 1;
        if (text[i] == '\r' || text[i] == '\n') return 0;
    }
    return 0;
}

}  // namespace

std::vector<std::string> ListGroups(std::string_view base, std::string_view version) {
    std::vector<std::string> groups;
    const std::size_t p = FindVersionMarker(base, version);
    if (p == 0) return groups;
    for (const ListedHeader& listed : ListHeadersFrom(base, p)) groups.emplace_back(listed.header);
    return groups;
}

std::vector<ListedHeader> ListHeadersFrom(std::string_view base, std::size_t from,
                                          std::size_t until) {
    std::vector<ListedHeader> headers;
    std::unordered_set<std::string_view> listed;  // views into `base`
    std::size_t p = from;
    for (;;) {
        // h is the line break before the "[".
        const std::size_t h = InStr(p, base, "\n[", Compare::Exact);
        if (h == 0 || (until != 0 && h + 1 >= until)) break;
        const std::size_t k = FindOnLine(base, h + 1, ']');
        if (k == 0) {
            // A header without "]" on its own line is no header: go on after its "[".
            p = h + 2;
            continue;
        }
        const std::string_view header = base.substr(h, k - h);
        p = k + 1;
        // The listing runs on into later records and stops at the first repeat.
        if (!listed.insert(header).second) break;
        headers.push_back({header, h + 1});
    }
    return headers;
}

std::vector<std::string> ListParameters(std::string_view base, std::string_view version,
                                        std::string_view group, bool full) {
    const std::size_t marker = FindVersionMarker(base, version);
    if (marker == 0) return {};
    return ListParametersAt(base, FindHeaderLine(base, marker, group, Compare::Exact), full);
}

std::vector<std::string> ListParametersAt(std::string_view base, std::size_t headerPos, bool full) {
    std::vector<std::string> params;
    if (headerPos == 0) return params;
    WalkParameterLines(base, headerPos, [&](const ParameterLine& line) {
        if (line.equals == 0) return;  // no "=" on this line
        if (base[line.pos - 1] == '-' && !full) return;
        params.emplace_back(base.substr(line.pos, line.equals - line.pos - 1));
    });
    return params;
}

std::size_t WalkParameterLines(std::string_view base, std::size_t headerPos,
                               const std::function<void(const ParameterLine&)>& visit) {
    std::size_t p = headerPos;
    for (;;) {
        const std::size_t e = InStr(p, base, "\n", Compare::Exact);
        if (e == 0) return 0;  // the last group ends with the text
        p = e + 1;
        if (p > base.size()) return 0;
        const char f = base[p - 1];
        if (f == '[') return p;
        if (f != '+' && f != '-') continue;
        visit({p, FindOnLine(base, p, '=')});
    }
}

}  // namespace ravlet
