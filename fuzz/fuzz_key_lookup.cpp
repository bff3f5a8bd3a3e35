// Key lookup: any text, version, group and key; the value never holds a comment, a
// line break or surrounding spaces.
#include <cstdlib>

#include "fuzz_input.hpp"
#include "textengine/key_lookup.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto in = ravlet::fuzz::Split(data, size, 4);
    const std::string value = ravlet::GetParamVal(in[0], in[1], in[2], in[3]);
    for (char c : value) {
        if (c == ';' || static_cast<unsigned char>(c) < 32) std::abort();
    }
    if (!value.empty() && (value.front() == ' ' || value.back() == ' ')) std::abort();
    return 0;
}
