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

struct ArgumentSpec {
    std::string_view name;  // "INI", as the usage line shows it
    std::string_view help;
};

struct OptionSpec {
    std::string_view name;       // "--full"
    std::string_view valueName;  // "V" for --version V; empty for a flag
    std::string_view help;
};

struct CommandSpec {
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
