// Splits one fuzz input into the texts a target needs, at a separator line, so that
// seed files can be written by joining real version bases and settings files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace ravlet::fuzz {

inline constexpr std::string_view kSeparator = "\n%%%%\n";

inline std::vector<std::string_view> Split(const std::uint8_t* data, std::size_t size,
                                           std::size_t parts) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> out;
    while (out.size() + 1 < parts) {
        const std::size_t at = rest.find(kSeparator);
        if (at == std::string_view::npos) break;
        out.push_back(rest.substr(0, at));
        rest.remove_prefix(at + kSeparator.size());
    }
    out.push_back(rest);
    while (out.size() < parts) out.emplace_back();
    return out;
}

}  // namespace ravlet::fuzz
