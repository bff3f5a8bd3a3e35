// The command line of ravlet-cli: parses the arguments, reads and writes the files
// and runs one command of commands.hpp.
#pragma once

#include <iosfwd>

namespace ravlet::cli {

// Runs ravlet-cli with `argv` (UTF-8 arguments). Items go to `out`, messages and
// usage errors to `err`. Returns the exit status: 0 done, 1 not found or not
// recognised, 2 usage, 3 file error.
int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace ravlet::cli
