// Names and the header of the recovery copies of in-place saves, and the mark that
// names a copy on its file.
#include "textengine/recovery_copy.hpp"

#include <cinttypes>
#include <cstdint>
#include <cstdio>

namespace ravlet {
namespace {

constexpr std::string_view kSuffix = ".ravlet-recovery";
// Well below the 255 bytes most file systems allow in a name.
constexpr std::size_t kLongestName = 200;

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

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

std::string HeaderText(const CopyHeader& h) {
    char line[kHeaderSize + 1];
    std::snprintf(line, sizeof line,
                  "%s %016" PRIx64 " %016" PRIx64 " %016" PRIx64 " %016" PRIx64 " %016" PRIx64 "\n",
                  std::string(kMagic).c_str(), h.volume, h.index, h.token, h.size, h.checksum);
    return std::string(line, kHeaderSize);
}

std::optional<CopyHeader> ParseHeader(std::string_view line) {
    if (line.size() != kHeaderSize || !line.starts_with(kMagic) || line.back() != '\n')
        return std::nullopt;
    CopyHeader h;
    std::uint64_t* fields[] = {&h.volume, &h.index, &h.token, &h.size, &h.checksum};
    std::size_t at = kMagic.size();
    for (std::uint64_t* field : fields) {
        if (line[at] != ' ') return std::nullopt;
        *field = 0;
        for (std::size_t i = at + 1; i < at + 17; ++i) {
            const int digit = HexDigit(line[i]);
            if (digit < 0) return std::nullopt;
            *field = *field << 4 | static_cast<std::uint64_t>(digit);
        }
        at += 17;
    }
    return h;
}

void Checksum::Add(std::string_view bytes) {
    for (const char c : bytes) {
        value ^= static_cast<unsigned char>(c);
        value *= 1099511628211ull;
    }
}

std::string MarkValue(std::uint64_t token, const std::string& copyPath) {
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016" PRIx64, token);
    return std::string(hex) + " " + copyPath;
}

std::optional<MarkFields> ParseMark(const std::string& value) {
    if (value.size() < 18 || value[16] != ' ') return std::nullopt;
    MarkFields fields;
    for (std::size_t i = 0; i < 16; ++i) {
        const int digit = HexDigit(value[i]);
        if (digit < 0) return std::nullopt;
        fields.token = fields.token << 4 | static_cast<std::uint64_t>(digit);
    }
    fields.copyPath = value.substr(17);
    return fields;
}

}  // namespace ravlet
