// PutParamVal: rewrites one key's value in place.
#include "textengine/value_replacement.hpp"

#include <algorithm>

#include "textengine/key_search.hpp"

namespace ravlet {

void PrepareValue(std::string& value) {
    // A CR or LF in a value would split the file's lines, and a ';' would start a
    // comment: the value read back would be cut there.
    for (char c : value) {
        if (static_cast<unsigned char>(c) < 32) {
            throw InvalidValue("a value cannot hold a control character");
        }
        if (c == ';') throw InvalidValue("a value cannot hold ';'");
    }
    if (value == "OFF") value = "0";
    if (value == "ON") value = "1";
}

bool PutParamVal(std::string& iniText, std::string_view group, std::string_view idName,
                 std::string& value) {
    PrepareValue(value);

    std::size_t p = 0;
    std::size_t groupEnd = 0;
    if (!group.empty()) {
        p = FindHeaderLine(iniText, 1, group, Compare::Text);
        if (p == 0) return false;  // an absent group is not another group's licence
        groupEnd = GroupEnd(iniText, p);
    }
    for (;;) {
        p = FindKeyAssignment(iniText, p + 1, idName, groupEnd);
        if (p == 0) return false;
        // In a settings file a key starts its line; no leading character is skipped.
        if (p == 1 || static_cast<unsigned char>(iniText[p - 2]) < 32) break;
    }
    const std::size_t start = p + idName.size() + 1;
    const std::size_t end = ValueEnd(iniText, start);
    // Edited in place: the tail after the value moves once, then the value and its
    // one space are written into the gap.
    iniText.replace(start - 1, end - start, value.size() + 1, ' ');
    std::copy(value.begin(), value.end(), iniText.begin() + static_cast<std::ptrdiff_t>(start - 1));
    return true;
}

}  // namespace ravlet
