// The default rule of a value spec.
#include "operations/default_rule.hpp"

namespace ravlet {

std::string DefaultOf(std::string_view spec) {
    std::string s(spec);
    if (!s.empty() && s.front() == '!') s.front() = '@';
    s += ',';
    const std::size_t mark = s.find('@');
    const std::size_t a = mark == std::string::npos ? 0 : mark + 1;
    const std::size_t b = s.find(',', a);  // the appended "," guarantees one
    return s.substr(a, b - a);
}

}  // namespace ravlet
