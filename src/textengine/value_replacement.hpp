// PutParamVal: the writer of one key value in the settings text (ValueEdits writes
// many in one pass, to the same rule).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "textengine/text_edit.hpp"
#include "textengine/value_rule.hpp"

namespace ravlet {

// The switch words as a replacement stores them: "OFF" becomes "0" and "ON" becomes "1".
void TranslateSwitchWord(std::string& value);

// `value` as a replacement stores it (TranslateSwitchWord). Throws InvalidValue,
// `value` unchanged, when the value rule refuses one of its characters.
void PrepareValue(std::string& value);

// Rewrites the value of `idName` in `iniText`: the text between "=" and the ';' or
// line end becomes `value` followed by one space. The key must start its line (the
// start of the text counts); with `group` given only its group is searched (the first
// line beginning with that header, up to the next line beginning with "["), and a
// group that is not found changes nothing.
// `value` "OFF" becomes "0" and "ON" becomes "1", also in the caller's variable.
// Returns false and changes nothing when the key is not found. Throws InvalidValue,
// text unchanged, when the value rule refuses one of `value`'s characters.
bool PutParamVal(std::string& iniText, std::string_view group, std::string_view idName,
                 std::string& value);

// PutParamVal, saying what it changed: the edit that takes the write back, or nullopt
// when the key is not found and nothing changed.
std::optional<TextEdit> WriteParamVal(std::string& iniText, std::string_view group,
                                      std::string_view idName, std::string& value);

}  // namespace ravlet
