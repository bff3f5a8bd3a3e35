// A text edit that swaps back.
#include "textengine/text_edit.hpp"

#include <algorithm>
#include <stdexcept>

namespace ravlet {

void TextEdit::Swap(std::string& text) {
    if (offset > text.size() || length > text.size() - offset) {
        throw std::out_of_range("the edit lies past the end of the text");
    }
    std::string replaced = text.substr(offset, length);
    text.replace(offset, length, held);
    length = held.size();
    held = std::move(replaced);
}

std::optional<TextEdit> EditBetween(std::string_view before, std::string_view after) {
    const std::size_t shorter = std::min(before.size(), after.size());
    const std::size_t head = static_cast<std::size_t>(
        std::mismatch(before.begin(), before.begin() + static_cast<std::ptrdiff_t>(shorter),
                      after.begin())
            .first -
        before.begin());
    if (head == before.size() && head == after.size()) return std::nullopt;
    // The common end may not reach into the common start.
    const std::size_t room = shorter - head;
    const std::size_t tail = static_cast<std::size_t>(
        std::mismatch(before.rbegin(), before.rbegin() + static_cast<std::ptrdiff_t>(room),
                      after.rbegin())
            .first -
        before.rbegin());
    return TextEdit{head, after.size() - head - tail,
                    std::string(before.substr(head, before.size() - head - tail))};
}

}  // namespace ravlet
