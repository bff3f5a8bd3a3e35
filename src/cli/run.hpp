// The command line of ravlet-cli: parses the arguments, reads and writes the files
// and runs one command of commands.hpp.
#pragma once

#include <iosfwd>

#include "cli/terminal.hpp"

namespace ravlet::cli {

// Runs ravlet-cli with `argv`. Names and values among the arguments, items on `out`
// and messages on `err` are in the encoding of `terminal`; file names are passed to
// the system as they are, and a settings text printed by --dry-run keeps its own bytes.
// Returns the exit status: 0 done, 1 not found or not recognised, 2 usage, 3 file error.
int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
           Terminal terminal = Terminal::Utf8);

}  // namespace ravlet::cli
