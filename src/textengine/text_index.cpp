// One-pass indexes over a text.
#include "textengine/text_index.hpp"

#include <algorithm>

#include "textengine/codepage.hpp"
#include "textengine/key_search.hpp"

namespace ravlet {
namespace {

bool IsControl(char c) { return static_cast<unsigned char>(c) < 32; }

}  // namespace

std::size_t FoldedHash::operator()(std::string_view s) const {
    std::size_t h = 14695981039346656037ull;
    for (char c : s) h = (h ^ FoldCp1251(static_cast<unsigned char>(c))) * 1099511628211ull;
    return h;
}

bool IndexableHeader(std::string_view header) {
    if (header.size() < 2 || header.front() != '[' || header.back() != ']') return false;
    for (char c : header.substr(0, header.size() - 1)) {
        if (c == ']' || IsControl(c)) return false;
    }
    return true;
}

bool IndexableName(std::string_view name) {
    if (name.empty()) return false;
    for (char c : name) {
        if (c == '=' || IsControl(c)) return false;
    }
    return true;
}

HeaderIndex::HeaderIndex(std::string_view text, std::size_t from, Compare mode) : mode_(mode) {
    // At a line start where a header matches, the text up to the first "]" is the
    // header itself (a header holds no other "]"), so that text is the key.
    for (std::size_t i = from == 0 ? 0 : from - 1; i < text.size(); ++i) {
        if (text[i] != '[' || !StartsLine(text, i + 1)) continue;
        std::size_t k = i + 1;
        while (k < text.size() && text[k] != ']' && !IsControl(text[k])) ++k;
        if (k == text.size() || text[k] != ']') continue;
        const std::string_view header = text.substr(i, k - i + 1);
        if (mode_ == Compare::Text) {
            folded_.emplace(header, i + 1);
        } else {
            exact_.emplace(header, i + 1);
        }
    }
}

std::size_t HeaderIndex::Find(std::string_view header) const {
    if (mode_ == Compare::Text) {
        const auto it = folded_.find(header);
        return it == folded_.end() ? 0 : it->second;
    }
    const auto it = exact_.find(header);
    return it == exact_.end() ? 0 : it->second;
}

KeyIndex::KeyIndex(std::string_view text, std::size_t first, std::size_t last, KeyRule rule)
    : text_(text) {
    const std::size_t end = last == 0 || last > text.size() ? text.size() : last;
    for (std::size_t i = first == 0 ? 0 : first - 1; i < end; ++i) {
        if (!KeyLineAccepted(text, i + 1, rule)) continue;
        // A name without "=" or control characters ends at the first "=" after it.
        std::size_t eq = i;
        while (eq < text.size() && text[eq] != '=' && !IsControl(text[eq])) ++eq;
        if (eq == i || eq == text.size() || text[eq] != '=') continue;
        entries_.push_back({FoldedHash{}(text.substr(i, eq - i)), i + 1, eq - i});
    }
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const Entry& a, const Entry& b) { return a.hash < b.hash; });
}

std::optional<KeyHit> KeyIndex::Find(std::string_view name) const {
    const std::size_t hash = FoldedHash{}(name);
    auto it = std::lower_bound(entries_.begin(), entries_.end(), hash,
                               [](const Entry& e, std::size_t h) { return e.hash < h; });
    // The first of the same hash whose name really is `name`: the first in the text.
    for (; it != entries_.end() && it->hash == hash; ++it) {
        if (it->length != name.size() || !TextEquals(text_.substr(it->pos - 1, it->length), name))
            continue;
        const std::size_t start = it->pos + name.size() + 1;
        return KeyHit{it->pos, start, ValueEnd(text_, start)};
    }
    return std::nullopt;
}

LookupIndex::LookupIndex(std::string_view text, std::size_t markerPos, KeyRule rule)
    : text_(text), marker_(markerPos), rule_(rule) {}

const KeyIndex& LookupIndex::KeysAfter(std::size_t headerPos) {
    auto it = groups_.find(headerPos);
    if (it == groups_.end()) {
        // No group: from after the marker to the end; a group: from after its header
        // up to the line break before the next line beginning with "[".
        const std::size_t first = headerPos == 0 ? marker_ + 1 : headerPos + 1;
        const std::size_t last = headerPos == 0 ? 0 : GroupEnd(text_, headerPos);
        it = groups_.emplace(headerPos, KeyIndex(text_, first, last, rule_)).first;
    }
    return it->second;
}

std::optional<KeyHit> LookupIndex::Find(std::string_view group, std::string_view idName) {
    if (!IndexableName(idName) || (!group.empty() && !IndexableHeader(group))) {
        return FindKeyAfter(text_, marker_, group, idName, rule_);
    }
    std::size_t headerPos = 0;
    if (!group.empty()) {
        if (!headers_) headers_.emplace(text_, marker_ + 1, Compare::Text);
        headerPos = headers_->Find(group);
        if (headerPos == 0) return std::nullopt;
    }
    return KeysAfter(headerPos).Find(idName);
}

std::string LookupIndex::Get(std::string_view group, std::string_view idName) {
    const auto hit = Find(group, idName);
    return hit ? std::string(Value(*hit)) : std::string();
}

}  // namespace ravlet
