// Batched value replacement.
#include "textengine/value_edits.hpp"

#include <algorithm>

#include "textengine/value_replacement.hpp"

namespace ravlet {

ValueEdits::ValueEdits(std::string_view iniText)
    : text_(iniText), keys_(iniText, 0, KeyRule::Settings) {}

bool ValueEdits::Put(std::string_view group, std::string_view idName, std::string& value) {
    PrepareValue(value);
    const auto hit = keys_.Find(group, idName);
    if (!hit) return false;
    edits_.push_back(Edit{hit->keyPos, hit->valueStart, hit->valueEnd, value});
    return true;
}

std::string ValueEdits::Apply() const {
    // In text order; of several edits of one key the last made wins.
    std::vector<const Edit*> order;
    order.reserve(edits_.size());
    for (const Edit& edit : edits_) order.push_back(&edit);
    std::stable_sort(order.begin(), order.end(),
                     [](const Edit* a, const Edit* b) { return a->keyPos < b->keyPos; });
    std::string out;
    std::size_t grown = 0;
    for (const Edit* edit : order) grown += edit->value.size() + 1;
    out.reserve(text_.size() + grown);
    std::size_t copied = 0;  // 0-based: text before it is in `out`
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (i + 1 < order.size() && order[i + 1]->keyPos == order[i]->keyPos) continue;
        const Edit& edit = *order[i];
        out.append(text_, copied, edit.valueStart - 1 - copied);
        out += edit.value;
        out += ' ';
        copied = edit.valueEnd - 1;
    }
    out.append(text_, copied);
    return out;
}

}  // namespace ravlet
