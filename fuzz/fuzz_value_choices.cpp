// Value choices and the default rule of any value spec and current value.
#include <cstdlib>

#include "fuzz_input.hpp"
#include "operations/default_rule.hpp"
#include "versionbase/value_choices.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto in = ravlet::fuzz::Split(data, size, 2);
    const auto choices = ravlet::ChoicesOf(in[0], in[1]);
    if (choices.items.empty()) std::abort();
    if (choices.selected < 0 || choices.selected >= static_cast<int>(choices.items.size()))
        std::abort();
    // The selection always shows the settings text's own value, or its switch state.
    const std::string& shown = choices.items[static_cast<std::size_t>(choices.selected)];
    if (shown != in[1] && shown != "OFF" && shown != "ON") std::abort();
    const std::string def = ravlet::DefaultOf(in[0]);
    if (def.size() > in[0].size() || def.find(',') != std::string::npos) std::abort();
    return 0;
}
