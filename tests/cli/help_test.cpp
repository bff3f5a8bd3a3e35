// --help and --version of ravlet-cli: exit 0 without reading a file, and the help,
// generated from the command table, says what the README's command table says.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "cli/command_line.hpp"
#include "cli/run.hpp"
#include "support/cli_runner.hpp"
#include "support/files.hpp"
#include "support/text.hpp"

namespace {

using ravlet::cli::Commands;
using ravlet::cli::Synopsis;
using ravlet::test::CliOutcome;
using ravlet::test::RunCliInProcess;
using ravlet::test::TempDir;
using ravlet::test::Text;

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.rfind(prefix, 0) == 0;
}

// The base named is missing and the settings file must stay as it is: a run that read
// or wrote either would not end with status 0 and this output.
class HelpTouchesNoFile : public testing::Test {
protected:
    TempDir dir;
    const std::string ini = dir.Write("tarven.ini", Text(";ini⏎TARVEN=1.0⏎[A]⏎X=1⏎"));
    const std::string missingBase = (dir.path() / "none.txt").string();
};

struct RequestCase {
    const char* name;
    std::vector<std::string> args;  // "@ini" and "@base" stand for the fixture's files
    std::string outStart;
};

const RequestCase kRequestCases[] = {
    {"Version", {"--version"}, "ravlet-cli " RAVLET_VERSION "\n"},
    {"VersionAfterBase", {"--base", "@base", "--version"}, "ravlet-cli " RAVLET_VERSION "\n"},
    {"Help", {"--help"}, "ravlet-cli: файл настроек tarven.ini"},
    {"ShortHelp", {"-h"}, "ravlet-cli: файл настроек tarven.ini"},
    {"HelpBeforeCommandIsGeneral", {"--help", "set"}, "ravlet-cli: файл настроек tarven.ini"},
    {"CommandHelpWithAllArguments",
     {"--base", "@base", "set", "@ini", "[A]", "X", "5", "--help"},
     "Использование: ravlet-cli [--base FILE] set INI GROUP KEY VALUE\n"},
    {"CommandHelpBeforeMissingArguments",
     {"diff", "-h"},
     "Использование: ravlet-cli [--base FILE] diff OLD INI [--version V]\n"},
    {"CommandHelpAfterDryRun",
     {"defaults", "@ini", "--dry-run", "--help"},
     "Использование: ravlet-cli [--base FILE] defaults INI [--version V] [--dry-run]\n"},
};

TEST_F(HelpTouchesNoFile, ExitsZeroWithText) {
    const std::string before = dir.Read("tarven.ini");
    for (const RequestCase& c : kRequestCases) {
        std::vector<std::string> args;
        for (const auto& arg : c.args)
            args.push_back(arg == "@ini" ? ini : arg == "@base" ? missingBase : arg);
        const CliOutcome got = RunCliInProcess(args);
        EXPECT_EQ(got.status, 0) << c.name << ": " << got.err;
        EXPECT_EQ(got.err, "") << c.name;
        EXPECT_TRUE(StartsWith(got.out, c.outStart)) << c.name << ":\n" << got.out;
    }
    EXPECT_EQ(dir.Read("tarven.ini"), before);
}

// Each command's help names every argument and option it takes, one line each.
TEST(CommandHelp, ListsEveryArgumentAndOption) {
    for (const auto& command : Commands()) {
        const CliOutcome got = RunCliInProcess({std::string(command.name), "--help"});
        EXPECT_EQ(got.status, 0) << command.name;
        std::vector<std::string> names;
        for (const auto& argument : command.arguments) names.emplace_back(argument.name);
        for (const auto& option : command.options) names.emplace_back(option.name);
        names.emplace_back("--base FILE");
        for (const auto& name : names) {
            EXPECT_NE(got.out.find("\n  " + name + " "), std::string::npos)
                << command.name << ' ' << name;
        }
    }
}

// The general help lists every command by its synopsis, as the parser takes it.
TEST(GeneralHelp, ListsEveryCommand) {
    const std::string help = RunCliInProcess({"--help"}).out;
    for (const auto& command : Commands()) {
        EXPECT_NE(help.find("\n  " + Synopsis(command) + "  "), std::string::npos) << command.name;
    }
}

// The README's command table and the help name the same commands, arguments and
// options in the same order.
TEST(GeneralHelp, ReadmeTableHasTheSameCommands) {
    std::ifstream readme(RAVLET_README);
    ASSERT_TRUE(readme) << RAVLET_README;
    const std::regex row(R"(^\| `([a-z]+[^`]*)` \|)");
    std::vector<std::string> documented;
    for (std::string line; std::getline(readme, line);) {
        std::smatch match;
        if (std::regex_search(line, match, row)) documented.push_back(match[1]);
    }
    std::vector<std::string> parsed;
    for (const auto& command : Commands()) parsed.push_back(Synopsis(command));
    EXPECT_EQ(documented, parsed);
}

}  // namespace
