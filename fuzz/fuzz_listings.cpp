// Version, group and parameter listings of any base: they end, and every listed
// version's groups and parameters can be listed in turn; the base checks end too, each
// finding at a line of the base.
#include <algorithm>
#include <cstdlib>

#include "fuzz_input.hpp"
#include "textengine/key_search.hpp"
#include "versionbase/base_checks.hpp"
#include "versionbase/catalogue.hpp"
#include "versionbase/version_list.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto in = ravlet::fuzz::Split(data, size, 2);
    const std::string_view base = in[0];
    const auto versions = ravlet::ListVersions(base);
    for (const auto& v : versions) {
        if (v.empty() || ravlet::FindVersionMarker(base, v) == 0)
            std::abort();  // always selectable
        for (const auto& g : ravlet::ListGroups(base, v)) {
            if (g.size() < 2 || g.front() != '[' || g.back() != ']') std::abort();
            const auto shortList = ravlet::ListParameters(base, v, g, false);
            const auto fullList = ravlet::ListParameters(base, v, g, true);
            if (shortList.size() > fullList.size()) std::abort();
        }
    }
    const auto detected = ravlet::DetectVersion(in[1], base, versions);
    if (detected.index < -1 || detected.index >= static_cast<int>(versions.size())) std::abort();
    if (!versions.empty() && detected.index < 0) std::abort();
    const auto lines = static_cast<std::size_t>(std::count(base.begin(), base.end(), '\n')) + 1;
    for (const auto& finding : ravlet::CheckBase(base)) {
        if (finding.line < 1 || finding.line > lines || ravlet::BaseFindingMessage(finding).empty())
            std::abort();
    }
    return 0;
}
