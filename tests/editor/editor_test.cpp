// The editor driven through its control model: start-up, the selection cascade,
// loading and saving.
#include <gtest/gtest.h>

#include <exception>
#include <filesystem>
#include <new>
#include <stdexcept>

#include "editor/messages.hpp"
#include "operations/shared_messages.hpp"
#include "editor_fixture.hpp"

namespace ravlet::test {
namespace {

using Items = std::vector<std::string>;

// The controls start-up disables and loading enables.
std::vector<bool> EditingEnabled(const Editor& e) {
    return {e.Autoupdate.Enabled(), e.Parameters.Enabled(), e.Advanced.Enabled(),
            e.Version.Enabled(),    e.Value.Enabled(),      e.Group.Enabled(),
            e.Save.Enabled()};
}

// ---- Start-up --------------------------------------------------------------

TEST_F(EditorStartUp, StartUpListsVersionsWithEditingDisabled) {
    WriteBytes(dir / "rvbase.txt", kBase);
    ASSERT_TRUE(editor.Form_Load());
    EXPECT_EQ(editor.AppDir, (dir / "").string());
    EXPECT_EQ(editor.BaseText, kBase);
    EXPECT_EQ(editor.Version.Items(), (Items{"v1", "v2"}));
    EXPECT_EQ(editor.Version.ListIndex(), -1);
    EXPECT_EQ(EditingEnabled(editor), std::vector<bool>(7, false));
    EXPECT_TRUE(editor.Loadini.Enabled());
    EXPECT_TRUE(editor.Autoset.Enabled());
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(EditorStartUp, StartUpWithoutBaseShowsMessageAndQuits) {
    EXPECT_FALSE(editor.Form_Load());
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, messages::kBaseNotFound);
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(platform.quits, 1);
}

TEST_F(EditorStartUp, BeforeLoadingOnlyTheBoxesAndTheHintFieldReact) {
    WriteBytes(dir / "rvbase.txt", kBase);
    ASSERT_TRUE(editor.Form_Load());
    editor.Description.SetText("old hint");
    editor.Autoset.UserClick();
    editor.Advanced.UserClick();  // disabled: refuses the click
    editor.Description.UserClick();
    EXPECT_EQ(editor.Autoset.Value(), 1);
    EXPECT_EQ(editor.Advanced.Value(), 0);
    EXPECT_EQ(editor.Group.ListCount(), 0);
    EXPECT_EQ(editor.IniText, "");
    EXPECT_EQ(editor.Description.Text(), "");
}

// ---- Loading and the cascade ---------------------------------------------------

TEST_F(EditorLoading, LoadingRunsTheWholeCascade) {
    StartAndLoad();
    EXPECT_EQ(editor.IniPath, (dir / "tarven.ini").string());
    EXPECT_EQ(EditingEnabled(editor), std::vector<bool>(7, true));
    EXPECT_EQ(editor.Version.ListIndex(), 0);
    EXPECT_EQ(editor.Group.Items(), (Items{"[A]", "[B]", "[C]"}));
    EXPECT_EQ(editor.Group.ListIndex(), 0);
    EXPECT_EQ(editor.Parameters.Items(), (Items{"X"}));
    EXPECT_EQ(editor.Parameters.ListIndex(), 0);
    EXPECT_EQ(editor.Value.Items(), (Items{"1", "2", "4", "8"}));
    EXPECT_EQ(editor.Value.ListIndex(), 1);
    EXPECT_EQ(editor.Description.Text(), Text("скорость"));
    // Arriving at X rewrote its value with the one trailing space.
    EXPECT_EQ(editor.IniText, Text(";ini⏎TARVEN=1.1⏎[A]⏎X=2 ⏎Y=0 ;c⏎[B]⏎Z=b⏎[C]⏎W=5⏎"));
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(EditorLoading, LoadDialogHasTitleFilterAndStartFileName) {
    StartAndLoad();
    ASSERT_EQ(platform.requests.size(), 1u);
    EXPECT_EQ(platform.requests[0].title, "Открыть tarven.ini");
    EXPECT_EQ(platform.requests[0].filters,
              (std::vector<FileFilter>{
                  {"Файл настройки", "*.ini"}, {"Текстовый файл", "*.txt"}, {"Все файлы", "*.*"}}));
    EXPECT_EQ(platform.requests[0].fileName, (dir / "tarven.ini").string());

    // Started with a settings file named, every Load starts at that file.
    editor.LoadStart = (dir / "other.ini").string();
    editor.Loadini.UserClick();
    ASSERT_EQ(platform.requests.size(), 2u);
    EXPECT_EQ(platform.requests[1].fileName, (dir / "other.ini").string());
}

TEST_F(EditorLoading, UnrecognisedVersionWarnsAndFallsBackToTheLast) {
    StartAndLoad(kBase, Text(";x⏎TARVEN=9.9⏎[A]⏎X=!0⏎"));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, kVersionNotRecognised);
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(editor.Version.ListIndex(), 1);
    EXPECT_EQ(editor.Group.Items(), (Items{"[A]"}));
    EXPECT_EQ(editor.Value.Items(), (Items{"!0"}));  // current value alone
}

TEST_F(EditorLoading, CancellingTheLoadDialogChangesNothing) {
    WriteBytes(dir / "rvbase.txt", kBase);
    WriteBytes(dir / "tarven.ini", kIni);  // would be used if a cancel went on
    ASSERT_TRUE(editor.Form_Load());
    platform.answers.push_back(std::nullopt);
    editor.Loadini.UserClick();
    EXPECT_EQ(editor.IniPath, "");
    EXPECT_EQ(editor.IniText, "");
    EXPECT_EQ(EditingEnabled(editor), std::vector<bool>(7, false));
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(EditorLoading, UnreadableFileIsReportedAndChangesNothing) {
    StartAndLoad();
    const std::string textBefore = editor.IniText;
    struct Case {
        const char* name;
        std::filesystem::path path;
    };
    std::filesystem::create_directories(dir / "folder.ini");
    for (const Case& c :
         {Case{"missing", dir / "missing.ini"}, Case{"folder", dir / "folder.ini"}}) {
        SCOPED_TRACE(c.name);
        platform.messages.clear();
        platform.answers.push_back(c.path.string());
        editor.Loadini.UserClick();
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].icon, MessageIcon::Critical);
        EXPECT_EQ(platform.messages[0].text.rfind(
                      "Не удалось загрузить файл настроек " + c.path.string() + ":\n", 0),
                  0u);
        EXPECT_EQ(editor.IniPath, (dir / "tarven.ini").string());
        EXPECT_EQ(editor.IniText, textBefore);
    }
}

TEST_F(EditorLoading, SecondFileOfTheSameVersionRefreshesTheLists) {
    StartAndLoad();
    editor.Value.TypeText("8");
    Load(Text(";two⏎TARVEN=1.0⏎[A]⏎X=4⏎"), "two.ini");
    EXPECT_EQ(editor.IniPath, (dir / "two.ini").string());
    EXPECT_EQ(editor.Version.ListIndex(), 0);
    EXPECT_EQ(editor.Value.ListIndex(), 2);
    EXPECT_EQ(editor.Value.Text(), "4");
    EXPECT_EQ(editor.IniText, Text(";two⏎TARVEN=1.0⏎[A]⏎X=4 ⏎"));
}

TEST_F(EditorLoading, EmptyVersionListEnablesControlsWithoutSelection) {
    StartAndLoad(Text(";no versions⏎"), kIni);
    EXPECT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(EditingEnabled(editor), std::vector<bool>(7, true));
    EXPECT_EQ(editor.Version.ListIndex(), -1);
    EXPECT_EQ(editor.Group.ListCount(), 0);
    EXPECT_EQ(editor.IniText, kIni);
}

// ---- Browsing and editing ------------------------------------------------------

TEST_F(EditorBrowsing, SelectingGroupAndParameterWritesAndShowsHints) {
    StartAndLoad();
    editor.Group.SetListIndex(1);
    EXPECT_EQ(editor.Parameters.Items(), (Items{"Z"}));
    EXPECT_EQ(editor.Value.Items(), (Items{"a", "b"}));
    EXPECT_EQ(editor.Value.ListIndex(), 1);
    EXPECT_EQ(editor.Description.Text(), "zet");
    EXPECT_EQ(editor.IniText, Text(";ini⏎TARVEN=1.1⏎[A]⏎X=2 ⏎Y=0 ;c⏎[B]⏎Z=b ⏎[C]⏎W=5⏎"));

    editor.Value.SetListIndex(0);
    EXPECT_EQ(editor.IniText, Text(";ini⏎TARVEN=1.1⏎[A]⏎X=2 ⏎Y=0 ;c⏎[B]⏎Z=a ⏎[C]⏎W=5⏎"));
}

TEST_F(EditorBrowsing, AdvancedSwitchesToTheFullListAndKeepsTheGroup) {
    StartAndLoad();
    editor.Advanced.UserClick();
    EXPECT_EQ(editor.Group.ListIndex(), 0);
    EXPECT_EQ(editor.Parameters.Items(), (Items{"X", "Y"}));
    editor.Parameters.SetListIndex(1);
    EXPECT_EQ(editor.Value.Items(), (Items{"OFF", "ON"}));
    EXPECT_EQ(editor.Value.ListIndex(), 0);
    EXPECT_EQ(editor.Description.Text(), Text("режим"));  // the general description line
    editor.Value.SetListIndex(1);                         // ON is stored as 1
    EXPECT_EQ(editor.IniText, Text(";ini⏎TARVEN=1.1⏎[A]⏎X=2 ⏎Y=1 ;c⏎[B]⏎Z=b⏎[C]⏎W=5⏎"));
    editor.Advanced.UserClick();
    EXPECT_EQ(editor.Parameters.Items(), (Items{"X"}));
}

TEST_F(EditorBrowsing, GroupWithoutListedParametersEmptiesWhatIsBelow) {
    StartAndLoad();
    editor.Group.SetListIndex(2);  // [C] holds only a "-" parameter
    EXPECT_EQ(editor.Parameters.ListCount(), 0);
    EXPECT_EQ(editor.Parameters.ListIndex(), -1);
    EXPECT_EQ(editor.Value.ListCount(), 0);
    EXPECT_EQ(editor.Value.Text(), "");
    EXPECT_EQ(editor.Description.Text(), "");
    // Typing with no parameter selected writes nowhere.
    const std::string before = editor.IniText;
    editor.Value.TypeText("7");
    EXPECT_EQ(editor.IniText, before);
}

TEST_F(EditorBrowsing, VersionWithoutGroupsEmptiesTheLists) {
    const std::string base = kBase + Text("⏎TARVEN=v3⏎SUPPORT=3.0⏎");
    StartAndLoad(base, Text(";x⏎TARVEN=3.0⏎[A]⏎X=1⏎"));
    EXPECT_EQ(editor.Version.ListIndex(), 2);
    EXPECT_EQ(editor.Group.ListCount(), 0);
    EXPECT_EQ(editor.Parameters.ListCount(), 0);
    EXPECT_EQ(editor.Value.ListCount(), 0);
    EXPECT_EQ(editor.Description.Text(), "");
}

TEST_F(EditorBrowsing, TypingWritesAtEveryKeystroke) {
    StartAndLoad();
    std::vector<std::string> seen;
    for (const char* typed : {"1", "12", ""}) {
        editor.Value.TypeText(typed);
        seen.push_back(editor.IniText);
    }
    EXPECT_EQ(seen, (Items{Text(";ini⏎TARVEN=1.1⏎[A]⏎X=1 ⏎Y=0 ;c⏎[B]⏎Z=b⏎[C]⏎W=5⏎"),
                           Text(";ini⏎TARVEN=1.1⏎[A]⏎X=12 ⏎Y=0 ;c⏎[B]⏎Z=b⏎[C]⏎W=5⏎"),
                           Text(";ini⏎TARVEN=1.1⏎[A]⏎X= ⏎Y=0 ;c⏎[B]⏎Z=b⏎[C]⏎W=5⏎")}));
}

TEST_F(EditorBrowsing, HintFieldClickShowsTheEditedText) {
    StartAndLoad();
    editor.Value.TypeText("8");
    editor.Description.UserClick();
    EXPECT_EQ(editor.Description.Text(), editor.IniText);
    editor.Parameters.SetListIndex(0);
    EXPECT_EQ(editor.Description.Text(), Text("скорость"));
}

// ---- Fill from base defaults through Autoset -----------------------------------------

TEST_F(EditorFill, CheckingAutosetFillsEveryParameterThenShowsTheFirst) {
    StartAndLoad();
    editor.Autoset.UserClick();
    EXPECT_EQ(editor.IniText, Text(";ini⏎TARVEN=1.1⏎[A]⏎X=4 ⏎Y=1 ;c⏎[B]⏎Z=a ⏎[C]⏎W=1 ⏎"));
    EXPECT_EQ(editor.Group.ListIndex(), 0);
    EXPECT_EQ(editor.Parameters.Items(), (Items{"X"}));
    EXPECT_EQ(editor.Value.ListIndex(), 2);
    EXPECT_EQ(std::vector<bool>({editor.Advanced.Enabled(), editor.Group.Enabled(),
                                 editor.Parameters.Enabled(), editor.Value.Enabled()}),
              std::vector<bool>(4, true));

    // Unchecking changes no value.
    const std::string filled = editor.IniText;
    editor.Autoset.UserClick();
    EXPECT_EQ(editor.IniText, filled);
}

TEST_F(EditorFill, LoadingWithAutosetCheckedFillsTheNewText) {
    WriteBytes(dir / "rvbase.txt", kBase);
    ASSERT_TRUE(editor.Form_Load());
    editor.Autoset.UserClick();
    Load(kIni, "tarven.ini");
    EXPECT_EQ(editor.IniText, Text(";ini⏎TARVEN=1.1⏎[A]⏎X=4 ⏎Y=1 ;c⏎[B]⏎Z=a ⏎[C]⏎W=1 ⏎"));
}

TEST_F(EditorFill, DuringTheFillNothingCanStartAnotherFillLoadOrSave) {
    StartAndLoad();
    std::vector<std::vector<bool>> during;
    platform.onYield = [&] {
        during.push_back({editor.Version.Enabled(), editor.Autoset.Enabled(),
                          editor.Loadini.Enabled(), editor.Autoupdate.Enabled(),
                          editor.Save.Enabled(), editor.Advanced.Enabled(), editor.Group.Enabled(),
                          editor.Parameters.Enabled(), editor.Value.Enabled()});
        editor.Save.UserClick();  // refused while disabled
    };
    editor.Autoset.UserClick();
    ASSERT_EQ(during.size(), 4u);  // X, Y, Z, W: one yield per parameter
    for (const auto& states : during) EXPECT_EQ(states, std::vector<bool>(9, false));
    EXPECT_EQ(platform.quits, 0);
    EXPECT_EQ(EditingEnabled(editor), std::vector<bool>(7, true));
    EXPECT_TRUE(editor.Loadini.Enabled());
    EXPECT_TRUE(editor.Autoset.Enabled());
}

TEST_F(EditorFill, FillSkipsYieldsThePlatformSaysAreNotDue) {
    StartAndLoad();
    int shown = 0;
    editor.BeforeYield = [&] { ++shown; };
    platform.yieldDue = false;
    editor.Autoset.UserClick();
    EXPECT_EQ(platform.yields, 0);
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(editor.IniText, Text(";ini⏎TARVEN=1.1⏎[A]⏎X=4 ⏎Y=1 ;c⏎[B]⏎Z=a ⏎[C]⏎W=1 ⏎"));
}

// ---- Save -----------------------------------------------------------------------

TEST_F(EditorSave, SaveWritesTheTextExactlyThenConfirmsAndQuits) {
    StartAndLoad();
    editor.Value.TypeText("8");
    editor.Save.UserClick();
    EXPECT_EQ(ReadBytes(dir / "tarven.ini"),
              Text(";ini⏎TARVEN=1.1⏎[A]⏎X=8 ⏎Y=0 ;c⏎[B]⏎Z=b⏎[C]⏎W=5⏎"));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, messages::kSaved);
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(platform.quits, 1);
}

TEST_F(EditorSave, FailedSaveKeepsEditingAndTheOldFile) {
    StartAndLoad();
    editor.Value.TypeText("8");
    std::filesystem::remove(dir / "tarven.ini");
    std::filesystem::create_directories(dir / "tarven.ini");  // now a folder: the save must fail
    editor.Save.UserClick();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(platform.messages[0].text.rfind(
                  "Не удалось сохранить файл настроек " + (dir / "tarven.ini").string() + ":\n", 0),
              0u);
    EXPECT_EQ(platform.quits, 0);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "tarven.ini"));
    EXPECT_EQ(editor.IniText, Text(";ini⏎TARVEN=1.1⏎[A]⏎X=8 ⏎Y=0 ;c⏎[B]⏎Z=b⏎[C]⏎W=5⏎"));
}

TEST_F(EditorSave, UnforeseenFailureIsWordedInRussian) {
    const struct {
        const char* name;
        std::exception_ptr error;
        std::string text;
    } rows[] = {
        {"no memory", std::make_exception_ptr(std::bad_alloc()),
         "Действие не выполнено из-за непредвиденной ошибки:\nнедостаточно памяти"},
        {"other", std::make_exception_ptr(std::length_error("too long")),
         "Действие не выполнено из-за непредвиденной ошибки:\ntoo long"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        platform.messages.clear();
        try {
            std::rethrow_exception(row.error);
        } catch (const std::exception& error) {
            editor.ReportFailure(error);
        }
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].text, row.text);
        EXPECT_EQ(platform.messages[0].icon, MessageIcon::Critical);
    }
}

TEST_F(EditorSave, UntouchedFileComesBackByteForByte) {
    // A key-free parameter never rewrites anything, so the file is saved unchanged,
    // with its LF-only line ends and without a line end after the last line.
    const std::string base = Text(";b⏎TARVEN=v⏎SUPPORT=7⏎[S]⏎+K=1,2⏎");
    const std::string ini = "TARVEN=7\n[S]\nOther=1\n\xE0\xFF\x98 end";
    StartAndLoad(base, ini);
    editor.Save.UserClick();
    EXPECT_EQ(ReadBytes(dir / "tarven.ini"), ini);
}

}  // namespace
}  // namespace ravlet::test
