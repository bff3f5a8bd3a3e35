// The editor on bad input: whatever the files hold, no crash, a clear message or a
// sound result, and the file on disk either the old or the complete new text.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>

#include "editor/messages.hpp"
#include "editor_fixture.hpp"
#include "support/same_bytes.hpp"
#include "support/files.hpp"

namespace ravlet::test {
namespace {

namespace fs = std::filesystem;
using Items = std::vector<std::string>;

struct TextCase {
    const char* name;
    std::string base;
    std::string ini;
};

// Each case loads, browses every group and parameter, checks Autoset, and saves.
// The saved file must be exactly the editor's text.
TEST_F(EditorOddFiles, OddTextsAreEditedAndSavedWhole) {
    std::string binary;
    for (int b = 0; b < 256; ++b) binary += static_cast<char>(b);
    const TextCase cases[] = {
        {"empty base and file", "", ""},
        {"empty file", kBase, ""},
        {"NUL and high bytes everywhere", kBase + binary + kBase, binary + kIni + binary},
        {"LF-only line ends", ";b\nTARVEN=v\nSUPPORT=s\n[A]\n+X=1,2\n", ";s\nTARVEN=s\n[A]\nX=2\n"},
        {"CR-only line ends", ";b\rTARVEN=v\rSUPPORT=s\r[A]\r+X=1,2\r", ";s\rTARVEN=s\r[A]\rX=2\r"},
        {"header without ] and parameter without =",
         Text(";b⏎TARVEN=v⏎SUPPORT=s⏎[A⏎+X⏎[B]⏎+Y=1,2⏎"), Text(";s⏎TARVEN=s⏎[B]⏎Y=2⏎")},
        {"duplicate, prefix and lower-case markers",
         Text(";b⏎tarven=q⏎TARVEN=0.3⏎SUPPORT=s⏎[A]⏎+X=1⏎TARVEN=0.35⏎TARVEN=0.3⏎[A]⏎+X=2⏎"),
         Text(";s⏎TARVEN=s⏎[A]⏎X=1⏎")},
        {"key on the very first line", Text("TARVEN=v⏎SUPPORT=s⏎[A]⏎+X=!1⏎"),
         Text("TARVEN=s⏎[A]⏎X=7⏎")},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.name);
        LoadedEditor row(dir, c.base, c.ini);
        FakePlatform& p = row.platform;
        Editor& e = row.editor;
        if (HasFatalFailure()) return;
        for (int g = 0; g < e.Group.ListCount(); ++g) {
            e.Group.SetListIndex(g);
            for (int k = 0; k < e.Parameters.ListCount(); ++k) e.Parameters.SetListIndex(k);
        }
        e.Autoset.UserClick();
        e.Save.UserClick();
        EXPECT_EQ(ReadBytes(dir / "tarven.ini"), e.IniText);
        EXPECT_EQ(p.quits, 1);
    }
}

TEST_F(EditorOddFiles, TenMegabyteFilesLoadAndSave) {
    std::string padding;
    while (padding.size() < 10u * 1024 * 1024)
        padding += Text(";комментарий, который занимает место⏎");
    const std::string base = padding + kBase;
    const std::string ini = padding + kIni;
    StartAndLoad(base, ini);
    EXPECT_EQ(editor.Version.Items(), (Items{"v1", "v2"}));
    EXPECT_EQ(editor.Group.Items(), (Items{"[A]", "[B]", "[C]"}));
    EXPECT_EQ(editor.Description.Text(), Text("скорость"));
    editor.Value.TypeText("8");
    editor.Save.UserClick();
    EXPECT_TRUE(SameBytes(ReadBytes(dir / "tarven.ini"),
                          padding + Text(";ini⏎TARVEN=1.1⏎[A]⏎X=8 ⏎Y=0 ;c⏎[B]⏎Z=b⏎[C]⏎W=5⏎")));
}

// Saves that cannot complete: the message names the file, the program goes on, and
// the file on disk keeps its old content.
TEST_F(EditorSave, FailedSavesLeaveTheOldFile) {
    struct Case {
        const char* name;
        std::function<bool(const fs::path& file)> breakIt;  // false: cannot be done here
        std::function<void()> restore;
    };
    const Case cases[] = {
        // On Windows: the read-only attribute.
        {"read-only file",
         [](const fs::path& f) {
             fs::permissions(f, fs::perms::owner_read);
             return true;
         },
         [] {}},
        // A writable file in a folder without write permission is saved in place now
        // (TextFile.SaveInReadOnlyFolderWritesInPlaceButCreatesNothing).
        {"file size limit (a full disk to the writer)",
         [](const fs::path&) { return test::LimitFileSize(16); }, [] { test::UnlimitFileSize(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadedEditor row(dir);
        FakePlatform& p = row.platform;
        Editor& e = row.editor;
        if (HasFatalFailure()) return;
        e.Value.TypeText("8");
        const bool broken = c.breakIt(dir / "tarven.ini");
        if (!broken && test::kWindows) {
            std::cout << "row not run, " << c.name
                      << ": Windows has no file size limit per process\n";
            continue;
        }
        ASSERT_TRUE(broken);
        e.Save.UserClick();
        c.restore();
        fs::permissions(dir, fs::perms::owner_all);
        fs::permissions(dir / "tarven.ini", fs::perms::owner_read | fs::perms::owner_write);
        ASSERT_EQ(p.messages.size(), 1u);
        EXPECT_EQ(p.messages[0].icon, MessageIcon::Critical);
        EXPECT_NE(p.messages[0].text.find((dir / "tarven.ini").string()), std::string::npos);
        EXPECT_EQ(p.quits, 0);
        EXPECT_EQ(ReadBytes(dir / "tarven.ini"), kIni);
        // No temporary file is left behind.
        int entries = 0;
        for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir)) ++entries;
        EXPECT_EQ(entries, 2);
    }
}

TEST_F(EditorSave, SaveThroughALinkWritesItsTargetAndKeepsPermissions) {
    if (test::kWindows)
        GTEST_SKIP() << "symbolic links need a privilege on Windows, and it has no mode bits";
    WriteBytes(dir / "rvbase.txt", kBase);
    fs::create_directories(dir / "real");
    WriteBytes(dir / "real" / "tarven.ini", kIni);
    fs::permissions(dir / "real" / "tarven.ini",
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(fs::path("real") / "tarven.ini", dir / "tarven.ini");
    ASSERT_TRUE(editor.Form_Load());
    platform.answers.push_back((dir / "tarven.ini").string());
    editor.Loadini.UserClick();
    editor.Value.TypeText("8");
    editor.Save.UserClick();
    EXPECT_TRUE(fs::is_symlink(dir / "tarven.ini"));
    EXPECT_EQ(ReadBytes(dir / "real" / "tarven.ini"),
              Text(";ini⏎TARVEN=1.1⏎[A]⏎X=8 ⏎Y=0 ;c⏎[B]⏎Z=b⏎[C]⏎W=5⏎"));
    EXPECT_EQ(fs::status(dir / "real" / "tarven.ini").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(EditorStartUp, UnreadableBaseEndsStartUp) {
    fs::create_directories(dir / "rvbase.txt");  // a folder where the base should be
    EXPECT_FALSE(editor.Form_Load());
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, messages::kBaseNotFound);
}

}  // namespace
}  // namespace ravlet::test
