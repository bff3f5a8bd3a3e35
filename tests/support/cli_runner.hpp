// ravlet-cli run in this process, as its main runs it: the outcome of one run, its
// stdout and stderr caught.
#pragma once

#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/run.hpp"

namespace ravlet::test {

struct CliOutcome {
    int status;
    std::string out;
    std::string err;
};

// RunCli on `args` (without the program's name) writing to the given streams; the status.
inline int RunCliInProcess(const std::vector<std::string>& args, std::ostream& out,
                           std::ostream& err, cli::Terminal terminal = cli::Terminal::Utf8) {
    std::vector<const char*> argv{"ravlet-cli"};
    for (const auto& arg : args) argv.push_back(arg.c_str());
    return cli::RunCli(static_cast<int>(argv.size()), argv.data(), out, err, terminal);
}

// RunCli on `args` (without the program's name), stdout and stderr caught.
inline CliOutcome RunCliInProcess(const std::vector<std::string>& args,
                                  cli::Terminal terminal = cli::Terminal::Utf8) {
    std::ostringstream out, err;
    const int status = RunCliInProcess(args, out, err, terminal);
    return {status, out.str(), err.str()};
}

}  // namespace ravlet::test
