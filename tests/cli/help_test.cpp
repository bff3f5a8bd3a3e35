// --help and --version of ravlet-cli: exit 0 without reading a file, and the help
// says what the README's command table says.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "cli/run.hpp"
#include "support/cli_runner.hpp"
#include "support/files.hpp"
#include "support/text.hpp"

namespace {

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
    {"CommandHelpNamesItsArgumentsAndOptions",
     {"params", "--help"},
     "Использование: ravlet-cli [--base FILE] params VERSION GROUP [--full]\n"
     "имена параметров группы (с --full и параметры «-»)\n\n"
     "Аргументы:\n"
     "  VERSION         имя версии, как его выводит versions\n"
     "  GROUP           заголовок группы в скобках, например [Video]\n\n"
     "Опции:\n"
     "  --full          также параметры полного списка (строки базы с «-»)\n"
     "  --base FILE     база версий; без опции rvbase.txt текущей папки (до или после команды)\n"
     "  --wait SECONDS  ждать файл, занятый другой программой, не дольше SECONDS секунд (без "
     "опции 30)\n"
     "  -h, --help      эта справка\n"},
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

// The README's command table and the general help list the same commands, with the
// same arguments and options, in the same order.
TEST(GeneralHelp, ListsTheReadmesCommands) {
    std::ifstream readme(RAVLET_README);
    ASSERT_TRUE(readme) << RAVLET_README;
    const std::regex row(R"(^\| `([a-z]+[^`]*)` \|)");
    std::vector<std::string> documented;
    for (std::string line; std::getline(readme, line);) {
        std::smatch match;
        if (std::regex_search(line, match, row)) documented.push_back(match[1]);
    }
    std::istringstream help(RunCliInProcess({"--help"}).out);
    std::vector<std::string> listed;
    bool inCommands = false;
    for (std::string line; std::getline(help, line);) {
        if (line == "Команды:") {
            inCommands = true;
        } else if (line.empty()) {
            inCommands = false;
        } else if (inCommands) {
            listed.push_back(line.substr(2, line.find("  ", 2) - 2));
        }
    }
    EXPECT_EQ(listed, documented);
}

}  // namespace
