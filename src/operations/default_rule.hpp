// The default value of a parameter's value spec.
#pragma once

#include <string>
#include <string_view>

namespace ravlet {

// The text after the first "@" up to the next ","; without "@" the first item; for a
// switch's value spec ("!" first) the text after the "!". "" when there is nothing there.
std::string DefaultOf(std::string_view spec);

}  // namespace ravlet
