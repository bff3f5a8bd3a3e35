// Deterministic generated texts for the benchmarks: a version base and settings files
// of a chosen size, Windows-1251 bytes with CR LF lines, shaped like the real ones.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ravlet::bench {

// A fixed linear congruential generator: the same texts on every machine and library.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed * 2654435761u + 1) {}
    std::uint32_t Next() {
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::uint32_t>(state_ >> 33);
    }
    std::size_t Below(std::size_t n) { return Next() % n; }

private:
    std::uint64_t state_;
};

// `utf8` as Windows-1251 bytes; throws std::logic_error outside that code page.
std::string Cp1251(std::string_view utf8);

// Appends exactly `n` bytes of Russian words (Windows-1251) separated by spaces; none
// holds ";", "=", "[" or a control character.
void AppendFiller(std::string& out, Rng& rng, std::size_t n);

struct Param {
    std::string key;                   // e.g. "Opt51919": version, group and index in the name
    std::string spec;                  // the value spec of its parameter line
    std::vector<std::string> choices;  // the values a settings file may hold for it
    bool advanced = false;             // a "-" line (full list only)
    bool generalHint = false;          // described by a ":" + key line instead of group:key
};

struct BaseShape {
    int versions = 5;
    int groups = 20;
    int paramsPerGroup = 20;   // 5 x 20 x 20 = 2,000 parameter lines
    std::size_t bytes = 1 << 20;  // padded with comment lines up to exactly this size
};

struct GeneratedBase {
    std::string text;
    std::vector<std::string> versions;  // version names, in file order
    std::vector<std::string> support;   // a settings file's TARVEN value per version
    std::vector<std::string> groups;    // headers with brackets; every record has them all
    // params[v][g][i]: the parameters of version v, group g, in text order.
    std::vector<std::vector<std::vector<Param>>> params;
};

// A leading comment line, the descriptions section (a line per group:key; every tenth
// key has a general ":" + key line instead), an empty line, then the version records:
// "TARVEN=" + name, "SUPPORT=...", the groups with their "+"/"-" lines, each parameter
// followed by comment lines that pad the text to `shape.bytes` exactly. Every record
// has the same group headers, so each record's first group repeats one of the record
// before it. Throws std::invalid_argument when the shape does not fit in that size.
GeneratedBase GenerateBase(const BaseShape& shape);

// A settings file of exactly `bytes` bytes for `version` of `base`: a comment line,
// the TARVEN line, then every group of the version with all its keys (values drawn
// from their choices by `seed`), padded with comment lines. Throws
// std::invalid_argument when the keys alone do not fit in that size.
std::string GenerateSettings(const GeneratedBase& base, int version, std::size_t bytes,
                             std::uint32_t seed);

}  // namespace ravlet::bench
