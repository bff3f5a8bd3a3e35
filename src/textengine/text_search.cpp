// Substring search, exact and case-insensitive, without allocating.
#include "textengine/text_search.hpp"

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

}  // namespace

std::size_t InStr(std::size_t start, std::string_view text, std::string_view what, Compare mode) {
    if (start == 0 || start > text.size()) return 0;
    const std::size_t from = start - 1;
    if (mode == Compare::Exact) {
        const std::size_t at = text.find(what, from);
        return at == std::string_view::npos ? 0 : at + 1;
    }
    if (what.size() > text.size() - from) return 0;
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
