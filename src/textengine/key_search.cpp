// The search steps of key_search.hpp: key assignments, version markers, header lines,
// group and value ends.
#include "textengine/key_search.hpp"

#include <algorithm>
#include <cstring>

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
        const std::size_t eq =
            static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
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
    for (std::size_t at = InStr(start, text, header, mode); at != 0;
         at = InStr(at + 1, text, header, mode)) {
        if (StartsLine(text, at)) return at;
    }
    return 0;
}

std::size_t GroupEnd(std::string_view text, std::size_t pos) {
    return InStr(pos + 1, text, "\n[", Compare::Exact);
}

}  // namespace ravlet
