// Shared setup of the editor tests: a temporary start folder with a version base and
// settings files written on demand.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "editor/editor.hpp"
#include "support/fake_platform.hpp"
#include "support/files.hpp"
#include "support/text.hpp"

namespace ravlet::test {

// Two versions; v1 has the groups [A], [B], [C] ([C] holds only a "-" parameter).
inline const std::string kBase = Text(
    ";base⏎"
    "[DESCRIPTIONS]⏎"
    "A:X=скорость⏎"
    ":Y=режим⏎"
    "B:Z=zet⏎"
    "⏎"
    "TARVEN=v1⏎"
    "SUPPORT=1.0,1.1⏎"
    "[A]⏎"
    "+X=1,2,@4,8⏎"
    "-Y=!1⏎"
    "[B]⏎"
    "+Z=a,b⏎"
    "[C]⏎"
    "-W=1⏎"
    "TARVEN=v2⏎"
    "SUPPORT=2.0⏎"
    "[A]⏎"
    "+X=!0⏎");

inline const std::string kIni = Text(
    ";ini⏎"
    "TARVEN=1.1⏎"
    "[A]⏎"
    "X=2⏎"
    "Y=0 ;c⏎"
    "[B]⏎"
    "Z=b⏎"
    "[C]⏎"
    "W=5⏎");

// Starts `editor` over `base` in `dir` and loads `ini` as tarven.ini of that folder:
// the beginning of a table row that needs an editor of its own.
inline void StartAndLoadIn(const std::filesystem::path& dir, FakePlatform& platform, Editor& editor,
                           const std::string& base = kBase, const std::string& ini = kIni) {
    WriteBytes(dir / "rvbase.txt", base);
    WriteBytes(dir / "tarven.ini", ini);
    ASSERT_TRUE(editor.Form_Load());
    platform.answers.push_back((dir / "tarven.ini").string());
    editor.Loadini.UserClick();
    platform.busyCalls.clear();  // the load's own; a test follows what comes after
}

// An editor of its own over `dir`, started and loaded there: a table row's, when each
// row needs a fresh one.
struct LoadedEditor {
    explicit LoadedEditor(const std::filesystem::path& dir, const std::string& base = kBase,
                          const std::string& ini = kIni) {
        platform.directory = dir.string();
        StartAndLoadIn(dir, platform, editor, base, ini);
    }
    FakePlatform platform;
    Editor editor{platform};
};

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override { platform.directory = dir.string(); }

    // Starts the editor over `base` and loads `ini` as tarven.ini of the start folder.
    void StartAndLoad(const std::string& base = kBase, const std::string& ini = kIni) {
        StartAndLoadIn(dir, platform, editor, base, ini);
    }

    void Load(const std::string& ini, const std::string& name) {
        WriteBytes(dir / name, ini);
        platform.answers.push_back((dir / name).string());
        editor.Loadini.UserClick();
    }

    TempDir temp{"ravlet-editor-"};
    const std::filesystem::path dir = temp.path();
    FakePlatform platform;
    Editor editor{platform};
};

// The suites, one per behaviour of the window's model.
class EditorStartUp : public EditorTest {};
class EditorLoading : public EditorTest {};
class EditorBrowsing : public EditorTest {};
class EditorFill : public EditorTest {};
class EditorSave : public EditorTest {};
class EditorOddFiles : public EditorTest {};

}  // namespace ravlet::test
