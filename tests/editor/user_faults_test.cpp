// Faults users met in the window, reproduced headless: ';' in a typed value, a
// parameter the settings file lacks, a file changed behind the editor's back, and
// selections made by the user rather than by the program.
#include <gtest/gtest.h>

#include <filesystem>

#include "editor/messages.hpp"
#include "editor_fixture.hpp"

namespace ravlet::testing {
namespace {

namespace fs = std::filesystem;

// ---- What the value field may hold ------------------------------------------------

TEST(ValueCharacters, FirstUnstorableIsFound) {
    struct Row {
        const char* name;
        std::u32string text;
        std::optional<char32_t> refused;
    };
    const Row rows[] = {
        {"plain, cyrillic and code page punctuation", U"Жёлтый №1 «x» €", std::nullopt},
        {"semicolon starts a comment", U"a;b", U';'},
        {"first of two refused", U"a\t;", U'\t'},
        {"delete", U"a\x7f", U'\x7f'},
        {"C1 control that has a byte (0x98)", U"\x98", U'\x98'},
        {"no byte in the code page", U"a中", U'中'},
        {"lone surrogate", std::u32string(1, char32_t{0xD83D}), char32_t{0xD83D}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(FirstUnstorable(r.text), r.refused);
    }
}

TEST(ValueCharacters, RefusalNamesTheCharacterOrItsCodeWhenInvisible) {
    EXPECT_EQ(RefusedCharacterMessage(U';'), "Символ «;» нельзя записать в файл настроек");
    EXPECT_EQ(RefusedCharacterMessage(U'中'), "Символ «中» нельзя записать в файл настроек");
    EXPECT_EQ(RefusedCharacterMessage(U'\t'), "Символ «U+0009» нельзя записать в файл настроек");
    EXPECT_EQ(RefusedCharacterMessage(char32_t{0xD83D}), "Символ «U+D83D» нельзя записать в файл настроек");
    EXPECT_EQ(RefusedCharacterMessage(U'😀'), "Символ «😀» нельзя записать в файл настроек");
}

TEST_F(EditorTest, TypedSemicolonIsNeverWritten) {
    StartAndLoad();
    const std::string before = editor.IniText;
    for (const char* typed : {";", "1;", "1;;", "1; x"}) {
        SCOPED_TRACE(typed);
        editor.Value.TypeText(typed);
        EXPECT_EQ(editor.IniText, before);
    }
    editor.Value.TypeText("8");
    EXPECT_EQ(editor.IniText, Cp(";ini⏎TARVEN=1.1⏎[A]⏎X=8 ⏎Y=0 ;c⏎[B]⏎Z=b⏎[C]⏎W=5⏎"));
}

// ---- A parameter the settings file lacks -----------------------------------------------

TEST_F(EditorTest, HintNotesAParameterMissingFromTheFile) {
    const std::string note = "\r\n" + *Utf8ToCp1251(messages::kNotInSettingsFile);
    struct Row {
        const char* name;
        std::string ini;
        int group;
        int parameter;  // in the full list
        std::string hint;
    };
    const Row rows[] = {
        {"present", kIni, 0, 1, Cp("режим")},
        {"absent", Cp(";ini⏎TARVEN=1.1⏎[A]⏎X=2⏎[B]⏎Z=b⏎"), 0, 1, Cp("режим") + note},
        {"only in another group", Cp(";ini⏎TARVEN=1.1⏎[A]⏎X=2⏎[B]⏎Y=1⏎Z=b⏎"), 0, 1, Cp("режим") + note},
        {"group absent", Cp(";ini⏎TARVEN=1.1⏎[A]⏎X=2⏎Y=1⏎"), 1, 0, Cp("zet") + note},
        {"no hint in the base", Cp(";ini⏎TARVEN=1.1⏎[A]⏎X=2⏎"), 2, 0, note.substr(2)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        FakePlatform p;
        p.directory = dir.string();
        Editor e(p);
        WriteBytes(dir / "rvbase.txt", kBase);
        WriteBytes(dir / "tarven.ini", r.ini);
        ASSERT_TRUE(e.Form_Load());
        p.answers.push_back((dir / "tarven.ini").string());
        e.Loadini.UserClick();
        e.Advanced.UserClick();
        e.Group.SetListIndex(r.group);
        e.Parameters.SetListIndex(r.parameter);
        EXPECT_EQ(e.Description.Text(), r.hint);
    }
}

// ---- Saving over a file another program changed ------------------------------------------

TEST_F(EditorTest, SaveAsksBeforeOverwritingAFileChangedSinceTheLoad) {
    const std::string edited = Cp(";ini⏎TARVEN=1.1⏎[A]⏎X=8 ⏎Y=0 ;c⏎[B]⏎Z=b⏎[C]⏎W=5⏎");
    const std::string other = Cp(";changed by another program⏎");
    struct Row {
        const char* name;
        std::function<void(const fs::path&)> change;
        std::vector<bool> answers;  // one per question asked
        int questions;
        std::string onDisk;  // "" for no file
        bool saved;
    };
    const Row rows[] = {
        {"unchanged: no question", [](const fs::path&) {}, {}, 0, edited, true},
        {"same size, other bytes",
         [&](const fs::path& f) { WriteBytes(f, Cp(";ini⏎TARVEN=1.1⏎[A]⏎X=3⏎Y=0 ;c⏎[B]⏎Z=b⏎[C]⏎W=5⏎")); },
         {false}, 1, Cp(";ini⏎TARVEN=1.1⏎[A]⏎X=3⏎Y=0 ;c⏎[B]⏎Z=b⏎[C]⏎W=5⏎"), false},
        {"changed, answered No", [&](const fs::path& f) { WriteBytes(f, other); }, {false}, 1, other, false},
        {"changed, answered Yes", [&](const fs::path& f) { WriteBytes(f, other); }, {true}, 1, edited, true},
        {"removed, answered No", [](const fs::path& f) { fs::remove(f); }, {false}, 1, "", false},
        {"removed, answered Yes", [](const fs::path& f) { fs::remove(f); }, {true}, 1, edited, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        FakePlatform p;
        p.directory = dir.string();
        p.yesNoAnswers.assign(r.answers.begin(), r.answers.end());
        Editor e(p);
        WriteBytes(dir / "rvbase.txt", kBase);
        WriteBytes(dir / "tarven.ini", kIni);
        ASSERT_TRUE(e.Form_Load());
        p.answers.push_back((dir / "tarven.ini").string());
        e.Loadini.UserClick();
        e.Value.TypeText("8");
        r.change(dir / "tarven.ini");
        e.Save.UserClick();
        ASSERT_EQ(p.questions.size(), static_cast<std::size_t>(r.questions));
        for (const std::string& q : p.questions) EXPECT_EQ(q, messages::kChangedOnDisk);
        EXPECT_EQ(fs::exists(dir / "tarven.ini") ? ReadBytes(dir / "tarven.ini") : "", r.onDisk);
        EXPECT_EQ(p.quits, r.saved ? 1 : 0);
        EXPECT_EQ(p.messages.size(), r.saved ? 1u : 0u);
        EXPECT_EQ(e.IniText, edited);  // No keeps the edits to save later
    }
}

TEST_F(EditorTest, AnsweringNoLeavesTheWindowUsableForASecondSave) {
    StartAndLoad();
    WriteBytes(dir / "tarven.ini", Cp(";other⏎"));
    platform.yesNoAnswers = {false, true};
    editor.Save.UserClick();
    EXPECT_EQ(platform.quits, 0);
    EXPECT_TRUE(editor.Save.Enabled());
    editor.Save.UserClick();
    EXPECT_EQ(platform.questions.size(), 2u);  // still changed: asked again
    EXPECT_EQ(ReadBytes(dir / "tarven.ini"), editor.IniText);
    EXPECT_EQ(platform.quits, 1);
}

// ---- Selections by the user ------------------------------------------------------------

TEST_F(EditorTest, UserSelectionRaisesClickOnlyWhenEnabled) {
    StartAndLoad();
    int clicks = 0;
    editor.Parameters.Click = [&] { ++clicks; };
    editor.Parameters.UserSelect(0);  // the selected row again: still a click
    EXPECT_EQ(clicks, 1);
    editor.Parameters.SetEnabled(false);
    editor.Parameters.UserSelect(0);
    EXPECT_EQ(clicks, 1);
    EXPECT_THROW(editor.Group.UserSelect(3), InvalidPropertyValue);
    EXPECT_EQ(editor.Group.ListIndex(), 0);
}

TEST_F(EditorTest, ClickOnTheSelectedParameterBringsTheHintBack) {
    StartAndLoad();
    editor.Description.RaiseClick();
    ASSERT_EQ(editor.Description.Text(), editor.IniText);
    editor.Parameters.UserSelect(editor.Parameters.ListIndex());
    EXPECT_EQ(editor.Description.Text(), Cp("скорость"));
}

}  // namespace
}  // namespace ravlet::testing
