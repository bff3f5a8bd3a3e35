// One run of the real ravlet-cli, started the system's way (fork and exec on POSIX,
// CreateProcessW with a UTF-16 command line on Windows).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "support/cli_runner.hpp"
#include "support/files.hpp"

namespace ravlet::test {

// Where ravlet-cli's stdout goes: caught in a file, a full disk, or a closed descriptor
// (the last two on POSIX only).
enum class Stdout { Caught, DevFull, Closed };

// Runs ravlet-cli in `cwd` with `args` (UTF-8); its output is caught in files of a
// separate folder so that `cwd` (the examples, say) is left as it was. A run that hangs
// is ended after ten seconds and gives status -1.
CliOutcome RunBinary(const std::filesystem::path& cwd, const std::vector<std::string>& args,
                     Stdout stdoutTo = Stdout::Caught);

}  // namespace ravlet::test
