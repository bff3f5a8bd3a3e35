// The straightforward form of the version listing, the detection and the two bulk
// operations: one lookup per question, from the start of the text, as the rules read.
// The optimised walks must give exactly what these give.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "operations/default_rule.hpp"
#include "operations/transfer.hpp"
#include "textengine/key_lookup.hpp"
#include "textengine/key_search.hpp"
#include "textengine/text_search.hpp"
#include "textengine/value_replacement.hpp"
#include "versionbase/catalogue.hpp"
#include "versionbase/version_list.hpp"

namespace ravlet::reference {

// Every TARVEN key line in turn, each listed name's marker text then removed from a
// working copy of the whole base.
inline std::vector<std::string> ListVersions(std::string_view base) {
    std::vector<std::string> names;
    std::string work(base);
    for (;;) {
        const auto hit = FindKey(work, "", "", "TARVEN");
        if (!hit) break;
        const std::string name(TrimSpaces(
            std::string_view(work).substr(hit->valueStart - 1, hit->valueEnd - hit->valueStart)));
        if (name.empty()) break;
        const std::string marker = "TARVEN=" + name;
        if (work.compare(hit->keyPos - 1, marker.size(), marker) != 0) {
            work[hit->keyPos - 1 + 6] = '\x01';  // not an exact marker: passed over
            continue;
        }
        if (InStr(1, base, marker, Compare::Exact) != 0) names.push_back(name);
        for (std::size_t at = work.find(marker); at != std::string::npos;
             at = work.find(marker, at)) {
            work.erase(at, marker.size());
        }
    }
    return names;
}

inline Detection DetectVersion(std::string_view iniText, std::string_view base,
                               const std::vector<std::string>& versions) {
    const std::string own = GetParamVal(iniText, "", "", "TARVEN", KeyRule::Settings);
    if (own.empty()) return {static_cast<int>(versions.size()) - 1, false};
    for (std::size_t i = 0; i < versions.size(); ++i) {
        const std::string support = GetParamVal(base, versions[i], "", "SUPPORT");
        if (InStr(1, support, own, Compare::Exact) != 0) return {static_cast<int>(i), true};
    }
    return {static_cast<int>(versions.size()) - 1, false};
}

inline std::string FillFromDefaults(std::string_view base, std::string_view version,
                                    std::string ini) {
    for (const std::string& group : ListGroups(base, version)) {
        for (const std::string& key : ListParameters(base, version, group, true)) {
            std::string value = DefaultOf(GetParamVal(base, version, group, key));
            PutParamVal(ini, group, key, value);
        }
    }
    return ini;
}

inline TransferResult TransferValues(std::string_view base, std::string_view oldText,
                                     std::string& ini) {
    TransferResult result;
    result.report = TransferReportHeading();
    std::size_t p = FindHeaderLine(base, 1, "[DESCRIPTIONS]", Compare::Text);
    if (p == 0) {
        result.failure = TransferStop{TransferStop::Kind::NoDescriptions, {}};
        return result;
    }
    for (;;) {
        const std::size_t r = InStr(p, base, "\n", Compare::Exact);
        if (r == 0) break;
        p = r + 1;
        const std::size_t e = InStr(p, base, "=", Compare::Exact);
        if (p > base.size() || static_cast<unsigned char>(base[p - 1]) < 32 || e == 0) break;
        if (base[p - 1] == ';') continue;
        const std::string_view key = base.substr(p - 1, e - p);
        const std::size_t colon = key.find(':');
        if (colon == std::string_view::npos) {
            result.failure = TransferStop{TransferStop::Kind::LineWithoutColon, {}};
            return result;
        }
        std::string group = "[" + std::string(key.substr(0, colon)) + "]";
        if (group == "[]") group.clear();
        const std::string name(key.substr(colon + 1));
        std::string old = GetParamVal(oldText, "", group, name, KeyRule::Settings);
        if (!old.empty() && !GetParamVal(ini, "", group, name, KeyRule::Settings).empty()) {
            try {
                PutParamVal(ini, group, name, old);
            } catch (const InvalidValue&) {
                result.failure = TransferStop{TransferStop::Kind::ValueRefused, {}};
                return result;
            }
            result.report += "\r\n" + group + name + "=" + old;
            ++result.carried;
        }
    }
    return result;
}

}  // namespace ravlet::reference
