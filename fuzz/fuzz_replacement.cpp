// Value replacement: the text either stays as it was or changes only between the
// key's "=" and the end of its old value.
#include <cstdlib>
#include <string>

#include "fuzz_input.hpp"
#include "textengine/value_replacement.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto in = ravlet::fuzz::Split(data, size, 4);
    std::string text(in[0]);
    std::string value(in[3]);
    bool changed = false;
    try {
        changed = ravlet::PutParamVal(text, in[1], in[2], value);
    } catch (const ravlet::InvalidValue&) {
        if (text != in[0]) std::abort();  // refused values leave the text alone
        return 0;
    }
    if (!changed) {
        if (text != in[0]) std::abort();
        return 0;
    }
    // Some "=" at S: the text up to it unchanged, then the value and one space, then
    // the old text from the end of the old value on.
    const std::string_view before = in[0];
    const std::string_view after = text;
    const std::string inserted = value + " ";
    if (after.size() < inserted.size()) std::abort();
    std::size_t common = 0;
    while (common < before.size() && common < after.size() && before[common] == after[common])
        ++common;
    for (std::size_t s = 1; s <= common && s <= before.size(); ++s) {
        if (before[s - 1] != '=') continue;
        if (after.substr(s, inserted.size()) != inserted) continue;
        const std::size_t tail = after.size() - s - inserted.size();
        if (tail > before.size() - s) continue;
        const std::size_t e = before.size() - tail;
        if (after.substr(s + inserted.size()) != before.substr(e)) continue;
        bool oldValueClean = true;
        for (std::size_t k = s; k < e; ++k) {
            const auto c = static_cast<unsigned char>(before[k]);
            if (c == ';' || c < 32) oldValueClean = false;
        }
        const bool ends =
            e == before.size() || before[e] == ';' || static_cast<unsigned char>(before[e]) < 32;
        if (oldValueClean && ends) return 0;
    }
    std::abort();
}
