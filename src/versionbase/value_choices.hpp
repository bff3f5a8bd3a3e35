// The values a parameter offers, which of them to select, and its hint.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ravlet {

struct ValueChoices {
    std::vector<std::string> items;  // never empty
    int selected;                    // index into items
};

// The items of a choice list's value spec: its comma-separated fields, one leading "@"
// dropped from each, nothing trimmed (an empty spec gives one empty item).
std::vector<std::string> ChoiceItems(std::string_view spec);

// The choices of the value spec `spec` with `current` selected. A switch's value spec
// ("!" first) offers OFF and ON, chosen by the current value's first character;
// a current value not beginning with 0 or 1 is offered alone. A choice list offers
// its comma-separated items (one leading "@" dropped, nothing trimmed); a current
// value matching no item (exactly) is offered alone.
ValueChoices ChoicesOf(std::string_view spec, std::string_view current);

// ChoicesOf for a parameter: its value spec read from `base` within the version's
// record and group, its current value from `iniText` in that group (a key line
// there starts its line).
ValueChoices ListValues(std::string_view base, std::string_view iniText, std::string_view version,
                        std::string_view group, std::string_view key);

// The hint of `key` in `group` (a header with brackets) from the descriptions
// section: the group's own description line, else the general one (":" + key),
// else "".
std::string ParameterHint(std::string_view base, std::string_view group, std::string_view key);

// The two description keys ParameterHint looks up in the descriptions section, in
// order: the group's own ("Video:Scale") and the general one (":Scale").
std::pair<std::string, std::string> HintKeys(std::string_view group, std::string_view key);

}  // namespace ravlet
