// Value choices of a parameter and its hint.
#include "versionbase/value_choices.hpp"

#include "textengine/key_lookup.hpp"

namespace ravlet {

std::vector<std::string> ChoiceItems(std::string_view spec) {
    std::vector<std::string> items;
    std::string item;
    const std::string withEnd = std::string(spec) + ",";
    for (char c : withEnd) {
        if (c != ',') {
            item += c;
            continue;
        }
        if (!item.empty() && item.front() == '@') item.erase(0, 1);
        items.push_back(std::move(item));
        item.clear();
    }
    return items;
}

ValueChoices ChoicesOf(std::string_view spec, std::string_view current) {
    ValueChoices choices;
    if (!spec.empty() && spec.front() == '!') {
        // Only the first character of the current value counts ("10" is ON).
        if (!current.empty() && (current.front() == '0' || current.front() == '1')) {
            choices.items = {"OFF", "ON"};
            choices.selected = current.front() - '0';
            return choices;
        }
        choices.items = {std::string(current)};
        choices.selected = 0;
        return choices;
    }
    choices.items = ChoiceItems(spec);
    for (std::size_t i = 0; i < choices.items.size(); ++i) {
        if (choices.items[i] == current) {
            choices.selected = static_cast<int>(i);
            return choices;
        }
    }
    choices.items = {std::string(current)};
    choices.selected = 0;
    return choices;
}

ValueChoices ListValues(std::string_view base, std::string_view iniText, std::string_view version,
                        std::string_view group, std::string_view key) {
    const std::string spec = GetParamVal(base, version, group, key);
    const std::string current = GetParamVal(iniText, "", group, key, KeyRule::Settings);
    return ChoicesOf(spec, current);
}

std::string ParameterHint(std::string_view base, std::string_view group, std::string_view key) {
    constexpr std::string_view kSection = "[DESCRIPTIONS]";
    const auto [own, general] = HintKeys(group, key);
    std::string hint = GetParamVal(base, "", kSection, own);
    if (hint.empty()) hint = GetParamVal(base, "", kSection, general);
    return hint;
}

std::pair<std::string, std::string> HintKeys(std::string_view group, std::string_view key) {
    const std::string_view name =
        group.size() >= 2 ? group.substr(1, group.size() - 2) : std::string_view{};
    std::string general = ":";
    general += key;
    return {std::string(name) + general, general};
}

}  // namespace ravlet
