// PutParamVal: rewrites one key's value in place.
#include "textengine/value_replacement.hpp"

#include <algorithm>

#include "textengine/key_lookup.hpp"

namespace ravlet {

void PrepareValue(std::string& value) {
    if (const auto refused = FirstRefused(std::string_view(value))) throw InvalidValue(*refused);
    TranslateSwitchWord(value);
}

void TranslateSwitchWord(std::string& value) {
    if (value == "OFF") value = "0";
    if (value == "ON") value = "1";
}

bool PutParamVal(std::string& iniText, std::string_view group, std::string_view idName,
                 std::string& value) {
    return WriteParamVal(iniText, group, idName, value).has_value();
}

std::optional<TextEdit> WriteParamVal(std::string& iniText, std::string_view group,
                                      std::string_view idName, std::string& value) {
    PrepareValue(value);

    // A key is rewritten only where a settings file's key line begins.
    const auto hit = FindKeyAfter(iniText, 0, group, idName, KeyRule::Settings);
    if (!hit) return std::nullopt;
    const std::size_t start = hit->valueStart;
    const std::size_t end = hit->valueEnd;
    TextEdit edit{start - 1, value.size() + 1, iniText.substr(start - 1, end - start)};
    // Edited in place: the tail after the value moves once, then the value and its
    // one space are written into the gap.
    iniText.replace(start - 1, end - start, value.size() + 1, ' ');
    std::copy(value.begin(), value.end(), iniText.begin() + static_cast<std::ptrdiff_t>(start - 1));
    return edit;
}

}  // namespace ravlet
