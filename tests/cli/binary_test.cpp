// Runs of the real ravlet-cli: arguments as a shell passes them, stdout, stderr and
// the exit status.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli_test_support.hpp"
#include "test_text.hpp"

namespace {

namespace fs = std::filesystem;
using ravlet::test::CliOutcome;
using ravlet::test::TempDir;
using ravlet::test::Text;

// Runs ravlet-cli in `cwd`; its output is caught in files of a separate folder so
// that `cwd` (the examples, say) is left as it was.
CliOutcome RunBinary(const fs::path& cwd, const std::vector<std::string>& args) {
    const TempDir capture;
    const std::string outPath = (capture.path() / "out").string();
    const std::string errPath = (capture.path() / "err").string();
    std::vector<char*> argv{const_cast<char*>(RAVLET_CLI_PATH)};
    for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    const pid_t pid = fork();
    if (pid == 0) {
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0 || chdir(cwd.c_str()) != 0) _exit(126);
        execv(RAVLET_CLI_PATH, argv.data());
        _exit(127);
    }
    int wstatus = 0;
    if (pid < 0 || waitpid(pid, &wstatus, 0) != pid || !WIFEXITED(wstatus)) return {-1, "", ""};
    return {WEXITSTATUS(wstatus), capture.Read("out"), capture.Read("err")};
}

const fs::path kExamples = RAVLET_EXAMPLES_DIR;

TEST(CliBinary, ListsAndDetectsExamples) {
    const CliOutcome versions = RunBinary(kExamples, {"versions"});
    EXPECT_EQ(versions.status, 0);
    EXPECT_EQ(versions.out, "0.9\n1.2\n2.0\n");
    EXPECT_EQ(versions.err, "");

    const CliOutcome detect = RunBinary(kExamples, {"detect", "tarven.ini"});
    EXPECT_EQ(detect.status, 0);
    EXPECT_EQ(detect.out, "2.0\n");
    EXPECT_EQ(detect.err, "");
}

TEST(CliBinary, CyrillicArgumentIsStoredAsWindows1251) {
    const TempDir dir;
    fs::copy(kExamples / "rvbase.txt", dir.path());
    fs::copy(kExamples / "tarven.ini", dir.path());
    std::string expected = dir.Read("tarven.ini");
    const std::string before = "Layout=QWERTY\r\n";
    expected.replace(expected.find(before), before.size(), Text("Layout=ЙЦУКЕН ⏎"));

    const CliOutcome set = RunBinary(dir.path(), {"set", "tarven.ini", "[Input]", "Layout", "ЙЦУКЕН"});
    EXPECT_EQ(set.status, 0);
    EXPECT_EQ(set.out + set.err, "");
    EXPECT_EQ(dir.Read("tarven.ini"), expected);

    const CliOutcome values = RunBinary(dir.path(), {"values", "2.0", "[Input]", "Layout", "tarven.ini"});
    EXPECT_EQ(values.status, 0);
    EXPECT_EQ(values.out, "  QWERTY\n* ЙЦУКЕН\n");
    EXPECT_EQ(values.err, "");
}

TEST(CliBinary, UnrecognisedVersionPrintsFallbackAndMessage) {
    const TempDir dir;
    fs::copy(kExamples / "rvbase.txt", dir.path());
    dir.Write("tarven.ini", Text(";ini⏎TARVEN=7.7⏎"));
    const CliOutcome got = RunBinary(dir.path(), {"detect", "tarven.ini"});
    EXPECT_EQ(got.status, 1);
    EXPECT_EQ(got.out, "2.0\n");
    EXPECT_EQ(got.err, "Не удалось распознать версию tarven.ini!\n");
}

TEST(CliBinary, UsageErrorExitsTwo) {
    const CliOutcome got = RunBinary(kExamples, {"params", "2.0", "Video"});
    EXPECT_EQ(got.status, 2);
    EXPECT_EQ(got.out, "");
    EXPECT_EQ(got.err, "Группа задаётся заголовком в скобках, например [Video]: \"Video\"\n");
}

}  // namespace
