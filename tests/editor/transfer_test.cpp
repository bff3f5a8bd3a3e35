// The transfer from an older settings file, driven through the Auto button.
#include <gtest/gtest.h>

#include "editor_fixture.hpp"
#include "operations/transfer.hpp"

namespace ravlet::test {
namespace {

const std::string kTransferBase = Text(
    ";b⏎[DESCRIPTIONS]⏎A:X=speed⏎:Y=mode⏎⏎"
    "TARVEN=v⏎SUPPORT=new⏎[A]⏎+X=1,5⏎+Y=!1⏎");
const std::string kNewIni = Text(";new⏎TARVEN=new⏎[A]⏎X=1⏎Y=1⏎");
const std::string kOldIni = Text(";old⏎[A]⏎X=5⏎Y=OFF⏎");

class EditorTransfer : public EditorTest {
protected:
    void Transfer(const std::string& old) {
        WriteBytes(dir / "old.ini", old);
        platform.answers.push_back((dir / "old.ini").string());
        editor.Autoupdate.UserClick();
    }
};

TEST_F(EditorTransfer, CarriesDescribedKeysAndReportsThem) {
    StartAndLoad(kTransferBase, kNewIni);
    Transfer(kOldIni);
    EXPECT_EQ(editor.IniText, Text(";new⏎TARVEN=new⏎[A]⏎X=5 ⏎Y=0 ⏎"));
    EXPECT_EQ(editor.OldIniText, kOldIni);
    EXPECT_EQ(editor.Description.Text(), Text("Список перенесенных параметров:⏎[A]X=5⏎Y=0"));
    // The lists were refreshed from the changed text.
    EXPECT_EQ(editor.Parameters.ListIndex(), 0);
    EXPECT_EQ(editor.Value.Text(), "5");
    EXPECT_EQ(platform.busyCalls, (std::vector<bool>{true, false}));
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(EditorTransfer, DialogOpensWithTheLastReportedFile) {
    StartAndLoad(kTransferBase, kNewIni);
    Transfer(kOldIni);
    ASSERT_EQ(platform.requests.size(), 2u);
    EXPECT_EQ(platform.requests[1].title, "Открыть tarven.ini старой версии");
    EXPECT_EQ(platform.requests[1].filters,
              (std::vector<FileFilter>{
                  {"Файл настройки", "*.ini"}, {"Текстовый файл", "*.txt"}, {"Все файлы", "*.*"}}));
    EXPECT_EQ(platform.requests[1].fileName, (dir / "tarven.ini").string());
}

TEST_F(EditorTransfer, CancelledDialogChangesNothing) {
    StartAndLoad(kTransferBase, kNewIni);
    editor.Value.TypeText("edited");
    const std::string before = editor.IniText;
    platform.answers.push_back(std::nullopt);
    editor.Autoupdate.UserClick();
    EXPECT_EQ(editor.IniText, before);
    EXPECT_EQ(editor.OldIniText, "");
    EXPECT_TRUE(platform.busyCalls.empty());
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(EditorTransfer, UnreadableOldFileIsReported) {
    StartAndLoad(kTransferBase, kNewIni);
    editor.Description.SetText("stale hint");
    const std::string before = editor.IniText;
    platform.answers.push_back((dir / "missing.ini").string());
    editor.Autoupdate.UserClick();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(platform.messages[0].text.rfind("Не удалось загрузить старый файл настроек " +
                                                  (dir / "missing.ini").string() + ":\n",
                                              0),
              0u);
    EXPECT_FALSE(platform.messages[0].busyWhileShown);
    EXPECT_EQ(editor.IniText, before);
    // An empty report: nothing was carried.
    EXPECT_EQ(editor.Description.Text(), Text("Список перенесенных параметров:"));
    EXPECT_EQ(platform.busyCalls, (std::vector<bool>{true, false}));
}

TEST_F(EditorTransfer, StoppedWalkKeepsWhatWasCarriedAndSaysWhy) {
    struct Case {
        const char* name;
        std::string base;
        std::string expectedIni;
        std::string expectedReport;
        std::string messagePart;
    };
    const Case cases[] = {
        {"no descriptions section", Text(";b⏎TARVEN=v⏎SUPPORT=new⏎[A]⏎+X=1,5⏎+Y=!1⏎"),
         Text(";new⏎TARVEN=new⏎[A]⏎X=1 ⏎Y=1⏎"), Text("Список перенесенных параметров:"),
         "[DESCRIPTIONS]"},
        {"section runs into a group",
         Text(";b⏎[DESCRIPTIONS]⏎A:X=speed⏎[Q]⏎+K=1⏎⏎TARVEN=v⏎SUPPORT=new⏎[A]⏎+X=1,5⏎"),
         Text(";new⏎TARVEN=new⏎[A]⏎X=5 ⏎Y=1⏎"), Text("Список перенесенных параметров:⏎[A]X=5"),
         "[Q]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform.messages.clear();
        editor.Version.Clear();
        StartAndLoad(c.base, kNewIni);
        Transfer(kOldIni);
        EXPECT_EQ(editor.IniText, c.expectedIni);
        EXPECT_EQ(editor.Description.Text(), c.expectedReport);
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].icon, MessageIcon::Critical);
        EXPECT_NE(platform.messages[0].text.find(c.messagePart), std::string::npos)
            << platform.messages[0].text;
        EXPECT_EQ(platform.busyCalls.back(), false);
        EXPECT_FALSE(platform.messages[0].busyWhileShown);
    }
}

TEST_F(EditorTransfer, ChoosingTheLoadedFileRestoresItsStoredValues) {
    StartAndLoad(kTransferBase, kNewIni);
    editor.Value.TypeText("edited");
    platform.answers.push_back((dir / "tarven.ini").string());
    editor.Autoupdate.UserClick();
    EXPECT_EQ(editor.IniText, Text(";new⏎TARVEN=new⏎[A]⏎X=1 ⏎Y=1 ⏎"));
}

}  // namespace
}  // namespace ravlet::test
