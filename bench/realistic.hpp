// Texts shaped like a real installation, growing with a scale factor S: a version base
// of 5 records with 70*S groups, a settings file of the last version and an older one
// of the fourth, for timing the whole commands and the window's actions as the data
// grows. Also a base of many small records, for listing and detecting versions.
#pragma once

#include <string>
#include <vector>

namespace ravlet::bench {

struct RealParam {
    std::string key;
    std::string spec;                  // value spec of its base line, e.g. "1,@2,4"
    std::string fallback;              // the value the fill from defaults writes
    std::vector<std::string> choices;  // what a settings file may hold
    bool advanced = false;             // a "-" line
};

struct RealisticData {
    int scale = 1;
    std::string base;    // ~1 MiB * S
    std::string ini;     // last version, ~256 KiB * S
    std::string oldIni;  // fourth version, same shape
    std::vector<std::string> versions;  // record names, in base order
    std::vector<std::string> builds;    // a settings file's TARVEN value per record
    std::vector<std::string> groups;    // headers with brackets, the same in every record
    // params[v][g]: group g of record v holds 44 + v parameters; the first ones are
    // shared with the older records, as a newer version adds keys.
    std::vector<std::vector<std::vector<RealParam>>> params;
    int iniVersion = 4;
    int oldVersion = 3;
    std::size_t parameterLines = 0;
    std::size_t descriptionLines = 0;
    std::size_t carried = 0;  // keys the transfer from oldIni into ini carries
};

// Deterministic for a given scale (1..64). Throws std::invalid_argument otherwise.
RealisticData GenerateRealistic(int scale);

struct ManyVersionsData {
    std::string base;  // `count` small records, each two groups of three parameters
    std::string ini;   // a settings file of the last record: detection walks them all
    std::string lastVersion;
    int count = 0;
};

// Deterministic for a given count (1..999,999). Throws std::invalid_argument otherwise.
ManyVersionsData GenerateManyVersions(int count);

}  // namespace ravlet::bench
