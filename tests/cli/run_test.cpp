#include "cli/run.hpp"

#include <gtest/gtest.h>

#include <exception>
#include <filesystem>
#include <new>
#include <stdexcept>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "cli/command_line.hpp"
#include "cli/commands.hpp"
#include "support/cli_runner.hpp"
#include "support/files.hpp"
#include "support/table.hpp"
#include "support/text.hpp"
#include "textengine/text_file.hpp"
#include "textengine/value_rule.hpp"
#include "versionbase/catalogue.hpp"
#include "textengine/key_lookup.hpp"
#include "versionbase/version_list.hpp"

namespace {

using ravlet::test::CliOutcome;
using ravlet::test::RunCliInProcess;
using ravlet::test::TempDir;
using ravlet::test::Text;

const std::string kBase = Text(
    ";base⏎[DESCRIPTIONS]⏎Звук:Громкость=громкость⏎:Язык=язык меню⏎⏎"
    "TARVEN=v1⏎SUPPORT=1.0⏎[Звук]⏎+Громкость=тихо,@громко⏎+Эхо=!1⏎");
const std::string kIni = Text(";ini⏎TARVEN=1.0⏎Язык=ru⏎[Звук]⏎Громкость=тихо ;к⏎Эхо=0⏎");

class RunCliFiles : public testing::Test {
protected:
    TempDir dir;
    const std::string base = dir.Write("rvbase.txt", kBase);
    const std::string ini = dir.Write("tarven.ini", kIni);
};

TEST_F(RunCliFiles, SetConvertsCyrillicArgumentsAndWritesFile) {
    const CliOutcome got = RunCliInProcess({"set", ini, "[Звук]", "Громкость", "громко"});
    EXPECT_EQ(got.status, 0);
    EXPECT_EQ(got.out + got.err, "");
    EXPECT_EQ(dir.Read("tarven.ini"),
              Text(";ini⏎TARVEN=1.0⏎Язык=ru⏎[Звук]⏎Громкость=громко ;к⏎Эхо=0⏎"));
}

// A path that starts with '/' is a path on every system (on Windows from the root of
// the current drive), never an option written the Windows way.
TEST(RunCli, SlashLeadingPathsArePaths) {
    const std::filesystem::path examples = std::filesystem::absolute(RAVLET_EXAMPLES_DIR);
    if (examples.root_name() != std::filesystem::current_path().root_name()) {
        GTEST_SKIP() << "the examples are on another drive than the current folder";
    }
    const std::string root = "/" + examples.relative_path().generic_string();
    const CliOutcome detect =
        RunCliInProcess({"--base", root + "/rvbase.txt", "detect", root + "/tarven.ini"});
    EXPECT_EQ(detect.status, 0) << detect.err;
    EXPECT_EQ(detect.out, "2.0\n");
    const CliOutcome values =
        RunCliInProcess({"values", "2.0", "[Video]", "Scale", root + "/tarven.ini", "--base",
                         root + "/rvbase.txt"});
    EXPECT_EQ(values.status, 0) << values.err;
    EXPECT_EQ(values.out, "  1\n  2\n* 3\n  4\n");
}

// The file is not written at all: the same file (inode), the same time, and a
// read-only file gives the same answer instead of a failed save.
TEST_F(RunCliFiles, SetOfAbsentKeyLeavesFile) {
    namespace fs = std::filesystem;
    const fs::path file = dir.path() / "tarven.ini";
    const auto time = fs::last_write_time(file);
#ifndef _WIN32
    struct stat before {};
    ASSERT_EQ(::stat(ini.c_str(), &before), 0);
#endif
    for (const bool readOnly : {false, true}) {
        if (readOnly) fs::permissions(file, fs::perms::owner_read);
        const CliOutcome got = RunCliInProcess({"set", ini, "[Звук]", "Язык", "en"});
        EXPECT_EQ(got.status, 1) << got.err;
        EXPECT_EQ(got.err, "Параметр \"Язык\" не найден в группе \"[Звук]\", файл не изменён\n");
        EXPECT_EQ(dir.Read("tarven.ini"), kIni);
        EXPECT_EQ(fs::last_write_time(file), time);
#ifndef _WIN32
        struct stat after {};
        ASSERT_EQ(::stat(ini.c_str(), &after), 0);
        EXPECT_EQ(after.st_ino, before.st_ino);
#endif
    }
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
}

// Nothing to put back ends as "not found", not as done.
TEST_F(RunCliFiles, RecoverWithoutACopyChangesNothing) {
    const CliOutcome got = RunCliInProcess({"recover", ini});
    EXPECT_EQ(got.status, 1);
    EXPECT_EQ(got.out, "");
    EXPECT_EQ(got.err, "У файла " + ini + " нет копии прерванной записи: возвращать нечего\n");
    EXPECT_EQ(dir.Read("tarven.ini"), kIni);
}

TEST_F(RunCliFiles, DefaultsDryRunPrintsBytesAndWritesNothing) {
    const CliOutcome got = RunCliInProcess({"--base", base, "defaults", ini, "--dry-run"});
    EXPECT_EQ(got.status, 0);
    EXPECT_EQ(got.out, Text(";ini⏎TARVEN=1.0⏎Язык=ru⏎[Звук]⏎Громкость=громко ;к⏎Эхо=1 ⏎"));
    EXPECT_EQ(got.err, "");
    EXPECT_EQ(dir.Read("tarven.ini"), kIni);
}

TEST_F(RunCliFiles, TransferWritesFileAndPrintsReport) {
    const std::string old = dir.Write("old.ini", Text("[Звук]⏎Громкость=громко⏎Язык=en⏎"));
    const CliOutcome got = RunCliInProcess({"transfer", old, ini, "--base", base});
    EXPECT_EQ(got.status, 0);
    EXPECT_EQ(got.out, "Список перенесенных параметров:\n[Звук]Громкость=громко\nЯзык=en\n");
    EXPECT_EQ(got.err, "");
    EXPECT_EQ(dir.Read("tarven.ini"),
              Text(";ini⏎TARVEN=1.0⏎Язык=en ⏎[Звук]⏎Громкость=громко ;к⏎Эхо=0⏎"));
}

TEST_F(RunCliFiles, TransferDryRunSendsReportToStderr) {
    const std::string old = dir.Write("old.ini", Text("[Звук]⏎Громкость=громко⏎"));
    const CliOutcome got = RunCliInProcess({"--base", base, "transfer", "--dry-run", old, ini});
    EXPECT_EQ(got.status, 0);
    EXPECT_EQ(got.out, Text(";ini⏎TARVEN=1.0⏎Язык=ru⏎[Звук]⏎Громкость=громко ;к⏎Эхо=0⏎"));
    EXPECT_EQ(got.err, "Список перенесенных параметров:\n[Звук]Громкость=громко\n");
    EXPECT_EQ(dir.Read("tarven.ini"), kIni);
}

TEST_F(RunCliFiles, TransferFromUnreadableOldFileStopsWithoutWriting) {
    const std::string missing = (dir.path() / "none.ini").string();
    for (const bool dryRun : {false, true}) {
        std::vector<std::string> args{"--base", base, "transfer", missing, ini};
        if (dryRun) args.push_back("--dry-run");
        const CliOutcome got = RunCliInProcess(args);
        EXPECT_EQ(got.status, 1);
        EXPECT_EQ(got.out, "");
        EXPECT_EQ(got.err.rfind("Перенос не выполнен: ", 0), 0u) << got.err;
        EXPECT_NE(got.err.find("none.ini"), std::string::npos) << got.err;
        EXPECT_EQ(dir.Read("tarven.ini"), kIni);
    }
}

TEST(TerminalOfCodeset, OnlyWindows1251NamesGiveACp1251Terminal) {
    using ravlet::cli::Terminal;
    for (const char* name : {"CP1251", "cp1251", "WINDOWS-1251", "windows-1251"}) {
        EXPECT_EQ(ravlet::cli::TerminalOfCodeset(name), Terminal::Cp1251) << name;
    }
    for (const char* name : {"UTF-8", "ANSI_X3.4-1968", "KOI8-R", "CP1252", "CP12511", ""}) {
        EXPECT_EQ(ravlet::cli::TerminalOfCodeset(name), Terminal::Utf8) << name;
    }
}

// On a Windows-1251 terminal names and values are typed and shown as the texts hold them.
TEST_F(RunCliFiles, Cp1251TerminalTakesAndPrintsCp1251) {
    const auto cp1251 = ravlet::cli::Terminal::Cp1251;
    const CliOutcome values = RunCliInProcess(
        {"--base", base, "values", "v1", Text("[Звук]"), Text("Громкость"), ini}, cp1251);
    EXPECT_EQ(values.status, 0);
    EXPECT_EQ(values.out, Text("* тихо\n  громко\n"));

    const CliOutcome set =
        RunCliInProcess({"set", ini, Text("[Звук]"), Text("Громкость"), Text("громко")}, cp1251);
    EXPECT_EQ(set.status, 0);
    EXPECT_EQ(dir.Read("tarven.ini"),
              Text(";ini⏎TARVEN=1.0⏎Язык=ru⏎[Звук]⏎Громкость=громко ;к⏎Эхо=0⏎"));

    const CliOutcome absent =
        RunCliInProcess({"set", ini, Text("[Звук]"), Text("Язык"), "en"}, cp1251);
    EXPECT_EQ(absent.status, 1);
    EXPECT_EQ(absent.err,
              Text("Параметр \"Язык\" не найден в группе \"[Звук]\", файл не изменён\n"));
}

// Windows-1251 pairs that are also valid UTF-8 ("Р»" is the bytes of "л", "С…" of
// "х", "В" and a no-break space of a no-break space): a conversion that took them for
// UTF-8 would change them.
TEST_F(RunCliFiles, Cp1251TerminalKeepsPairsThatLookLikeUtf8) {
    const std::string pairs = "\xD0\xBB\xD1\x85\xC2\xA0";
    const std::string base2 = dir.Write(
        "pairs.txt", Text(";b⏎TARVEN=v1⏎SUPPORT=1.0⏎[Звук]⏎+K") + pairs + "=a,@b" + pairs + "\r\n");
    const std::string ini2 = dir.Write("pairs.ini", ";i\r\nTARVEN=1.0\r\n[" + pairs + "]\r\n" +
                                                        Text("[Звук]⏎K") + pairs + "=a\r\n");
    const struct {
        const char* name;
        std::vector<std::string> args;
        std::string out;
    } rows[] = {
        {"names", {"--base", base2, "params", "v1", Text("[Звук]")}, "K" + pairs + "\n"},
        {"values",
         {"--base", base2, "values", "v1", Text("[Звук]"), "K" + pairs, ini2},
         "* a\n  b" + pairs + "\n"},
        {"dry run",
         {"--base", base2, "defaults", ini2, "--dry-run"},
         ";i\r\nTARVEN=1.0\r\n[" + pairs + "]\r\n" + Text("[Звук]⏎K") + pairs + "=b" + pairs +
             " \r\n"},
    };
    for (const auto& row : rows) {
        const CliOutcome got = RunCliInProcess(row.args, ravlet::cli::Terminal::Cp1251);
        EXPECT_EQ(got.status, 0) << row.name << ": " << got.err;
        EXPECT_EQ(got.out, row.out) << row.name;
    }
}

TEST_F(RunCliFiles, Cp1251TerminalDryRunKeepsTheTextsOwnBytes) {
    const std::string old = dir.Write("old.ini", Text("[Звук]⏎Громкость=громко⏎"));
    const CliOutcome got = RunCliInProcess({"--base", base, "transfer", "--dry-run", old, ini},
                                           ravlet::cli::Terminal::Cp1251);
    EXPECT_EQ(got.status, 0);
    EXPECT_EQ(got.out, Text(";ini⏎TARVEN=1.0⏎Язык=ru⏎[Звук]⏎Громкость=громко ;к⏎Эхо=0⏎"));
    EXPECT_EQ(got.err, Text("Список перенесенных параметров:\n[Звук]Громкость=громко\n"));
}

TEST_F(RunCliFiles, MissingBaseIsFileError) {
    const std::string missing = (dir.path() / "none.txt").string();
    std::string expected;
    try {
        ravlet::LoadTextFile(missing);
    } catch (const ravlet::FileError& e) {
        expected = std::string(e.what()) + "\n";
    }
    ASSERT_NE(expected, "");
    const CliOutcome got = RunCliInProcess({"--base", missing, "versions"});
    EXPECT_EQ(got.status, 3);
    EXPECT_EQ(got.out, "");
    EXPECT_EQ(got.err, expected);
}

// A stream that accepts nothing stands for a full disk or a closed pipe on stdout or
// stderr.
TEST_F(RunCliFiles, OutputThatFailsExitsThreeOnBothTerminals) {
    using ravlet::cli::Terminal;
    for (const Terminal terminal : {Terminal::Utf8, Terminal::Cp1251}) {
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"--base", base, "defaults", ini, "--dry-run"},
              std::vector<std::string>{"--base", base, "versions"}}) {
            std::ostream failing(nullptr);
            std::ostringstream err;
            EXPECT_EQ(RunCliInProcess(args, failing, err, terminal), 3);
            EXPECT_NE(err.str(), "");
        }
    }
    // stderr that takes nothing: the message of a key not found is lost, so is the result.
    std::ostringstream out;
    std::ostream failing(nullptr);
    EXPECT_EQ(RunCliInProcess({"set", ini, "[Звук]", "Язык", "en"}, out, failing), 3);
    EXPECT_EQ(dir.Read("tarven.ini"), kIni);
}

// Every command that writes refuses a folder as a file error, the dry runs too.
TEST_F(RunCliFiles, WritingCommandsRefuseAFolder) {
    const std::string folder = (dir.path() / "folder.ini").string();
    std::filesystem::create_directory(folder);
    const std::string old = dir.Write("old.ini", Text("[Звук]⏎Громкость=громко⏎"));
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"set", folder, "[Звук]", "Эхо", "1"},
          {"--base", base, "defaults", folder},
          {"--base", base, "defaults", folder, "--dry-run"},
          {"--base", base, "transfer", old, folder},
          {"--base", base, "transfer", old, folder, "--dry-run"},
          {"recover", folder}}) {
        const CliOutcome got = RunCliInProcess(args);
        EXPECT_EQ(got.status, 3) << args[args.size() > 3 ? 3 : 0];
        EXPECT_EQ(got.err, folder + ": это папка, а не файл\n");
    }
    EXPECT_TRUE(std::filesystem::is_directory(folder));
}

struct UsageCase {
    const char* name;
    std::vector<std::string> args;
    std::string err;
    ravlet::cli::Terminal terminal = ravlet::cli::Terminal::Utf8;
};

// The second line of a parse error: the command's usage, or where the commands are listed.
std::string Usage(const std::string& synopsis) {
    return "\nИспользование: ravlet-cli [--base FILE] " + synopsis + "\n";
}
const std::string kListHint = "\nСписок команд: ravlet-cli --help\n";

const UsageCase kUsageCases[] = {
    {"GroupWithoutBrackets",
     {"hint", "Video", "Scale"},
     "Группа задаётся заголовком в скобках, например [Video]: \"Video\"\n"},
    {"GroupWithoutOpeningBracket",
     {"hint", "Video]", "Scale"},
     "Группа задаётся заголовком в скобках, например [Video]: \"Video]\"\n"},
    {"CharacterOutsideCodePage",
     {"hint", "[A]", "Xé"},
     "Аргумент \"Xé\" содержит символ вне кодовой страницы Windows-1251\n"},
    {"ControlCharacterInValue",
     {"set", "no-such.ini", "[A]", "X", "a\tb"},
     "Символ «U+0009» нельзя записать в файл настроек: это управляющий символ\n"},
    {"LineBreakInKey",
     {"get", "no-such.ini", "X\nY"},
     "Имя не может содержать управляющие символы\n"},
    {"DeleteInValue",
     {"set", "no-such.ini", "[A]", "X", "a\x7f"},
     "Символ «U+007F» нельзя записать в файл настроек: это управляющий символ\n"},
    {"C1ControlInValue",
     {"set", "no-such.ini", "[A]", "X", "a\xC2\x98"},
     "Символ «U+0098» нельзя записать в файл настроек: это управляющий символ\n"},
    {"Byte98InValueOnCp1251Terminal",
     {"set", "no-such.ini", "[A]", "X", "a\x98"},
     // The quotation marks are Windows-1251's 0xAB and 0xBB.
     Text("Символ ") +
         "\xAB"
         "U+0098\xBB" +
         Text(" нельзя записать в файл настроек: это управляющий символ\n"),
     ravlet::cli::Terminal::Cp1251},
    {"SemicolonInValue",
     {"set", "no-such.ini", "[A]", "X", "a;b"},
     "Символ «;» нельзя записать в файл настроек: с него начинается комментарий\n"},
    {"EscapeSequenceInArgumentIsShownEscaped",
     {"\x1b]0;x\x07\xC2\x9B"
      "2J\x7f"},
     "ravlet-cli: неизвестная команда \"\\x1B]0;x\\x07\\u009B2J\\x7F\"" + kListHint},
    {"InvalidUtf8InArgumentIsShownEscaped",
     {"hint", "[A]", "X\xFF\xC2"},
     "Аргумент \"X\\xFF\\xC2\" содержит символ вне кодовой страницы Windows-1251\n"},
    {"NoCommand", {}, "ravlet-cli: не задана команда" + kListHint},
    {"OnlyBase", {"--base", "no-such.txt"}, "ravlet-cli: не задана команда" + kListHint},
    {"UnknownCommand",
     {"frobnicate"},
     "ravlet-cli: неизвестная команда \"frobnicate\"" + kListHint},
    {"UnknownCommandOnCp1251Terminal",
     {Text("фу")},
     Text("ravlet-cli: неизвестная команда \"фу\"") + Text(kListHint),
     ravlet::cli::Terminal::Cp1251},
    {"MissingArgument",
     {"groups"},
     "ravlet-cli groups: не задан аргумент VERSION" + Usage("groups VERSION")},
    {"MissingLastArgument",
     {"values", "v1", "[A]", "X"},
     "ravlet-cli values: не задан аргумент INI" + Usage("values VERSION GROUP KEY INI")},
    {"MissingSecondFile",
     {"diff", "no-such.ini", "--version", "v1"},
     "ravlet-cli diff: не задан аргумент INI" + Usage("diff OLD INI [--version V]")},
    {"TooManyArguments",
     {"detect", "a.ini", "b.ini"},
     "ravlet-cli detect: лишний аргумент \"b.ini\"" + Usage("detect INI")},
    {"DoubleDashMakesHelpAnArgument",
     {"versions", "--", "--help"},
     "ravlet-cli versions: лишний аргумент \"--help\"" + Usage("versions")},
    {"OptionOfAnotherCommand",
     {"detect", "no-such.ini", "--full"},
     "ravlet-cli detect: неизвестная опция \"--full\"" + Usage("detect INI")},
    {"CommandOptionBeforeCommand",
     {"--dry-run", "defaults", "no-such.ini"},
     "ravlet-cli: неизвестная опция \"--dry-run\"" + kListHint},
    {"ProgramVersionAfterCommand",
     {"versions", "--version"},
     "ravlet-cli versions: неизвестная опция \"--version\"" + Usage("versions")},
    {"UnknownShortOption",
     {"check", "no-such.ini", "-x"},
     "ravlet-cli check: неизвестная опция \"-x\"" + Usage("check INI [--version V]")},
    {"OptionValueLooksLikeOption",
     {"get", "no-such.ini", "X", "--group", "--version", "v1"},
     "ravlet-cli get: вместо значения опции --group задана опция \"--version\"" +
         Usage("get FILE KEY [--group G] [--version V]")},
    {"OptionWithoutValue",
     {"changed", "no-such.ini", "--version"},
     "ravlet-cli changed: не задано значение опции --version (V)" +
         Usage("changed INI [--version V]")},
    {"BaseWithoutValue",
     {"versions", "--base"},
     "ravlet-cli versions: не задано значение опции --base (FILE)" + Usage("versions")},
    {"FlagWithValue",
     {"params", "v1", "[A]", "--full=yes"},
     "ravlet-cli params: опция --full не принимает значения" +
         Usage("params VERSION GROUP [--full]")},
    {"OptionTwice",
     {"--base", "a.txt", "versions", "--base", "b.txt"},
     "ravlet-cli versions: опция --base задана дважды" + Usage("versions")},
    {"WaitWithoutSeconds",
     {"versions", "--wait="},
     "ravlet-cli versions: опция --wait ожидает число секунд, а не \"\"" + Usage("versions")},
    {"WaitOfTwelveDigits",
     {"versions", "--wait", "123456789012"},
     "ravlet-cli versions: опция --wait ожидает число секунд, а не \"123456789012\"" +
         Usage("versions")},
    {"WaitTwice",
     {"--wait", "1", "versions", "--wait=2"},
     "ravlet-cli versions: опция --wait задана дважды" + Usage("versions")},
    {"FlagTwice",
     {"defaults", "no-such.ini", "--dry-run", "--dry-run"},
     "ravlet-cli defaults: опция --dry-run задана дважды" +
         Usage("defaults INI [--version V] [--dry-run]")},
};

void PrintTo(const UsageCase& c, std::ostream* os) { *os << c.name; }

using RunCliUsage = ravlet::test::Table<UsageCase>;

// Usage errors are found before any file is read (no-such.ini would be a file error).
TEST_P(RunCliUsage, ExitsTwoWithMessage) {
    const UsageCase& c = GetParam();
    const CliOutcome got = RunCliInProcess(c.args, c.terminal);
    EXPECT_EQ(got.status, 2);
    EXPECT_EQ(got.out, "");
    EXPECT_EQ(got.err, c.err);
}

RAVLET_TABLE(RunCli, RunCliUsage, kUsageCases);

// Every kind of exception a command can raise ends in a worded message and a status,
// never in std::terminate.
TEST(RunCli, EveryExceptionIsWorded) {
    using ravlet::RefusedCharacter;
    using ravlet::ValueFault;
    const struct {
        const char* name;
        std::exception_ptr failure;
        int status;
        std::string err;
    } rows[] = {
        {"command line", std::make_exception_ptr(ravlet::cli::CommandLineError("ravlet-cli: x")), 2,
         "ravlet-cli: x\n"},
        {"usage", std::make_exception_ptr(ravlet::cli::UsageError("y")), 2, "y\n"},
        {"control character",
         std::make_exception_ptr(
             ravlet::InvalidValue(RefusedCharacter{ValueFault::ControlCharacter, 0x7F})),
         2, "Символ «U+007F» нельзя записать в файл настроек: это управляющий символ\n"},
        {"semicolon",
         std::make_exception_ptr(
             ravlet::InvalidValue(RefusedCharacter{ValueFault::Semicolon, U';'})),
         2, "Символ «;» нельзя записать в файл настроек: с него начинается комментарий\n"},
        {"file, path escaped",
         std::make_exception_ptr(ravlet::FileError("a\x1b[2Jb", "диск заполнен")), 3,
         "a\\x1B[2Jb: диск заполнен\n"},
        {"memory", std::make_exception_ptr(std::bad_alloc()), 3,
         "Действие не выполнено из-за непредвиденной ошибки:\nнедостаточно памяти\n"},
        {"unforeseen", std::make_exception_ptr(std::out_of_range("basic_string::at")), 3,
         "Действие не выполнено из-за непредвиденной ошибки:\nbasic_string::at\n"},
        {"not an exception", std::make_exception_ptr(42), 3,
         "Действие не выполнено из-за непредвиденной ошибки\n"},
    };
    for (const auto& row : rows) {
        std::ostringstream err;
        EXPECT_EQ(ravlet::cli::ReportFailure(row.failure, err, ravlet::cli::Terminal::Utf8),
                  row.status)
            << row.name;
        EXPECT_EQ(err.str(), row.err) << row.name;
    }
}

// Forms the parser takes besides the plain "--option value": none may become a usage error.
struct AcceptedCase {
    const char* name;
    std::vector<std::string> args;  // "@base" and "@ini" stand for the fixture's files
    std::string out;
};

const AcceptedCase kAcceptedCases[] = {
    {"BaseAfterCommand", {"groups", "v1", "--base", "@base"}, "[Звук]\n"},
    {"BaseWithEquals", {"--base=@base", "groups", "v1"}, "[Звук]\n"},
    {"OptionValueWithEquals", {"get", "@ini", "Громкость", "--group=[Звук]"}, "тихо\n"},
    {"EmptyOptionValueWithEquals", {"get", "@ini", "Язык", "--group="}, "ru\n"},
    {"NegativeNumberIsAValue", {"get", "@ini", "-1"}, ""},
    {"DoubleDashBeforeArguments", {"get", "--", "@ini", "Язык"}, "ru\n"},
};

TEST_F(RunCliFiles, AcceptedForms) {
    for (const AcceptedCase& c : kAcceptedCases) {
        std::vector<std::string> args;
        for (std::string arg : c.args) {
            if (arg == "@ini") arg = ini;
            if (const auto at = arg.find("@base"); at != std::string::npos)
                arg.replace(at, 5, base);
            args.push_back(arg);
        }
        const CliOutcome got = RunCliInProcess(args);
        EXPECT_EQ(got.out, c.out) << c.name;
        EXPECT_NE(got.status, 2) << c.name << ": " << got.err;
    }
}

const std::string kExamples = RAVLET_EXAMPLES_DIR;

TEST(Examples, EveryParameterOfEveryVersionHasItsOwnHint) {
    const std::string base = ravlet::LoadTextFile(kExamples + "/rvbase.txt");
    const auto versions = ravlet::ListVersions(base);
    EXPECT_EQ(versions, (std::vector<std::string>{"0.9", "1.2", "2.0"}));
    for (const auto& version : versions) {
        for (const auto& group : ravlet::ListGroups(base, version)) {
            const std::string name = group.substr(1, group.size() - 2);
            for (const auto& key : ravlet::ListParameters(base, version, group, true)) {
                const std::string own =
                    ravlet::GetParamVal(base, "", "[DESCRIPTIONS]", name + ":" + key);
                EXPECT_NE(own, "") << version << ' ' << group << ' ' << key;
            }
        }
    }
}

TEST(Examples, OldSettingsCarryIntoNewOnes) {
    const CliOutcome got =
        RunCliInProcess({"--base", kExamples + "/rvbase.txt", "transfer", "--dry-run",
                         kExamples + "/old/tarven.ini", kExamples + "/tarven.ini"});
    EXPECT_EQ(got.status, 0);
    EXPECT_EQ(got.err,
              "Список перенесенных параметров:\n[Video]Fullscreen=0\n[Video]Scale=2\n"
              "[Video]Resolution=640x480\n[Video]VSync=0\n[Sound]Enabled=1\n[Sound]Volume=25\n"
              "[Sound]Rate=22050\n[Input]Joystick=1\n[Input]Layout=ЙЦУКЕН\n[Input]Deadzone=10\n"
              "[System]Model=Pimlow 128\n[System]Memory=128\n[System]Turbo=1\nLanguage=en\n");
    EXPECT_EQ(got.out, Text("; Настройки эмулятора Tarven Pimlow⏎TARVEN=2.0.1⏎Language=en ⏎"
                            "[Video]⏎Fullscreen=0 ⏎Scale=2 ; масштаб окна⏎Resolution=640x480 ⏎"
                            "VSync=0 ⏎[Sound]⏎Enabled=1 ⏎Volume=25 ⏎Rate=22050 ; Гц⏎"
                            "[Input]⏎Joystick=1 ⏎Layout=ЙЦУКЕН ⏎Deadzone=10 ⏎"
                            "[System]⏎Model=Pimlow 128 ⏎Memory=128 ; КБ⏎Turbo=1 ⏎"
                            "[Debug]⏎Log=0⏎"));
}

}  // namespace
