// The settings checks, each one parameter walk plus indexed lookups in the settings
// texts, so each is linear in the sizes of its inputs.
#include "operations/settings_checks.hpp"

#include <unordered_map>
#include <unordered_set>

#include "operations/default_rule.hpp"
#include "operations/parameter_walk.hpp"
#include "textengine/text_index.hpp"
#include "textengine/value_replacement.hpp"
#include "versionbase/value_choices.hpp"

namespace ravlet {
namespace {

std::optional<std::string> ValueOf(LookupIndex& text, std::string_view group,
                                   std::string_view key) {
    const auto hit = text.Find(group, key);
    if (!hit) return std::nullopt;
    return std::string(text.Value(*hit));
}

// The values a value spec allows; nullopt when it allows any.
std::optional<std::vector<std::string>> AllowedValues(const std::string& spec) {
    if (spec.empty()) return std::nullopt;
    if (spec.front() == '!') return std::vector<std::string>{"0", "1"};
    return ChoiceItems(spec);
}

// Calls f(group, key, spec) for every parameter of the version.
template <typename F>
void ForEachParameter(std::string_view base, std::string_view version, F f) {
    ParameterVisitor visit;
    visit.parameter = [&](int, const std::string& group, const std::string& key,
                          const std::string& spec) { f(group, key, spec); };
    WalkParameters(base, version, visit);
}

// The file's own lines after its first header, in order: header lines the version does
// not list, and key lines of a listed group that its full list lacks.
void CheckLines(const std::vector<std::string>& groups,
                const std::vector<std::vector<std::string>>& lists, std::string_view iniText,
                std::vector<CheckFinding>& findings) {
    // Views into `groups` and `lists`, which the caller no longer changes.
    std::unordered_map<std::string_view, std::size_t, FoldedHash, FoldedEqual> listed;
    std::vector<std::unordered_set<std::string_view, FoldedHash, FoldedEqual>> names(groups.size());
    for (std::size_t g = 0; g < groups.size(); ++g) {
        listed.emplace(groups[g], g);
        names[g].insert(lists[g].begin(), lists[g].end());
    }

    bool preamble = true;
    std::optional<std::size_t> current;  // the listed group the lines are in
    for (std::size_t start = 0; start < iniText.size();) {
        const std::size_t lf = iniText.find('\n', start);
        std::string_view line =
            iniText.substr(start, lf == std::string_view::npos ? lf : lf - start);
        start = lf == std::string_view::npos ? iniText.size() : lf + 1;
        if (line.ends_with('\r')) line.remove_suffix(1);

        if (line.starts_with('[')) {
            preamble = false;
            const std::size_t close = line.find(']');
            const std::string_view header =
                close == std::string_view::npos ? line : line.substr(0, close + 1);
            const auto it = listed.find(header);
            current = it == listed.end() ? std::nullopt : std::optional<std::size_t>(it->second);
            if (!current)
                findings.push_back(
                    {CheckFinding::Kind::UnknownGroup, std::string(header), {}, {}, {}});
            continue;
        }
        if (preamble || !current || line.starts_with(';')) continue;
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        const std::string_view name = line.substr(0, eq);
        if (!names[*current].contains(name)) {
            findings.push_back(
                {CheckFinding::Kind::UnknownKey, groups[*current], std::string(name), {}, {}});
        }
    }
}

}  // namespace

std::vector<CheckFinding> CheckSettings(std::string_view base, std::string_view version,
                                        std::string_view iniText) {
    std::vector<CheckFinding> findings;
    LookupIndex ini(iniText, 0, KeyRule::Settings);
    // The groups and full lists are kept for the walk over the file's own lines.
    std::vector<std::string> groups;
    std::vector<std::vector<std::string>> lists;
    ParameterVisitor visit;
    visit.group = [&](int, const std::string& header, const std::vector<std::string>& params) {
        groups.push_back(header);
        lists.push_back(params);
    };
    visit.parameter = [&](int, const std::string& group, const std::string& key,
                          const std::string& spec) {
        const std::optional<std::string> value = ValueOf(ini, group, key);
        if (!value) {
            findings.push_back({CheckFinding::Kind::MissingKey, group, key, {}, {}});
            return;
        }
        auto allowed = AllowedValues(spec);
        if (!allowed) return;
        for (const std::string& item : *allowed) {
            if (item == *value) return;
        }
        findings.push_back(
            {CheckFinding::Kind::NotAllowed, group, key, *value, std::move(*allowed)});
    };
    WalkParameters(base, version, visit);
    CheckLines(groups, lists, iniText, findings);
    return findings;
}

std::vector<ParameterValue> ChangedFromDefaults(std::string_view base, std::string_view version,
                                                std::string_view iniText) {
    std::vector<ParameterValue> changed;
    LookupIndex ini(iniText, 0, KeyRule::Settings);
    ForEachParameter(
        base, version,
        [&](const std::string& group, const std::string& key, const std::string& spec) {
            const std::optional<std::string> value = ValueOf(ini, group, key);
            if (!value) return;
            // As the fill would store it: "ON" and "OFF" become "1" and "0".
            std::string stored = DefaultOf(spec);
            TranslateSwitchWord(stored);
            if (*value != stored) changed.push_back({group, key, *value});
        });
    return changed;
}

std::vector<ValueDifference> DiffSettings(std::string_view base, std::string_view version,
                                          std::string_view before, std::string_view after) {
    std::vector<ValueDifference> differences;
    LookupIndex old(before, 0, KeyRule::Settings);
    LookupIndex now(after, 0, KeyRule::Settings);
    ForEachParameter(base, version,
                     [&](const std::string& group, const std::string& key, const std::string&) {
                         std::optional<std::string> a = ValueOf(old, group, key);
                         std::optional<std::string> b = ValueOf(now, group, key);
                         if (a != b)
                             differences.push_back({group, key, std::move(a), std::move(b)});
                     });
    return differences;
}

}  // namespace ravlet
