// The window's actions through the headless editor, one row each, the benchmark
// argument being the scale: what one click or keystroke costs before the window redraws,
// and how that grows with the data. Each row says after its runs whether the action
// did what it is timed for, so a fast wrong answer is not a figure.
#include <malloc.h>

#include <stdexcept>
#include <string>

#include "bench_support.hpp"
#include "editor/messages.hpp"
#include "textengine/key_lookup.hpp"

namespace ravlet::bench {
namespace {

using Step = void (*)(LoadedEditor&);

struct Action {
    const char* name;
    Reads reads;
    Step setup;                           // once, untimed; may be null
    Step before;                          // before each run, untimed; may be null
    Step act;                             // the timed action
    const char* (*fault)(LoadedEditor&);  // after the runs: what went wrong, or null
    bool history = false;                 // reports the history's bytes after the runs
};

void LastGroup(LoadedEditor& l) { l.editor.Group.UserSelect(l.editor.Group.ListCount() - 1); }
void LastParameter(LoadedEditor& l) {
    LastGroup(l);
    l.editor.Parameters.UserSelect(l.editor.Parameters.ListCount() - 1);
}
void FreshIni(LoadedEditor& l) { l.editor.IniText = l.scaled.texts.ini; }
const char* NoMessage(LoadedEditor& l) {
    return l.platform.messages.empty() ? nullptr : "a message was shown";
}
// The first and the last key hold their default as written: followed by a space.
bool DefaultsWritten(const LoadedEditor& l) {
    for (const Param* p : {&l.scaled.texts.FirstParam(), &l.scaled.texts.LastParam()}) {
        if (l.editor.IniText.find("\n" + p->key + "=" + p->fallback + " ") == std::string::npos) {
            return false;
        }
    }
    return true;
}
// Checking Autoset after loading: the fill, one step of the history.
void Fill(LoadedEditor& l) {
    FreshIni(l);
    l.editor.Autoset.SetValue(0);
    l.editor.Autoset.UserClick();
}

const Action kActions[] = {
    // Start-up without the window: reading rvbase.txt and listing its versions.
    {"Editor_FormLoad", Reads::Base, nullptr, nullptr,
     [](LoadedEditor& l) {
         test::FakePlatform platform;
         platform.directory = l.scaled.dir;
         Editor editor(platform);
         if (!editor.Form_Load()) throw std::runtime_error("Form_Load failed");
     },
     nullptr},
    // Loading tarven.ini: reading it, detecting its version and the cascade of selecting it.
    {"Editor_Loadini", Reads::BaseAndIni, nullptr,
     [](LoadedEditor& l) { l.platform.answers.push_back(l.scaled.dir + "/tarven.ini"); },
     [](LoadedEditor& l) { l.editor.Loadini.UserClick(); }, NoMessage},
    {"Editor_SelectVersion", Reads::BaseAndIni, nullptr, nullptr,
     [](LoadedEditor& l) { l.editor.Version.UserSelect(l.scaled.texts.iniVersion); }, NoMessage},
    {"Editor_SelectLastGroup", Reads::BaseAndIni, nullptr, nullptr, LastGroup,
     [](LoadedEditor& l) {
         return l.editor.Group.Text() == l.scaled.texts.groups.back()
                    ? nullptr
                    : "the last group was not selected";
     }},
    {"Editor_SelectLastParameter", Reads::BaseAndIni, LastGroup, nullptr,
     [](LoadedEditor& l) { l.editor.Parameters.UserSelect(l.editor.Parameters.ListCount() - 1); },
     [](LoadedEditor& l) { return l.editor.Value.ListCount() > 1 ? nullptr : "no values listed"; }},
    // Another value of the last parameter of the last group: the write near the text's end.
    {"Editor_SelectValue", Reads::Ini, LastParameter, nullptr,
     [](LoadedEditor& l) {
         static int index = 0;
         l.editor.Value.UserSelect(index = 1 - index);
     },
     [](LoadedEditor& l) {
         // The two picks must write two different values (a switch shows OFF/ON, writes 0/1).
         Editor& e = l.editor;
         std::string written[2];
         for (int k = 0; k < 2; ++k) {
             e.Value.UserSelect(k);
             written[k] =
                 GetParamVal(e.IniText, "", e.Group.Text(), e.Parameters.Text(), KeyRule::Settings);
         }
         return written[0].empty() || written[0] == written[1]
                    ? "the selected values were not written"
                    : nullptr;
     }},
    // One keystroke in the value field of the last parameter.
    {"Editor_TypeValue", Reads::Ini, LastParameter, nullptr,
     [](LoadedEditor& l) {
         static bool flip = false;
         l.editor.Value.TypeText((flip = !flip) ? "22050" : "44100");
     },
     NoMessage},
    // The full list on or off in the last group.
    {"Editor_Advanced", Reads::BaseAndIni, LastParameter, nullptr,
     [](LoadedEditor& l) { l.editor.Advanced.UserClick(); }, NoMessage},
    // Checking Autoset: the fill from the version's defaults, then the cascade.
    {"Editor_AutosetFill", Reads::BaseAndIni, nullptr,
     [](LoadedEditor& l) {
         FreshIni(l);
         l.editor.Autoset.SetValue(0);
     },
     [](LoadedEditor& l) { l.editor.Autoset.UserClick(); },
     [](LoadedEditor& l) {
         return DefaultsWritten(l) ? nullptr : "the fill did not write the defaults";
     }},
    // Ctrl+Z after the fill: the text before it back in place, the first group shown
    // again without the cascade writing. Redone, untimed, before each run.
    {"Editor_UndoFill", Reads::BaseAndIni, Fill, [](LoadedEditor& l) { l.editor.Redo(); },
     [](LoadedEditor& l) {
         if (!l.editor.Undo()) throw std::runtime_error("nothing to undo");
     },
     [](LoadedEditor& l) {
         return l.editor.Autoset.Value() == 0 && !DefaultsWritten(l) && l.editor.Redo() &&
                        DefaultsWritten(l)
                    ? nullptr
                    : "the undo did not take the fill back";
     },
     true},
    // Ctrl+Y after undoing the fill: the filled text again, as the fill left it.
    {"Editor_RedoFill", Reads::BaseAndIni,
     [](LoadedEditor& l) {
         Fill(l);
         l.editor.Undo();
     },
     [](LoadedEditor& l) { l.editor.Undo(); },
     [](LoadedEditor& l) {
         if (!l.editor.Redo()) throw std::runtime_error("nothing to redo");
     },
     [](LoadedEditor& l) {
         return l.editor.Autoset.Value() == 1 && DefaultsWritten(l) ? nullptr
                                                                    : "the redo did not fill";
     },
     true},
    // The Auto button: old.ini of the fourth version carried into the loaded text.
    {"Editor_Autoupdate", Reads::BaseAndBothInis, nullptr,
     [](LoadedEditor& l) {
         FreshIni(l);
         l.platform.answers.push_back(l.scaled.dir + "/old.ini");
     },
     [](LoadedEditor& l) { l.editor.Autoupdate.UserClick(); },
     [](LoadedEditor& l) {
         return !l.platform.messages.empty() || l.editor.IniText == l.scaled.texts.ini
                    ? "the transfer failed"
                    : nullptr;
     }},
    // Save and Exit: the check that nobody changed the file, then the safe write.
    {"Editor_Save", Reads::Ini,
     [](LoadedEditor& l) { l.editor.IniPath = l.scaled.dir + "/saved.ini"; }, nullptr,
     [](LoadedEditor& l) { l.editor.Save.UserClick(); },
     [](LoadedEditor& l) {
         const auto& shown = l.platform.messages;
         return !shown.empty() && shown.back().text == messages::kSaved ? nullptr : "saving failed";
     }},
};

// A hundred steps as a user makes them at the last parameter: runs of keystrokes ended
// by leaving the field, and values picked, each step one or two small edits. Timed, and
// their memory reported: `history_bytes` as the history counts it, `heap_bytes` as the
// allocator saw the heap grow (both per hundred steps).
void HundredSteps(benchmark::State& state) {
    const Scaled& scaled = AtScale(static_cast<int>(state.range(0)));
    const auto steps = [](Editor& e) {
        for (int k = 0; k < 50; ++k) {
            // A typed value is none of the items, so every pick after it writes.
            e.Value.TypeText("2");
            e.Value.TypeText(k % 2 ? "2x" : "2y");
            e.ValueFieldLeft();
            e.Value.UserSelect(k % 2);
        }
    };
    try {
        {
            LoadedEditor loaded(scaled);
            LastParameter(loaded);
            for (auto _ : state) steps(loaded.editor);
        }
        LoadedEditor loaded(scaled);
        LastParameter(loaded);
        const History& history = loaded.editor.UndoHistory();
        const std::size_t stepsBefore = history.UndoSteps();
        const std::size_t bytesBefore = history.Bytes();
        const std::size_t heapBefore = mallinfo2().uordblks;
        steps(loaded.editor);
        const std::size_t heapAfter = mallinfo2().uordblks;
        if (history.UndoSteps() - stepsBefore != 100)
            throw std::runtime_error("not a hundred steps");
        state.counters["history_bytes"] = static_cast<double>(history.Bytes() - bytesBefore);
        state.counters["heap_bytes"] =
            static_cast<double>(heapAfter > heapBefore ? heapAfter - heapBefore : 0);
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
    Report(state, scaled.texts, Reads::BaseAndIni);
}

void Run(benchmark::State& state, const Action& a) {
    const Scaled& scaled = AtScale(static_cast<int>(state.range(0)));
    try {
        LoadedEditor loaded(scaled);
        if (a.setup) a.setup(loaded);
        for (auto _ : state) {
            if (a.before) {
                state.PauseTiming();
                a.before(loaded);
                state.ResumeTiming();
            }
            a.act(loaded);
        }
        if (const char* fault = a.fault ? a.fault(loaded) : nullptr) state.SkipWithError(fault);
        if (a.history) {
            state.counters["history_bytes"] =
                static_cast<double>(loaded.editor.UndoHistory().Bytes());
        }
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
    Report(state, scaled.texts, a.reads);
}

}  // namespace

void RegisterEditorBenchmarks() {
    for (const Action& a : kActions) {
        auto* b = benchmark::RegisterBenchmark(a.name, Run, a);
        for (int s : kScales) b->Arg(s);
        b->Unit(benchmark::kMicrosecond);
    }
    auto* b = benchmark::RegisterBenchmark("Editor_HundredSteps", HundredSteps);
    for (int s : kScales) b->Arg(s);
    b->Unit(benchmark::kMicrosecond);
}

}  // namespace ravlet::bench
