// The command line of ravlet-cli as data: its commands with their arguments and
// options, the parser over them and the help texts made from the same table, so the
// help cannot name an argument the parser does not take.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "cli/terminal.hpp"
#include "operations/shared_messages.hpp"

namespace ravlet::cli {

// Every command; the run dispatches on it with a switch, so a command of the table
// without its case does not compile (-Wswitch, an error in CI).
enum class CommandId {
    Versions,
    Detect,
    Groups,
    Params,
    Values,
    Hint,
    Get,
    Set,
    Defaults,
    Transfer,
    Check,
    Changed,
    Diff,
    CheckBase,
    VersionsDiff,
    Recover,
};

// What an argument or an option's value is, and so how the run converts it before any
// file is read.
enum class ArgumentKind {
    File,         // a path, passed to the system as given
    Name,         // a version or key name: no control character, Windows-1251
    Group,        // a header in brackets, "[Video]"
    GroupOrNone,  // a header in brackets, or "" for the lines before any group
    Value,        // a value the value rule accepts, Windows-1251
};

struct ArgumentSpec {
    std::string_view name;  // "INI", as the usage line shows it
    ArgumentKind kind;
    std::string_view help;
};

struct OptionSpec {
    std::string_view name;       // "--full"
    std::string_view valueName;  // "V" for --version V; empty for a flag
    std::string_view help;
    ArgumentKind kind = ArgumentKind::File;  // of the value; unused for a flag
};

struct CommandSpec {
    CommandId id;
    std::string_view name;
    std::vector<ArgumentSpec> arguments;  // all required, in order
    std::vector<OptionSpec> options;      // besides --base and --help
    std::string_view help;                // one line
};

// Every command, in the order the help lists them.
const std::vector<CommandSpec>& Commands();

// "values VERSION GROUP KEY INI", "get FILE KEY [--group G] [--version V]".
std::string Synopsis(const CommandSpec& command);

// The texts of --help (UTF-8).
std::string GeneralHelp();
std::string CommandHelp(const CommandSpec& command);

// A command line that cannot be run; what() is the whole message in UTF-8, naming
// what was wrong and ending with a line on how to call it.
class CommandLineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct CommandLine {
    enum class Request { Run, Help, Version };
    Request request = Request::Run;
    const CommandSpec* command = nullptr;  // Help without a command: the general help
    std::string base = kBaseFileName;
    std::optional<int> wait;                            // --wait SECONDS
    std::map<std::string_view, std::string> arguments;  // by ArgumentSpec::name
    std::map<std::string_view, std::string> options;    // value options given
    std::set<std::string_view> flags;                   // flags given

    const std::string& Argument(std::string_view name) const;
    std::optional<std::string> Option(std::string_view name) const;
    bool Flag(std::string_view name) const;
};

// Parses argv (argv[0] is the program). An argument starting with "-" is an option
// unless it is "-" itself, a negative number, or follows "--"; an option's value may
// be given as "--group G" or "--group=G". --base may stand before or after the
// command, --version before it asks for the program's version, and --help or -h asks
// for the help of the command named before it. Arguments quoted in messages are shown
// from `terminal`'s encoding. Throws CommandLineError.
CommandLine ParseCommandLine(int argc, const char* const* argv, Terminal terminal);

}  // namespace ravlet::cli
