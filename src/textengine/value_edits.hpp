// Many replacements in one settings text: each key found in the unchanged text
// through an index, and the new text built once at the end. Gives exactly what one
// PutParamVal per edit, in the same order, would make of the text: an edit changes only
// the value between "=" and the ";" or line end, so it moves no key line and the keys
// found in the unchanged text are the keys PutParamVal would find; the last edit of a
// key wins.
#pragma once

#include <cstddef>
#include <string>
#include <vector>
#include <string_view>

#include "textengine/text_index.hpp"

namespace ravlet {

class ValueEdits {
public:
    // `iniText` must outlive this object and stay unchanged while it is used.
    explicit ValueEdits(std::string_view iniText);

    // As PutParamVal: records the new value of `idName` in `group` ("" for none) and
    // returns true, or returns false when the key is not found. `value` is checked and
    // translated ("OFF" to "0", "ON" to "1") in the caller's variable; throws
    // InvalidValue, nothing recorded, when it cannot be stored.
    bool Put(std::string_view group, std::string_view idName, std::string& value);

    // The value of `idName` in `group` in the unchanged text, as GetParamVal reads a
    // settings text.
    std::string Get(std::string_view group, std::string_view idName) {
        return keys_.Get(group, idName);
    }

    bool Empty() const { return edits_.empty(); }

    // The text with every recorded value written, followed by one space.
    std::string Apply() const;

private:
    struct Edit {
        std::size_t keyPos;
        std::size_t valueStart;
        std::size_t valueEnd;
        std::string value;
    };

    std::string_view text_;
    LookupIndex keys_;
    std::vector<Edit> edits_;  // in the order made
};

}  // namespace ravlet
