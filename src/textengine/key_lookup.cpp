// GetParamVal and the key search it shares with the version listing.
#include "textengine/key_lookup.hpp"

#include <algorithm>
#include <cstring>

#include "textengine/key_search.hpp"
#include "textengine/text_search.hpp"

namespace ravlet {

std::size_t FindKeyAssignment(std::string_view text, std::size_t start, std::string_view idName,
                              std::size_t last) {
    if (start == 0 || start > text.size()) return 0;
    // Every match ends in "=", which has no other case: find those with memchr and
    // compare the name before each.
    const std::size_t n = idName.size();
    // One past the last index an "=" of an acceptable match can have.
    const std::size_t end = last == 0 ? text.size() : std::min(text.size(), last + n);
    std::size_t scan = start - 1 + n;
    while (scan < end) {
        const void* hit = std::memchr(text.data() + scan, '=', end - scan);
        if (hit == nullptr) return 0;
        const std::size_t eq = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
        if (TextEquals(text.substr(eq - n, n), idName)) return eq - n + 1;
        scan = eq + 1;
    }
    return 0;
}

std::size_t FindVersionMarker(std::string_view text, std::string_view version) {
    constexpr std::string_view kMarker = "TARVEN=";
    std::size_t from = 1;
    for (;;) {
        const std::size_t at = InStr(from, text, kMarker, Compare::Exact);
        if (at == 0) return 0;
        if (text.substr(at - 1 + kMarker.size()).starts_with(version)) return at;
        from = at + 1;
    }
}

std::size_t ValueEnd(std::string_view text, std::size_t valueStart) {
    std::size_t end = valueStart;
    while (end <= text.size()) {
        const auto c = static_cast<unsigned char>(text[end - 1]);
        if (c == ';' || c < 32) break;
        ++end;
    }
    return end;
}

bool StartsLine(std::string_view text, std::size_t pos) {
    return pos == 1 || text[pos - 2] == '\n' || text[pos - 2] == '\r';
}

std::size_t FindHeaderLine(std::string_view text, std::size_t start, std::string_view header,
                           Compare mode) {
    for (std::size_t at = InStr(start, text, header, mode); at != 0; at = InStr(at + 1, text, header, mode)) {
        if (StartsLine(text, at)) return at;
    }
    return 0;
}

std::size_t GroupEnd(std::string_view text, std::size_t pos) {
    return InStr(pos + 1, text, "\n[", Compare::Exact);
}

std::optional<KeyHit> FindKey(std::string_view file, std::string_view version,
                              std::string_view group, std::string_view idName, KeyRule rule) {
    return FindKeyAfter(file, version.empty() ? 0 : FindVersionMarker(file, version), group, idName, rule);
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

std::string GetParamVal(std::string_view file, std::string_view version,
                        std::string_view group, std::string_view idName, KeyRule rule) {
    return GetParamValAfter(file, version.empty() ? 0 : FindVersionMarker(file, version), group, idName,
                            rule);
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
