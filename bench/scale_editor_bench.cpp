// The window's actions on the realistic texts, the benchmark argument being the scale S
// (base S MiB, settings S * 256 KiB): how each click grows with the data. Each scale's
// files live in their own folder, written once and removed at exit.
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#include "bench_support.hpp"
#include "operations/default_rule.hpp"
#include "realistic.hpp"
#include "textengine/key_lookup.hpp"
#include "versionbase/catalogue.hpp"
#include "versionbase/version_list.hpp"

namespace ravlet::bench {
namespace {

struct ScaleData {
    RealisticData d;
    std::string dir;
    ~ScaleData() {
        std::error_code ignored;
        if (!dir.empty()) std::filesystem::remove_all(dir, ignored);
    }
};

void Write(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write " + path);
}

// The texts must be what the figures claim: every record lists all groups (its first
// header repeats the record before it), both files are detected as the versions they
// were written for, the defaults the fill will write are those the generator expects.
void Check(const RealisticData& d) {
    auto expect = [](bool ok, const std::string& what) {
        if (!ok) throw std::runtime_error("realistic data: " + what);
    };
    expect(ListVersions(d.base) == d.versions, "ListVersions gives the generated versions");
    for (const std::string& v : d.versions) expect(ListGroups(d.base, v) == d.groups, "every group listed in " + v);
    const Detection ini = DetectVersion(d.ini, d.base, d.versions);
    const Detection old = DetectVersion(d.oldIni, d.base, d.versions);
    expect(ini.recognised && ini.index == d.iniVersion, "tarven.ini detected as the last version");
    expect(old.recognised && old.index == d.oldVersion, "old.ini detected as the fourth version");
    const auto& lastGroup = d.params.back().back();
    const auto listed = ListParameters(d.base, d.versions.back(), d.groups.back(), true);
    expect(listed.size() == lastGroup.size() && listed.back() == lastGroup.back().key, "full list of the last group");
    for (const auto& group : d.params.back()) {
        for (const RealParam& p : group) expect(DefaultOf(p.spec) == p.fallback, "default of " + p.key);
    }
}

const ScaleData& AtScale(int scale) {
    static std::map<int, std::unique_ptr<ScaleData>> cache;
    auto& slot = cache[scale];
    if (!slot) {
        auto s = std::make_unique<ScaleData>();
        s->d = GenerateRealistic(scale);
        Check(s->d);
        std::string pattern =
            (std::filesystem::temp_directory_path() / "ravlet-scale-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a temporary folder");
        s->dir = pattern;
        Write(s->dir + "/rvbase.txt", s->d.base);
        Write(s->dir + "/tarven.ini", s->d.ini);
        Write(s->dir + "/old.ini", s->d.oldIni);
        slot = std::move(s);
    }
    return *slot;
}

class ScalePlatform : public Platform {
public:
    explicit ScalePlatform(std::string dir) : dir_(std::move(dir)) {}
    std::optional<std::string> ShowOpenDialog(const OpenDialogRequest&) override { return answer; }
    void ShowMessage(const std::string&, MessageIcon) override { ++messages; }
    void Quit() override {}
    std::string CurrentDirectory() override { return dir_; }
    void YieldEvents() override {}
    void SetBusy(bool) override {}
    bool AskYesNo(const std::string&) override { return true; }

    std::optional<std::string> answer;
    int messages = 0;

private:
    std::string dir_;
};

// After start-up and loading tarven.ini: the last version detected, the cascade run.
struct Loaded {
    explicit Loaded(const ScaleData& s) : data(s), platform(s.dir) {
        if (!editor.Form_Load()) throw std::runtime_error("Form_Load failed on the realistic base");
        platform.answer = s.dir + "/tarven.ini";
        editor.Loadini_Click();
        if (editor.Version.ListIndex() != s.d.iniVersion || platform.messages != 0 ||
            editor.Group.ListCount() != static_cast<int>(s.d.groups.size())) {
            throw std::runtime_error("loading the realistic settings did not select the last version");
        }
    }
    const ScaleData& data;
    ScalePlatform platform;
    Editor editor{platform};
};

void Finish(benchmark::State& state, const ScaleData& s, double memchrSeconds) {
    state.counters["MiB_base"] = static_cast<double>(s.d.base.size()) / (1 << 20);
    state.counters["x_memchr"] =
        benchmark::Counter(memchrSeconds, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

double Both(const ScaleData& s) { return MemchrSeconds(s.d.base) + MemchrSeconds(s.d.ini); }

void BM_Scale_FormLoad(benchmark::State& state) {
    const ScaleData& s = AtScale(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        ScalePlatform platform(s.dir);
        Editor editor(platform);
        if (!editor.Form_Load() || editor.Version.ListCount() != static_cast<int>(s.d.versions.size())) {
            state.SkipWithError("Form_Load did not list the versions");
            break;
        }
    }
    Finish(state, s, MemchrSeconds(s.d.base));
}

void BM_Scale_Loadini(benchmark::State& state) {
    const ScaleData& s = AtScale(static_cast<int>(state.range(0)));
    Loaded l(s);
    for (auto _ : state) l.editor.Loadini_Click();
    if (l.editor.Version.ListIndex() != s.d.iniVersion) state.SkipWithError("the version was not detected");
    Finish(state, s, Both(s));
}

// Choosing the last version with Autoset checked: the fill from its defaults, then the
// cascade. The version before is selected (untimed, Autoset off) so that the click is a change.
void BM_Scale_VersionChangeAutoset(benchmark::State& state) {
    const ScaleData& s = AtScale(static_cast<int>(state.range(0)));
    Loaded l(s);
    Editor& e = l.editor;
    for (auto _ : state) {
        state.PauseTiming();
        e.Autoset.SetValue(0);
        e.Version.SetListIndex(s.d.iniVersion - 1);
        e.IniText = s.d.ini;
        e.Autoset.SetValue(1);
        state.ResumeTiming();
        e.Version.SetListIndex(s.d.iniVersion);
    }
    // The first key of the first group must now hold its default.
    const RealParam& first = s.d.params.back().front().front();
    const std::string expect = first.key + "=" + first.fallback;
    if (e.IniText.find("\n" + expect) == std::string::npos) state.SkipWithError("the fill did not write the defaults");
    Finish(state, s, Both(s));
}

// The Auto button: old.ini of the fourth version carried into the loaded text.
void BM_Scale_Autoupdate(benchmark::State& state) {
    const ScaleData& s = AtScale(static_cast<int>(state.range(0)));
    Loaded l(s);
    Editor& e = l.editor;
    l.platform.answer = s.dir + "/old.ini";
    for (auto _ : state) {
        state.PauseTiming();
        e.IniText = s.d.ini;
        state.ResumeTiming();
        e.Autoupdate_Click();
    }
    if (l.platform.messages != 0) state.SkipWithError("the transfer reported a failure");
    if (e.IniText == s.d.ini) state.SkipWithError("the transfer changed nothing");
    Finish(state, s, MemchrSeconds(s.d.base) + 2 * MemchrSeconds(s.d.ini));
}

void BM_Scale_SelectLastGroup(benchmark::State& state) {
    const ScaleData& s = AtScale(static_cast<int>(state.range(0)));
    Loaded l(s);
    Editor& e = l.editor;
    for (auto _ : state) e.Group.SetListIndex(e.Group.ListCount() - 1);
    if (e.Group.Text() != s.d.groups.back()) state.SkipWithError("the last group was not selected");
    Finish(state, s, Both(s));
}

void BM_Scale_SelectLastParameter(benchmark::State& state) {
    const ScaleData& s = AtScale(static_cast<int>(state.range(0)));
    Loaded l(s);
    Editor& e = l.editor;
    e.Group.SetListIndex(e.Group.ListCount() - 1);
    for (auto _ : state) e.Parameters.SetListIndex(e.Parameters.ListCount() - 1);
    if (e.Value.ListCount() < 2) state.SkipWithError("the last parameter offers no values");
    Finish(state, s, Both(s));
}

// Another value of the last parameter of the last group: the write near the text's end.
void BM_Scale_SelectValue(benchmark::State& state) {
    const ScaleData& s = AtScale(static_cast<int>(state.range(0)));
    Loaded l(s);
    Editor& e = l.editor;
    e.Group.SetListIndex(e.Group.ListCount() - 1);
    e.Parameters.SetListIndex(e.Parameters.ListCount() - 1);
    int index = 0;
    for (auto _ : state) {
        index = index == 0 ? 1 : 0;
        e.Value.SetListIndex(index);
    }
    // The two picks must write two different values (a switch shows OFF/ON, writes 0/1).
    std::string written[2];
    for (int k = 0; k < 2; ++k) {
        e.Value.SetListIndex(k);
        written[k] = GetParamVal(e.IniText, "", e.Group.Text(), e.Parameters.Text());
    }
    if (written[0].empty() || written[0] == written[1]) state.SkipWithError("the selected values were not written");
    Finish(state, s, MemchrSeconds(s.d.ini));
}

void Scales(benchmark::internal::Benchmark* b) {
    for (int s : {1, 2, 4, 8, 16}) b->Arg(s);
    b->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_Scale_FormLoad)->Apply(Scales);
BENCHMARK(BM_Scale_Loadini)->Apply(Scales);
BENCHMARK(BM_Scale_VersionChangeAutoset)->Apply(Scales);
BENCHMARK(BM_Scale_Autoupdate)->Apply(Scales);
BENCHMARK(BM_Scale_SelectLastGroup)->Apply(Scales);
BENCHMARK(BM_Scale_SelectLastParameter)->Apply(Scales);
BENCHMARK(BM_Scale_SelectValue)->Apply(Scales);

}  // namespace ravlet::bench
