// Indexes that answer many lookups in one text after a single pass over it: where a
// group header line first stands, and where each key line of a range first stands.
// They give exactly what the one-at-a-time searches of key_search.hpp and
// key_lookup.hpp give, for the names and headers they accept (Indexable*); other
// questions go to those searches. The indexes point into the text, which must
// outlive them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "textengine/key_lookup.hpp"
#include "textengine/text_search.hpp"

namespace ravlet {

// Hashing and equality of names under case folding (Compare::Text).
struct FoldedHash {
    std::size_t operator()(std::string_view s) const;
};
struct FoldedEqual {
    bool operator()(std::string_view a, std::string_view b) const { return TextEquals(a, b); }
};

// True for a header an index can answer: "[", then no "]" and no control character,
// then "]" at the end. Every header the group listing gives has this shape.
bool IndexableHeader(std::string_view header);

// True for a key name an index can answer: not empty, no "=" and no control character.
bool IndexableName(std::string_view name);

// The first line-start position at or after `from` of each header, as FindHeaderLine
// would find it for an indexable header.
class HeaderIndex {
public:
    HeaderIndex(std::string_view text, std::size_t from, Compare mode);
    // 1-based position of the header line, 0 when none.
    std::size_t Find(std::string_view header) const;

private:
    Compare mode_;
    std::unordered_map<std::string_view, std::size_t, FoldedHash, FoldedEqual> folded_;
    std::unordered_map<std::string_view, std::size_t> exact_;
};

// The first accepted key line of each name with its position in `first` .. `last`
// (`last` 0: to the end of the text), as FindKeyAssignment from `first` with `last`
// and the acceptance of `rule` would find it for an indexable name.
class KeyIndex {
public:
    KeyIndex(std::string_view text, std::size_t first, std::size_t last, KeyRule rule);
    // The key line of `name`, or nullopt.
    std::optional<KeyHit> Find(std::string_view name) const;

private:
    // A key line: the hash of its folded name, where it stands and how long the name is.
    // Kept sorted by hash and, within one hash, by position: a settings text has a key
    // line per line, and this is a few times smaller than a hash map's nodes.
    struct Entry {
        std::size_t hash;
        std::size_t pos;
        std::size_t length;
    };
    std::string_view text_;
    std::vector<Entry> entries_;
};

// Many lookups in one text after one version marker: what FindKeyAfter and
// GetParamValAfter give, with each group's key lines indexed the first time the group
// is asked for. Questions an index cannot answer are searched for directly.
class LookupIndex {
public:
    LookupIndex(std::string_view text, std::size_t markerPos, KeyRule rule);

    std::optional<KeyHit> Find(std::string_view group, std::string_view idName);
    std::string Get(std::string_view group, std::string_view idName);
    // The value of a key line this index found, trimmed of spaces.
    std::string_view Value(const KeyHit& hit) const { return ValueAt(text_, hit); }

private:
    const KeyIndex& KeysAfter(std::size_t headerPos);

    std::string_view text_;
    std::size_t marker_;
    KeyRule rule_;
    std::optional<HeaderIndex> headers_;
    std::unordered_map<std::size_t, KeyIndex> groups_;  // by header position; 0: no group
};

}  // namespace ravlet
