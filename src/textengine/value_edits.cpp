// Batched value replacement.
#include "textengine/value_edits.hpp"

#include "textengine/value_replacement.hpp"

namespace ravlet {

ValueEdits::ValueEdits(std::string_view iniText) : text_(iniText), keys_(iniText, 0, KeyRule::Settings) {}

bool ValueEdits::Put(std::string_view group, std::string_view idName, std::string& value) {
    PrepareValue(value);
    const auto hit = keys_.Find(group, idName);
    if (!hit) return false;
    edits_.insert_or_assign(hit->keyPos, Edit{hit->valueStart, hit->valueEnd, value});
    return true;
}

std::string ValueEdits::Apply() const {
    std::string out;
    std::size_t grown = 0;
    for (const auto& [pos, edit] : edits_) grown += edit.value.size() + 1;
    out.reserve(text_.size() + grown);
    std::size_t copied = 0;  // 0-based: text before it is in `out`
    for (const auto& [pos, edit] : edits_) {
        out.append(text_, copied, edit.valueStart - 1 - copied);
        out += edit.value;
        out += ' ';
        copied = edit.valueEnd - 1;
    }
    out.append(text_, copied);
    return out;
}

}  // namespace ravlet
