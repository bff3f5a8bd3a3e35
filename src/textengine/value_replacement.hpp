// PutParamVal: the writer of one key value in the settings text (ValueEdits writes
// many in one pass, to the same rule).
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace ravlet {

// A value that cannot be written (it holds a control character or ';').
class InvalidValue : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

// `value` as a replacement stores it: "OFF" becomes "0" and "ON" becomes "1". Throws
// InvalidValue, `value` unchanged, when it holds a character below 32 or ';'.
void PrepareValue(std::string& value);

// Rewrites the value of `idName` in `iniText`: the text between "=" and the ';' or
// line end becomes `value` followed by one space. The key must start its line (the
// start of the text counts); with `group` given only its group is searched (the first
// line beginning with that header, up to the next line beginning with "["), and a
// group that is not found changes nothing.
// `value` "OFF" becomes "0" and "ON" becomes "1", also in the caller's variable.
// Returns false and changes nothing when the key is not found. Throws InvalidValue,
// text unchanged, when `value` holds a character below 32 or ';'.
bool PutParamVal(std::string& iniText, std::string_view group, std::string_view idName,
                 std::string& value);

}  // namespace ravlet
