// ravlet-cli: the version base queries and the settings file edits of Ravlet from a shell.
#include <iostream>

#include "cli/run.hpp"

int main(int argc, char** argv) {
    return ravlet::cli::RunCli(argc, argv, std::cout, std::cerr, ravlet::cli::TerminalOfEnvironment());
}
