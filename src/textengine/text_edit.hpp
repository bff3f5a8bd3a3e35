// One change of a text, kept so that it can be taken back and made again: the bytes
// it replaced, where, and how long its own bytes are.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ravlet {

// At `offset` the text holds `length` bytes where `held` stood. Swap exchanges the two,
// so the same edit undoes and then redoes the change.
struct TextEdit {
    std::size_t offset = 0;
    std::size_t length = 0;
    std::string held;

    // Puts `held` back at `offset` and keeps the `length` bytes it replaces in `held`.
    // Throws std::out_of_range, `text` unchanged, when the span lies past its end.
    void Swap(std::string& text);
};

// The one span where `after` differs from `before`, their common start and end left
// out, as the edit made on `before`; nullopt when the texts are equal. Reads each text
// once, as memcmp would.
std::optional<TextEdit> EditBetween(std::string_view before, std::string_view after);

}  // namespace ravlet
