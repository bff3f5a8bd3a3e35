// Names of the recovery copies of in-place saves.
#include "textengine/recovery_copy.hpp"

#include <cstdint>
#include <cstdio>

namespace ravlet {
namespace {

constexpr std::string_view kSuffix = ".ravlet-recovery";
// Well below the 255 bytes most file systems allow in a name.
constexpr std::size_t kLongestName = 200;

}  // namespace

std::string RecoveryLeafInFolder(std::string_view leaf) {
    // Appended, not concatenated to a literal: GCC 12 warns falsely (-Wrestrict) on that.
    std::string name = ".";
    name.append(leaf).append(kSuffix);
    return name;
}

std::string RecoveryLeafInCache(std::string_view fullPath) {
    std::string name;
    for (const char c : fullPath) {
        if (c == '%' || c == '/' || c == '\\' || c == ':') {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned char>(c));
            name += escaped;
        } else {
            name += c;
        }
    }
    if (name.size() + kSuffix.size() > kLongestName) {
        std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
        for (const char c : fullPath) {
            hash ^= static_cast<unsigned char>(c);
            hash *= 1099511628211ull;
        }
        char hex[20];
        std::snprintf(hex, sizeof hex, "%016llx-", static_cast<unsigned long long>(hash));
        // The end of the path holds the file's own name; a cut UTF-8 character there
        // only makes the name less readable.
        name = hex + name.substr(name.size() - (kLongestName - kSuffix.size() - 17));
    }
    return name + std::string(kSuffix);
}

}  // namespace ravlet
