// ravlet-cli's bulk operations change exactly what the window's operations change on
// the same texts: the editor loads a file (its browse rewrites the first parameter),
// that text goes through the command line, and the result must equal what the
// editor makes of it with Autoset or Auto.
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "cli/run.hpp"
#include "support/cli_runner.hpp"
#include "support/files.hpp"
#include "editor/editor.hpp"
#include "support/fake_platform.hpp"
#include "textengine/codepage.hpp"

namespace ravlet::test {
namespace {

class CliMatchesEditor : public ::testing::Test {
protected:
    void SetUp() override {
        dir.Write("rvbase.txt", ReadExample("rvbase.txt"));
        ini = dir.Write("tarven.ini", ReadExample("tarven.ini"));
        old = dir.Write("old.ini", ReadExample("old/tarven.ini"));
        platform.directory = dir.path().string();
        ASSERT_TRUE(editor.Form_Load());
        platform.answers.push_back(ini);
        editor.Loadini.UserClick();
        ASSERT_GE(editor.Version.ListIndex(), 0);
        loaded = dir.Write("loaded.ini", editor.IniText);
    }

    TempDir dir;
    std::string ini;
    std::string old;
    std::string loaded;
    FakePlatform platform;
    Editor editor{platform};
};

TEST_F(CliMatchesEditor, DefaultsEqualsAutoset) {
    const CliOutcome cli = RunCliInProcess(
        {"--base", (dir.path() / "rvbase.txt").string(), "defaults", loaded, "--dry-run"});
    ASSERT_EQ(cli.status, 0) << cli.err;
    editor.Autoset.UserClick();
    EXPECT_NE(editor.IniText, dir.Read("loaded.ini"));  // the fill changed something
    EXPECT_EQ(cli.out, editor.IniText);
}

TEST_F(CliMatchesEditor, TransferEqualsAuto) {
    const CliOutcome cli = RunCliInProcess(
        {"--base", (dir.path() / "rvbase.txt").string(), "transfer", "--dry-run", old, loaded});
    ASSERT_EQ(cli.status, 0) << cli.err;
    platform.answers.push_back(old);
    editor.Autoupdate.UserClick();
    EXPECT_NE(editor.IniText, dir.Read("loaded.ini"));
    EXPECT_EQ(cli.out, editor.IniText);
    // The report too, line for line, in the terminal's encoding.
    std::string report = Cp1251ToUtf8(editor.Description.Text());
    for (std::size_t at; (at = report.find("\r\n")) != std::string::npos;)
        report.replace(at, 2, "\n");
    EXPECT_EQ(cli.err, report + "\n");
}

}  // namespace
}  // namespace ravlet::test
