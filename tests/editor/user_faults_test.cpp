// Faults users met in the window, reproduced headless: ';' in a typed value, a
// parameter the settings file lacks, a file changed behind the editor's back.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

#include "editor/messages.hpp"
#include "editor_fixture.hpp"
#include "textengine/locked_text_file.hpp"

namespace ravlet::test {
namespace {

namespace fs = std::filesystem;

// Which character is refused is decided by the window's validator table; here, how
// one the UTF-8 message cannot show as it is gets named.
TEST(RefusedCharacter, InvisibleOrUnencodableNamedByCode) {
    const auto note = [](ValueFault fault, char32_t ch) {
        return RefusedCharacterMessage({fault, ch});
    };
    EXPECT_EQ(note(ValueFault::Semicolon, U';'),
              "Символ «;» нельзя записать в файл настроек: с него начинается комментарий");
    EXPECT_EQ(note(ValueFault::OutsideCodePage, U'😀'),
              "Символ «😀» нельзя записать в файл настроек: его нет в кодовой странице "
              "Windows-1251");
    EXPECT_EQ(note(ValueFault::ControlCharacter, U'\x7f'),
              "Символ «U+007F» нельзя записать в файл настроек: это управляющий символ");
    EXPECT_EQ(note(ValueFault::ControlCharacter, 0x98),
              "Символ «U+0098» нельзя записать в файл настроек: это управляющий символ");
    EXPECT_EQ(note(ValueFault::OutsideCodePage, char32_t{0xD83D}),
              "Символ «U+D83D» нельзя записать в файл настроек: его нет в кодовой странице "
              "Windows-1251");
}

TEST_F(EditorBrowsing, TypedRefusedValueIsNeverWritten) {
    StartAndLoad();
    const std::string before = editor.IniText;
    for (const char* typed : {";", "1;", "1;;", "1\x7f", "1\x98"}) {
        editor.Value.TypeText(typed);
        EXPECT_EQ(editor.IniText, before) << typed;
    }
}

TEST_F(EditorBrowsing, HintNotesAParameterMissingFromTheFile) {
    const std::string note = Text("нет в файле настроек, не будет записано");
    struct Row {
        const char* name;
        std::string ini;
        int group;
        int parameter;  // in the full list
        std::string hint;
    };
    const Row rows[] = {
        {"present", kIni, 0, 1, Text("режим")},
        {"absent", Text(";ini⏎TARVEN=1.1⏎[A]⏎X=2⏎[B]⏎Z=b⏎"), 0, 1, Text("режим⏎") + note},
        {"only in another group", Text(";ini⏎TARVEN=1.1⏎[A]⏎X=2⏎[B]⏎Y=1⏎"), 0, 1,
         Text("режим⏎") + note},
        {"group absent", Text(";ini⏎TARVEN=1.1⏎[A]⏎X=2⏎Y=1⏎"), 1, 0, Text("zet⏎") + note},
        {"no hint in the base", Text(";ini⏎TARVEN=1.1⏎[A]⏎X=2⏎"), 2, 0, note},
    };
    StartAndLoad();
    editor.Advanced.UserClick();  // the full lists, kept across the loads below
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Load(r.ini, "tarven.ini");
        editor.Group.SetListIndex(r.group);
        editor.Parameters.SetListIndex(r.parameter);
        EXPECT_EQ(editor.Description.Text(), r.hint);
    }
}

TEST_F(EditorSave, SaveAsksBeforeOverwritingAFileChangedSinceTheLoad) {
    const std::string edited = Text(";ini⏎TARVEN=1.1⏎[A]⏎X=8 ⏎Y=0 ;c⏎[B]⏎Z=b⏎[C]⏎W=5⏎");
    const std::string sameSize = Text(";ini⏎TARVEN=1.1⏎[A]⏎X=3⏎Y=0 ;c⏎[B]⏎Z=b⏎[C]⏎W=5⏎");
    struct Row {
        const char* name;
        std::optional<std::string> changedTo;  // nullopt: the file is removed
        bool yes;
        int questions;
        std::string onDisk;  // "" for no file
        const char* question = messages::kChangedOnDisk;
        std::optional<std::string> changedWhileAsked = std::nullopt;  // asked again, Yes again
    };
    const Row rows[] = {
        {"unchanged: no question", kIni, false, 0, edited},
        {"same size, other bytes, No", sameSize, false, 1, sameSize},
        {"changed, Yes", Text(";other⏎"), true, 1, edited},
        {"removed, Yes", std::nullopt, true, 1, edited, messages::kDeletedOnDisk},
        {"changed again while asked, Yes twice", Text(";other⏎"), true, 2, edited,
         messages::kChangedOnDisk, Text(";third⏎")},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        FakePlatform p;
        p.directory = dir.string();
        p.yesNoAnswers = {r.yes};
        if (r.changedWhileAsked) {
            p.onAsk = [&] {
                if (p.questions.size() == 1) WriteBytes(dir / "tarven.ini", *r.changedWhileAsked);
            };
        }
        Editor e(p);
        StartAndLoadIn(dir, p, e);
        if (HasFatalFailure()) return;
        e.Value.TypeText("8");
        if (r.changedTo)
            WriteBytes(dir / "tarven.ini", *r.changedTo);
        else
            fs::remove(dir / "tarven.ini");
        e.Save.UserClick();
        EXPECT_EQ(p.questions, std::vector<std::string>(r.questions, r.question));
        EXPECT_EQ(fs::exists(dir / "tarven.ini") ? ReadBytes(dir / "tarven.ini") : "", r.onDisk);
        const bool saved = r.onDisk == edited;
        EXPECT_EQ(p.quits, saved ? 1 : 0);
        EXPECT_EQ(p.messages.size(), saved ? 1u : 0u);  // "saved", or nothing after No
        EXPECT_EQ(e.IniText, edited);
    }
}

// The holder below is this thread's own Ravlet writer: POSIX sees its marker lock, while a
// Windows mutex is its owner's again, so there it reads as another program's hold.
#ifdef _WIN32
constexpr bool kOwnWriterSeen = false;
#else
constexpr bool kOwnWriterSeen = true;
#endif

// Another Ravlet writer holds the settings file: after about a second the user is asked,
// with the normal pointer; No stops the wait with nothing changed and nothing said,
// Yes waits on until the file is free.
TEST_F(EditorSave, ALockWaitAsksAndCanBeStopped) {
    const std::string edited = Text(";ini⏎TARVEN=1.1⏎[A]⏎X=8 ⏎Y=0 ;c⏎[B]⏎Z=b⏎[C]⏎W=5⏎");
    struct Row {
        const char* name;
        bool yes;  // the answer; Yes frees the file while the question is open
        std::string onDisk;
        int quits;
    };
    const Row rows[] = {
        {"No", false, kIni, 0},
        {"Yes", true, edited, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        LoadedEditor row(dir);
        FakePlatform& p = row.platform;
        Editor& e = row.editor;
        if (HasFatalFailure()) return;
        e.Value.TypeText("8");
        std::optional<LockedTextFile> other(std::in_place, (dir / "tarven.ini").string());
        p.yesNoAnswers = {r.yes};
        std::vector<bool> busyWhileAsked;
        p.onAsk = [&] {
            busyWhileAsked.push_back(!p.busyCalls.empty() && p.busyCalls.back());
            if (r.yes) other.reset();
        };
        e.Save.UserClick();
        other.reset();
        ASSERT_EQ(p.questions.size(), 1u);
        EXPECT_EQ(p.questions[0],
                  messages::FileHeld((dir / "tarven.ini").string(), 30, kOwnWriterSeen));
        EXPECT_EQ(busyWhileAsked, std::vector<bool>{false});
        EXPECT_EQ(ReadBytes(dir / "tarven.ini"), r.onDisk);
        EXPECT_EQ(e.IniText, edited);  // nothing lost, whatever the answer
        EXPECT_EQ(p.quits, r.quits);
        EXPECT_EQ(p.messages.size(), static_cast<std::size_t>(r.quits));  // "saved" only
        EXPECT_FALSE(p.busyCalls.back());
    }
}

TEST_F(EditorBrowsing, DisabledListRefusesTheUsersSelection) {
    StartAndLoad();
    int clicks = 0;
    editor.Parameters.Click = [&] { ++clicks; };
    editor.Parameters.UserSelect(0);  // the selected row again: still a click
    editor.Parameters.SetEnabled(false);
    editor.Parameters.UserSelect(0);
    EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace ravlet::test
