// The text engine, the version base queries and the bulk operations behind the
// commands, one row each, at their costliest place (the last version, group and key):
// what each costs over a memchr pass across the bytes it reads, and how that grows
// with the scale.
#include <cstring>
#include <stdexcept>
#include <string>

#include "bench_support.hpp"
#include "operations/fill_defaults.hpp"
#include "operations/settings_checks.hpp"
#include "operations/transfer.hpp"
#include "textengine/key_lookup.hpp"
#include "textengine/text_search.hpp"
#include "textengine/value_replacement.hpp"
#include "versionbase/catalogue.hpp"
#include "versionbase/value_choices.hpp"
#include "versionbase/version_list.hpp"

namespace ravlet::bench {
namespace {

template <typename T>
void Keep(T&& value) {
    benchmark::DoNotOptimize(value);
}

// Alternates two values of the parameter, as picking them in the window writes them.
void Write(std::string& ini, const std::string& group, const std::string& key, const char* a,
           const char* b) {
    static bool flip = false;
    std::string value = (flip = !flip) ? a : b;
    if (!PutParamVal(ini, group, key, value))
        throw std::runtime_error("the key to write is missing");
}

struct Case {
    const char* name;
    Reads reads;
    void (*run)(const Texts& t, std::string& ini);  // one timed run; `ini` is the text to edit
    bool freshIni = false;  // `run` changes `ini`: a fresh copy before each run (untimed)
};

const Case kCases[] = {
    // The floor itself, as a row: its x_memchr must read 1.
    {"Memchr", Reads::Base,
     [](const Texts& t, std::string&) { Keep(std::memchr(t.base.data(), 0, t.base.size())); }},
    {"InStr_Absent", Reads::Base,
     [](const Texts& t, std::string&) { Keep(InStr(1, t.base, "Nowhere=", Compare::Text)); }},
    {"GetParamVal_Ini_LastKey", Reads::Ini,
     [](const Texts& t, std::string&) {
         Keep(GetParamVal(t.ini, "", t.groups.back(), t.LastParam().key, KeyRule::Settings));
     }},
    {"GetParamVal_Base_LastKey", Reads::Base,
     [](const Texts& t, std::string&) {
         Keep(GetParamVal(t.base, t.versions.back(), t.groups.back(), t.LastParam().key));
     }},
    {"PutParamVal_LastKey", Reads::Ini,
     [](const Texts& t, std::string& ini) {
         const Param& p = t.LastParam();
         Write(ini, t.groups.back(), p.key, p.choices[0].c_str(), p.choices[1].c_str());
     }},
    // A value one byte longer or shorter: the rest of the text moves.
    {"PutParamVal_FirstKeyResized", Reads::Ini,
     [](const Texts& t, std::string& ini) {
         Write(ini, t.groups.front(), t.FirstParam().key, "1", "10");
     }},
    {"ListVersions", Reads::Base, [](const Texts& t, std::string&) { Keep(ListVersions(t.base)); }},
    {"DetectVersion", Reads::BaseAndIni,
     [](const Texts& t, std::string&) { Keep(DetectVersion(t.ini, t.base, t.versions)); }},
    {"ListGroups", Reads::Base,
     [](const Texts& t, std::string&) { Keep(ListGroups(t.base, t.versions.back())); }},
    {"ListParameters_LastGroup", Reads::Base,
     [](const Texts& t, std::string&) {
         Keep(ListParameters(t.base, t.versions.back(), t.groups.back(), true));
     }},
    {"ListValues_LastKey", Reads::BaseAndIni,
     [](const Texts& t, std::string&) {
         Keep(ListValues(t.base, t.ini, t.versions.back(), t.groups.back(), t.LastParam().key));
     }},
    {"ParameterHint_LastKey", Reads::Base,
     [](const Texts& t, std::string&) {
         Keep(ParameterHint(t.base, t.groups.back(), t.LastParam().key));
     }},
    // The commands: defaults, transfer, check, changed, diff.
    {"FillFromDefaults", Reads::BaseAndIni,
     [](const Texts& t, std::string&) {
         Keep(FillFromDefaults(t.base, t.versions.back(), t.ini));
     }},
    {"TransferValues", Reads::BaseAndBothInis,
     [](const Texts& t, std::string& ini) {
         if (TransferValues(t.base, t.oldIni, ini).carried != t.carried)
             throw std::runtime_error("carried too few");
     },
     true},
    {"CheckSettings", Reads::BaseAndIni,
     [](const Texts& t, std::string&) { Keep(CheckSettings(t.base, t.versions.back(), t.ini)); }},
    {"ChangedFromDefaults", Reads::BaseAndIni,
     [](const Texts& t, std::string&) {
         Keep(ChangedFromDefaults(t.base, t.versions.back(), t.ini));
     }},
    {"DiffSettings", Reads::BaseAndBothInis,
     [](const Texts& t, std::string&) {
         Keep(DiffSettings(t.base, t.versions.back(), t.oldIni, t.ini));
     }},
};

void Run(benchmark::State& state, const Case& c) {
    const Texts& t = AtScale(static_cast<int>(state.range(0))).texts;
    std::string ini = t.ini;
    try {
        for (auto _ : state) {
            if (c.freshIni) {
                state.PauseTiming();
                ini = t.ini;
                state.ResumeTiming();
            }
            c.run(t, ini);
        }
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
    Report(state, t, c.reads);
}

}  // namespace

void RegisterLayerBenchmarks() {
    for (const Case& c : kCases) {
        auto* b = benchmark::RegisterBenchmark(c.name, Run, c);
        for (int s : kScales) b->Arg(s);
        b->Unit(benchmark::kMicrosecond);
    }
}

}  // namespace ravlet::bench
