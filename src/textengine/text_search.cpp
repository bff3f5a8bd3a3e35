// Substring search, exact and case-insensitive, without allocating.
#include "textengine/text_search.hpp"

#include <array>
#include <cstring>

#include "textengine/codepage.hpp"

namespace ravlet {
namespace {

bool EqualFoldedAt(std::string_view text, std::size_t at, std::string_view what) {
    for (std::size_t k = 0; k < what.size(); ++k) {
        if (FoldCp1251(static_cast<unsigned char>(text[at + k])) !=
            FoldCp1251(static_cast<unsigned char>(what[k]))) {
            return false;
        }
    }
    return true;
}

// Bytes that no other byte folds together with: an exact byte search (memchr)
// finds every case-insensitive match of them.
std::array<bool, 256> MakeCaselessTable() {
    std::array<bool, 256> table{};
    for (int b = 0; b < 256; ++b) {
        int partners = 0;
        for (int c = 0; c < 256; ++c) {
            if (FoldCp1251(static_cast<unsigned char>(c)) ==
                FoldCp1251(static_cast<unsigned char>(b)))
                ++partners;
        }
        table[b] = partners == 1;
    }
    return table;
}

const std::array<bool, 256>& Caseless() {
    static const std::array<bool, 256> table = MakeCaselessTable();
    return table;
}

// Case-insensitive search anchored on a caseless byte of `what` (such as "[" or
// "="), so that most of the text is skipped by memchr.
std::size_t FindFoldedAnchored(std::string_view text, std::size_t from, std::string_view what,
                               std::size_t anchor) {
    const char a = what[anchor];
    const std::size_t lastStart = text.size() - what.size();
    std::size_t scan = from + anchor;
    while (scan <= lastStart + anchor) {
        const void* hit = std::memchr(text.data() + scan, a, lastStart + anchor - scan + 1);
        if (hit == nullptr) return std::string_view::npos;
        const std::size_t at =
            static_cast<std::size_t>(static_cast<const char*>(hit) - text.data()) - anchor;
        if (EqualFoldedAt(text, at, what)) return at;
        scan = at + anchor + 1;
    }
    return std::string_view::npos;
}

}  // namespace

std::size_t InStr(std::size_t start, std::string_view text, std::string_view what, Compare mode) {
    if (start == 0 || start > text.size()) return 0;
    const std::size_t from = start - 1;
    if (mode == Compare::Exact) {
        if (what.size() != 2) {
            // The library's search is anchored on the first byte: the "T" of a
            // "TARVEN=" marker, the "[" of a header, rare in these texts.
            const std::size_t at = text.find(what, from);
            return at == std::string_view::npos ? 0 : at + 1;
        }
        // Anchored on the last byte: for LF + "[" that is the rare "[", where the first
        // byte would stop at every line end.
        const std::size_t head = what.size() - 1;
        std::size_t scan = from + head;
        while (scan < text.size()) {
            const void* hit = std::memchr(text.data() + scan, what.back(), text.size() - scan);
            if (hit == nullptr) return 0;
            const std::size_t end =
                static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
            if (std::memcmp(text.data() + end - head, what.data(), head) == 0)
                return end - head + 1;
            scan = end + 1;
        }
        return 0;
    }
    if (what.size() > text.size() - from) return 0;
    const auto& caseless = Caseless();
    for (std::size_t k = 0; k < what.size(); ++k) {
        if (caseless[static_cast<unsigned char>(what[k])]) {
            const std::size_t at = FindFoldedAnchored(text, from, what, k);
            return at == std::string_view::npos ? 0 : at + 1;
        }
    }
    const std::size_t last = text.size() - what.size();
    for (std::size_t at = from; at <= last; ++at) {
        if (EqualFoldedAt(text, at, what)) return at + 1;
    }
    return 0;
}

bool TextEquals(std::string_view a, std::string_view b) {
    return a.size() == b.size() && EqualFoldedAt(a, 0, b);
}

}  // namespace ravlet
