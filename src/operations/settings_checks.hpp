// What a settings file says against the version base: where it breaks the version's
// rules, what it changed from the defaults, and how it differs from another file.
// Every parameter is visited as the parameter walk gives it (groups, then each group's
// full list, in the base's order) and read as the window reads a settings text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ravlet {

struct CheckFinding {
    enum class Kind {
        MissingKey,    // a parameter of the version the file lacks
        NotAllowed,    // a value outside the parameter's allowed values
        UnknownGroup,  // a header line the version does not list
        UnknownKey,    // a key line of a listed group whose full list lacks it
    };
    Kind kind;
    std::string group;                 // the base's header; for UnknownGroup the file's
    std::string key;                   // "" for UnknownGroup
    std::string value;                 // NotAllowed: the value found
    std::vector<std::string> allowed;  // NotAllowed: the allowed values
};

// First every parameter of `version` that `iniText` lacks or holds with a value the
// value spec does not allow (a switch allows exactly "0" and "1", a choice list its
// items, an empty spec anything); then, in file order, the file's header lines the
// version does not list and its key lines (a line with "=", not a comment) in a listed
// group whose full list lacks the name. Names compare case-insensitively; the lines
// before the first header are not checked.
std::vector<CheckFinding> CheckSettings(std::string_view base, std::string_view version,
                                        std::string_view iniText);

struct ParameterValue {
    std::string group;
    std::string key;
    std::string value;
};

// The parameters `iniText` holds with a value other than the default the fill from
// base defaults would write.
std::vector<ParameterValue> ChangedFromDefaults(std::string_view base, std::string_view version,
                                                std::string_view iniText);

struct ValueDifference {
    std::string group;
    std::string key;
    std::optional<std::string> before;  // nullopt: the key is absent
    std::optional<std::string> after;
};

// The parameters whose value in `before` differs from that in `after`, an absent key
// counting as a value of its own.
std::vector<ValueDifference> DiffSettings(std::string_view base, std::string_view version,
                                          std::string_view before, std::string_view after);

}  // namespace ravlet
