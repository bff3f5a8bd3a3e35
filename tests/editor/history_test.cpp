// Undo and redo: every kind of step taken back and made again through the editor, the
// run of keystrokes, the fresh history of a load, the bound, and the keys.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "editor/history.hpp"
#include "editor/history_keys.hpp"
#include "editor_fixture.hpp"

namespace ravlet::test {
namespace {

// Everything the user sees of the editor, and the text a save would write.
struct Shown {
    std::string text;
    int version, group, parameter;
    std::vector<std::string> values;
    std::string value, hint;
    int autoset, advanced;
    friend bool operator==(const Shown&, const Shown&) = default;
    friend void PrintTo(const Shown& s, std::ostream* os) {
        *os << "{text \"" << s.text << "\", selected " << s.version << "/" << s.group << "/"
            << s.parameter << ", value \"" << s.value << "\", hint \"" << s.hint << "\", autoset "
            << s.autoset << ", advanced " << s.advanced << "}";
    }
};

Shown ShownBy(const Editor& e) {
    return {
        e.IniText,         e.Version.ListIndex(), e.Group.ListIndex(),  e.Parameters.ListIndex(),
        e.Value.Items(),   e.Value.Text(),        e.Description.Text(), e.Autoset.Value(),
        e.Advanced.Value()};
}

// Each test over kBase with kIni in a folder of its own; a table row starts a
// LoadedEditor there.
class EditorHistory : public EditorTest {};

const std::string kOld = Text(";old⏎[A]⏎X=8⏎[B]⏎Z=a⏎");

struct StepRow {
    const char* name;
    std::function<void(LoadedEditor&)> act;
    // A typed value comes back as selecting its parameter shows it: offered alone
    // when it is none of the items.
    bool typed = false;
    std::function<void(LoadedEditor&)> prepare = [](LoadedEditor&) {};
};

const StepRow kSteps[] = {
    {"value picked", [](LoadedEditor& s) { s.editor.Value.UserSelect(3); }},
    // The cascade rewrites Z with its trailing space on the way: the selection's step.
    {"group selected", [](LoadedEditor& s) { s.editor.Group.UserSelect(1); }},
    {"run of keystrokes",
     [](LoadedEditor& s) {
         for (const char* typed : {"1", "12", "123"}) s.editor.Value.TypeText(typed);
     },
     true},
    {"value emptied", [](LoadedEditor& s) { s.editor.Value.TypeText(""); }, true},
    {"fill from defaults", [](LoadedEditor& s) { s.editor.Autoset.UserClick(); }},
    {"transfer",
     [](LoadedEditor& s) {
         const std::filesystem::path old = std::filesystem::path(s.platform.directory) / "old.ini";
         WriteBytes(old, kOld);
         s.platform.answers.push_back(old.string());
         s.editor.Autoupdate.UserClick();
     }},
    // Selections that write nothing are no step: the undo comes back to Y.
    {"switch of the full list", [](LoadedEditor& s) { s.editor.Value.UserSelect(1); }, false,
     [](LoadedEditor& s) {
         s.editor.Advanced.UserClick();
         s.editor.Parameters.UserSelect(1);
     }},
    // The hint field showed the whole text when the step began: it shows it again, as
    // it is then, as a click on it does.
    {"value picked under the whole text",
     [](LoadedEditor& s) {
         s.editor.Value.UserSelect(2);
         s.editor.Description.UserClick();
     },
     false, [](LoadedEditor& s) { s.editor.Description.UserClick(); }},
};

TEST_F(EditorHistory, EachKindOfStepIsUndoneAndRedoneExactly) {
    for (const StepRow& row : kSteps) {
        SCOPED_TRACE(row.name);
        LoadedEditor s(dir);
        Editor& e = s.editor;
        // A step of its own first, so that the row's undo must stop at its start.
        e.Value.UserSelect(0);
        row.prepare(s);
        const Shown before = ShownBy(e);
        row.act(s);
        if (row.typed) e.Parameters.UserSelect(e.Parameters.ListIndex());
        const Shown after = ShownBy(e);
        ASSERT_NE(after.text, before.text);

        ASSERT_TRUE(e.Undo());
        EXPECT_EQ(ShownBy(e), before);
        ASSERT_TRUE(e.Redo());
        EXPECT_EQ(ShownBy(e), after);
        EXPECT_FALSE(e.Redo());
        // Undone again: the same bytes each time.
        ASSERT_TRUE(e.Undo());
        EXPECT_EQ(ShownBy(e), before);
        EXPECT_TRUE(s.platform.messages.empty());
    }
}

TEST_F(EditorHistory, UndoingTheFillUnchecksTheBoxSoNothingRefills) {
    StartAndLoad();
    Editor& e = editor;
    e.Autoset.UserClick();
    ASSERT_TRUE(e.Undo());
    EXPECT_EQ(e.Autoset.Value(), 0);
    // Another version, then the first again: no fill, only the cascade's trailing spaces.
    e.Version.UserSelect(1);
    e.Version.UserSelect(0);
    EXPECT_EQ(e.IniText, Text(";ini⏎TARVEN=1.1⏎[A]⏎X=2 ⏎Y=0 ;c⏎[B]⏎Z=b⏎[C]⏎W=5⏎"));
}

// Keystrokes are one step until the user leaves the field or does anything else.
TEST_F(EditorHistory, ARunOfKeystrokesIsOneStep) {
    struct Row {
        const char* name;
        std::function<void(Editor&)> between;
        int steps;
    };
    const Row rows[] = {
        // Uninterrupted, one step: the "run of keystrokes" row of kSteps.
        {"field left", [](Editor& e) { e.ValueFieldLeft(); }, 2},
        {"value picked", [](Editor& e) { e.Value.UserSelect(0); }, 3},
        {"hint field clicked", [](Editor& e) { e.Description.UserClick(); }, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        LoadedEditor s(dir);
        Editor& e = s.editor;
        const std::string loaded = e.IniText;
        e.Value.TypeText("3");
        e.Value.TypeText("33");
        row.between(e);
        e.Value.TypeText("4");
        e.Value.TypeText("45");
        EXPECT_EQ(e.UndoHistory().UndoSteps(), static_cast<std::size_t>(row.steps));
        for (int k = 0; k < row.steps; ++k) EXPECT_TRUE(e.Undo());
        EXPECT_FALSE(e.Undo());
        EXPECT_EQ(e.IniText, loaded);
        for (int k = 0; k < row.steps; ++k) EXPECT_TRUE(e.Redo());
        EXPECT_EQ(e.IniText, Text(";ini⏎TARVEN=1.1⏎[A]⏎X=45 ⏎Y=0 ;c⏎[B]⏎Z=b⏎[C]⏎W=5⏎"));
    }
}

TEST_F(EditorHistory, ANewStepDropsWhatWasUndoneAndALoadStartsAfresh) {
    StartAndLoad();
    Editor& e = editor;
    e.Value.UserSelect(3);
    e.Value.UserSelect(0);
    ASSERT_TRUE(e.Undo());
    e.Group.UserSelect(1);
    EXPECT_FALSE(e.Redo());
    ASSERT_TRUE(e.Undo());
    ASSERT_TRUE(e.Undo());
    EXPECT_FALSE(e.Undo());

    e.Value.UserSelect(3);
    Load(kIni, "tarven.ini");
    const Shown loaded = ShownBy(e);
    EXPECT_FALSE(e.Undo());
    EXPECT_FALSE(e.Redo());
    EXPECT_EQ(ShownBy(e), loaded);
}

// A long action lets events through; a key pressed then waits for it to end.
TEST_F(EditorHistory, NothingIsUndoneWhileAnActionRuns) {
    StartAndLoad();
    Editor& e = editor;
    e.Value.UserSelect(3);
    bool undone = true;
    platform.onYield = [&] { undone = e.Undo(); };
    e.Autoset.UserClick();
    EXPECT_FALSE(undone);
    ASSERT_TRUE(e.Undo());
    ASSERT_TRUE(e.Undo());
    EXPECT_EQ(e.IniText, Text(";ini⏎TARVEN=1.1⏎[A]⏎X=2 ⏎Y=0 ;c⏎[B]⏎Z=b⏎[C]⏎W=5⏎"));
}

// A text changed behind the history's back (by a program, not the user) is not patched.
TEST_F(EditorHistory, ATextChangedOutsideIsNotPatched) {
    StartAndLoad();
    Editor& e = editor;
    e.Value.UserSelect(3);
    e.IniText = Text(";other⏎");
    EXPECT_FALSE(e.Undo());
    EXPECT_EQ(e.IniText, Text(";other⏎"));
}

// The history alone, over a plain text: one edit per step, bounded.
std::string Step(History& h, std::string& text, std::size_t at, std::string_view with) {
    h.Begin(text.size(), false);
    TextEdit edit{at, with.size(), text.substr(at, 1)};
    text.replace(at, 1, with);
    h.Record(std::move(edit), text);
    h.End(View{}, text.size());
    return text;
}

TEST(History, TheBoundDropsTheOldestSteps) {
    struct Row {
        const char* name;
        std::size_t maxSteps, maxBytes;
        std::size_t kept;
    };
    const std::size_t oneStep = [] {
        History h;
        std::string text = "abcd";
        Step(h, text, 0, "x");
        return h.Bytes();
    }();
    const Row rows[] = {
        {"by steps", 2, History::kMaxBytes, 2},
        {"by bytes", 100, oneStep * 3, 3},
        {"the newest stays", 100, 1, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        History h(row.maxSteps, row.maxBytes);
        std::string text = "abcd";
        std::vector<std::string> texts{text};
        for (std::size_t at = 0; at < 8; at += 2) texts.push_back(Step(h, text, at, "XY"));
        EXPECT_EQ(h.UndoSteps(), row.kept);
        while (h.Undo(text)) {
        }
        // Back to the text before the oldest step kept, and no further.
        EXPECT_EQ(text, texts[4 - row.kept]);
        while (h.Redo(text)) {
        }
        EXPECT_EQ(text, "XYXYXYXY");
    }
}

TEST(HistoryKeys, CtrlZUndoesCtrlYAndCtrlShiftZRedo) {
    struct Row {
        const char* name;
        int key;
        bool ctrl, shift, alt;
        HistoryCommand command;
    };
    const Row rows[] = {
        {"Ctrl+Z", 'Z', true, false, false, HistoryCommand::Undo},
        {"Ctrl+Y", 'Y', true, false, false, HistoryCommand::Redo},
        {"Ctrl+Shift+Z", 'Z', true, true, false, HistoryCommand::Redo},
        {"Z alone", 'Z', false, false, false, HistoryCommand::None},
        {"Shift+Z", 'Z', false, true, false, HistoryCommand::None},
        {"Ctrl+Alt+Z", 'Z', true, false, true, HistoryCommand::None},
        {"Ctrl+Shift+Y", 'Y', true, true, false, HistoryCommand::None},
        {"Ctrl+X", 'X', true, false, false, HistoryCommand::None},
        {"Ctrl+z lower case", 'z', true, false, false, HistoryCommand::None},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(HistoryCommandFor(row.key, row.ctrl, row.shift, row.alt), row.command)
            << row.name;
    }
}

}  // namespace
}  // namespace ravlet::test
