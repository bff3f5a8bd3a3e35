// The command line of ravlet-cli: parses the arguments, reads and writes the files
// and runs one command of commands.hpp.
#pragma once

#include <exception>
#include <iosfwd>
#include <stdexcept>

#include "cli/terminal.hpp"

namespace ravlet::cli {

// A command line that parses but cannot be used; what() is the message (UTF-8).
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Words any exception a command can raise on `err` (UTF-8) and returns its exit
// status: 2 for a usage error or a value the value rule refuses, 3 for a file error,
// too little memory or anything unforeseen. No exception leaves ravlet-cli unworded.
int ReportFailure(std::exception_ptr failure, std::ostream& err, Terminal terminal);

// Runs ravlet-cli with `argv`. Names and values among the arguments, items on `out`
// and messages on `err` are in the encoding of `terminal`; file names are passed to
// the system as they are, and a settings text printed by --dry-run keeps its own bytes.
// Returns the exit status: 0 done, 1 not found or not recognised, 2 usage, 3 file error.
int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
           Terminal terminal = Terminal::Utf8);

}  // namespace ravlet::cli
