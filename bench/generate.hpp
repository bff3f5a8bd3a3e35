// The benchmarks' data: texts shaped like a real installation that grow with a scale
// factor S, deterministic (a fixed generator, no library distributions), Windows-1251
// bytes with CR LF lines.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace ravlet::bench {

struct Param {
    std::string key;
    std::string spec;                  // value spec of its base line, e.g. "1,@2,4"
    std::string fallback;              // the value the fill from defaults writes
    std::vector<std::string> choices;  // what a settings file may hold
    bool advanced = false;             // a "-" line
};

// A version base of exactly S MiB: the descriptions section (one line per key of the
// last record, hints sized to meet the total), then 5 records with the same 70*S
// groups, group g of record v holding 44 + v parameters (a newer version adds keys, and
// moves some defaults). A settings file of the last record and an older one of the
// fourth, exactly S * 256 KiB each: a comment line over every key, some trailing
// comments and spaces.
struct Texts {
    int scale = 1;
    std::string base;
    std::string ini;
    std::string oldIni;
    std::vector<std::string> versions;  // record names, in base order
    std::vector<std::string> builds;    // a settings file's TARVEN value per record
    std::vector<std::string> groups;    // headers with brackets, the same in every record
    std::vector<std::vector<std::vector<Param>>> params;  // params[v][g], in text order
    int iniVersion = 4;
    int oldVersion = 3;
    int carried = 0;  // keys the transfer from oldIni into ini carries

    // The last key of the last group of ini's version: the end of both texts, what a
    // lookup reaches only after crossing (nearly) all of them.
    const Param& LastParam() const { return params.back().back().back(); }
    const Param& FirstParam() const { return params.back().front().front(); }
};

// The texts at `scale` (1..64), checked through the library: the versions listed and
// detected, every record's groups, the last group's full list and every default found
// where they were written. Throws std::invalid_argument for another scale and
// std::runtime_error when the library does not find what the texts were built to hold.
Texts Generate(int scale);

}  // namespace ravlet::bench
