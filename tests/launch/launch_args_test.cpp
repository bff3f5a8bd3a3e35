#include "launch/launch_args.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "support/files.hpp"

namespace {

namespace fs = std::filesystem;
using ravlet::launch::LaunchArgs;
using ravlet::launch::ParseLaunchArgs;
using Action = LaunchArgs::Action;

// A scratch folder as the current folder: dir/ with tarven.ini, other.ini and rvbase.txt,
// top.ini, link.ini -> dir/other.ini (where the system lets a test make links), and a
// folder named -x.
class LaunchArgsTest : public testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(root_ / "dir");
        fs::create_directories(root_ / "-x");
        for (const char* file : {"dir/tarven.ini", "dir/other.ini", "dir/rvbase.txt", "top.ini"})
            ravlet::test::WriteBytes(root_ / file, "[A]\n");
        std::error_code noLink;
        fs::create_symlink("dir/other.ini", root_ / "link.ini", noLink);
        linked_ = !noLink;
        fs::current_path(root_);
    }
    void TearDown() override { fs::current_path(saved_); }

    LaunchArgs Parse(std::vector<std::string> args) const {
        args.insert(args.begin(), "ravlet");
        std::vector<const char*> argv;
        for (const auto& arg : args) argv.push_back(arg.c_str());
        return ParseLaunchArgs(static_cast<int>(argv.size()), argv.data());
    }

    const fs::path saved_ = fs::current_path();
    ravlet::test::TempDir temp_{"ravlet-launch-"};
    const fs::path root_ = fs::canonical(temp_.path());
    bool linked_ = false;
};

struct RunCase {
    const char* name;
    std::vector<std::string> args;  // "@" stands for the scratch folder's absolute path
    const char* folder;             // relative to the scratch folder, "" for itself
    const char* dialog;
};

const RunCase kRunCases[] = {
    {"NoArgumentIsCurrentFolder", {}, "", "tarven.ini"},
    {"Folder", {"dir"}, "dir", "dir/tarven.ini"},
    {"FolderWithSlash", {"dir/"}, "dir", "dir/tarven.ini"},
    {"FolderThroughDotDot", {"./dir/../dir"}, "dir", "dir/tarven.ini"},
    {"AbsoluteFolder", {"@/dir"}, "dir", "dir/tarven.ini"},
    {"DotIsCurrentFolder", {"."}, "", "tarven.ini"},
    {"FileInFolder", {"dir/other.ini"}, "dir", "dir/other.ini"},
    {"FileInCurrentFolder", {"top.ini"}, "", "top.ini"},
    {"LinkStaysALinkInItsOwnFolder", {"link.ini"}, "", "link.ini"},
    {"DashNameAfterDoubleDash", {"--", "-x"}, "-x", "-x/tarven.ini"},
};

TEST_F(LaunchArgsTest, RunsInFolderWithDialogAtFile) {
    for (const RunCase& c : kRunCases) {
        // Windows lets few users make links.
        if (!linked_ && std::string(c.name) == "LinkStaysALinkInItsOwnFolder") continue;
        std::vector<std::string> args = c.args;
        for (auto& arg : args) {
            if (arg.rfind("@", 0) == 0) arg = root_.string() + arg.substr(1);
        }
        const LaunchArgs got = Parse(args);
        EXPECT_EQ(got.action, Action::Run) << c.name << ": " << got.text;
        EXPECT_EQ(got.exitStatus, 0) << c.name;
        EXPECT_EQ(got.text, "") << c.name;
        const fs::path folder = *c.folder ? root_ / c.folder : root_;
        EXPECT_EQ(got.folder, folder) << c.name;
        EXPECT_EQ(got.dialogFile, root_ / c.dialog) << c.name;
    }
}

// --ask-folder: whether the folder is asked for, and where the answer leads.
struct AskCase {
    const char* name;
    std::vector<std::string> args;
    const char* chosen;  // the folder the user picks, relative; nullptr: not asked yet
    const char* folder;  // relative to the scratch folder, "" for itself
    const char* dialog;
    bool ask;
};

const AskCase kAskCases[] = {
    {"NotAskedWithoutTheOption", {}, nullptr, "", "tarven.ini", false},
    {"NotAskedWhereTheBaseIs", {"--ask-folder", "dir"}, nullptr, "dir", "dir/tarven.ini", false},
    {"AskedWithoutBase", {"--ask-folder"}, nullptr, "", "tarven.ini", true},
    {"AskedForAFileWithoutBase", {"--ask-folder", "top.ini"}, nullptr, "", "top.ini", true},
    {"NotAskedForAFileBesideTheBase",
     {"--ask-folder", "dir/other.ini"},
     nullptr,
     "dir",
     "dir/other.ini",
     false},
    {"ChosenFolderWithBase", {"--ask-folder"}, "dir", "dir", "dir/tarven.ini", false},
    {"ChosenFolderWithoutBaseAsksAgain", {"--ask-folder"}, "-x", "-x", "-x/tarven.ini", true},
    {"ChosenThroughDotDot", {"--ask-folder"}, "-x/../dir", "dir", "dir/tarven.ini", false},
    {"FileGivenKeepsTheDialog", {"--ask-folder", "top.ini"}, "dir", "dir", "top.ini", false},
};

TEST_F(LaunchArgsTest, AsksForTheFolderOnlyWhereNoBaseIs) {
    for (const AskCase& c : kAskCases) {
        LaunchArgs got = Parse(c.args);
        if (c.chosen != nullptr) got = ravlet::launch::WorkIn(std::move(got), root_ / c.chosen);
        EXPECT_EQ(got.action, Action::Run) << c.name << ": " << got.text;
        EXPECT_EQ(got.askFolder, c.ask) << c.name;
        EXPECT_EQ(got.folder, *c.folder ? root_ / c.folder : root_) << c.name;
        EXPECT_EQ(got.dialogFile, root_ / c.dialog) << c.name;
    }
}

struct TextCase {
    const char* name;
    std::vector<std::string> args;
    Action action;
    int status;
    std::string text;  // the whole text, or its first line for help
};

// The program names itself as its user starts it, with the system's paths.
#ifdef _WIN32
const std::string kProgram = "ravlet.exe";
#else
const std::string kProgram = "ravlet";
#endif
const std::string kHint = "\nСправка: " + kProgram + " --help\n";
const std::string kUsage = "Использование: " + kProgram + " [ПАПКА | ФАЙЛ]";

const TextCase kTextCases[] = {
    {"Version", {"--version"}, Action::PrintVersion, 0, "ravlet " RAVLET_VERSION "\n"},
    {"VersionAfterPath",
     {"dir", "--version"},
     Action::PrintVersion,
     0,
     "ravlet " RAVLET_VERSION "\n"},
    {"VersionBeforeMissingPath",
     {"--version", "missing"},
     Action::PrintVersion,
     0,
     "ravlet " RAVLET_VERSION "\n"},
    {"Help", {"--help"}, Action::PrintHelp, 0, kUsage},
    {"ShortHelp", {"-h"}, Action::PrintHelp, 0, kUsage},
    {"MissingPath",
     {"missing"},
     Action::Fail,
     2,
     "ravlet: \"missing\": файл или папка не найдены" + kHint},
    {"EmptyPath", {""}, Action::Fail, 2, "ravlet: \"\": файл или папка не найдены" + kHint},
    {"PathThroughAFile",
     {"top.ini/tarven.ini"},
     Action::Fail,
     2,
     // Windows tells a file in the way from a missing folder no more than by "not found".
     std::string("ravlet: \"top.ini/tarven.ini\": ") +
         (ravlet::test::kWindows ? "файл или папка не найдены" : "в пути есть не папка") + kHint},
    {"TwoPaths",
     {"dir", "top.ini"},
     Action::Fail,
     2,
     "ravlet: лишний аргумент \"top.ini\": окну задаётся одна папка или один файл" + kHint},
    {"UnknownOption", {"--full"}, Action::Fail, 2, "ravlet: неизвестная опция \"--full\"" + kHint},
    {"DashNameWithoutDoubleDash",
     {"-x"},
     Action::Fail,
     2,
     "ravlet: неизвестная опция \"-x\"" + kHint},
    {"UnknownOptionBeforeHelp",
     {"--bogus", "--help"},
     Action::Fail,
     2,
     "ravlet: неизвестная опция \"--bogus\"" + kHint},
    {"HelpAfterDoubleDashIsAPath",
     {"--", "--help"},
     Action::Fail,
     2,
     "ravlet: \"--help\": файл или папка не найдены" + kHint},
};

TEST_F(LaunchArgsTest, PrintsOrFails) {
    for (const TextCase& c : kTextCases) {
        const LaunchArgs got = Parse(c.args);
        EXPECT_EQ(got.action, c.action) << c.name;
        EXPECT_EQ(got.exitStatus, c.status) << c.name;
        const std::string text =
            c.action == Action::PrintHelp ? got.text.substr(0, got.text.find('\n')) : got.text;
        EXPECT_EQ(text, c.text) << c.name;
        EXPECT_EQ(got.folder, fs::path()) << c.name;
    }
}

}  // namespace
