// The bulk operations over any base and settings texts: the fill from base defaults
// for every listed version, and the transfer walk.
#include <algorithm>
#include <cstdlib>

#include "fuzz_input.hpp"
#include "operations/transfer.hpp"
#include "operations/fill_defaults.hpp"
#include "textengine/value_rule.hpp"
#include "versionbase/version_list.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto in = ravlet::fuzz::Split(data, size, 3);
    const std::string_view base = in[0];
    for (const auto& v : ravlet::ListVersions(base)) {
        std::string filled;
        try {
            filled = ravlet::FillFromDefaults(base, v, std::string(in[1]));
        } catch (const ravlet::InvalidValue&) {
            continue;  // a default the value rule refuses: the fill says so and writes nothing
        }
        // The fill never adds or removes a line break.
        for (char nl : {'\r', '\n'}) {
            if (std::count(filled.begin(), filled.end(), nl) !=
                std::count(in[1].begin(), in[1].end(), nl)) {
                std::abort();
            }
        }
    }
    std::string ini(in[1]);
    const auto result = ravlet::TransferValues(base, in[2], ini);
    if (result.carried < 0) std::abort();
    return 0;
}
