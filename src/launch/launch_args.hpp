// The arguments of the window program `ravlet`: where it works and which settings
// file its Load dialog starts at, or a text to print instead of opening the window.
#pragma once

#include <filesystem>
#include <string>

namespace ravlet::launch {

struct LaunchArgs {
    enum class Action {
        Run,           // chdir to `folder`, then start the window; Load starts at `dialogFile`
        PrintVersion,  // print `text` on stdout, exit with `exitStatus` (0)
        PrintHelp,     // print `text` on stdout, exit with `exitStatus` (0)
        Fail,          // print `text` on stderr, exit with `exitStatus` (2)
    };
    Action action = Action::Run;
    std::filesystem::path folder;      // absolute; the folder rvbase.txt is read from
    std::filesystem::path dialogFile;  // absolute; FOLDER/tarven.ini or the file given
    std::string text;                  // UTF-8, ends with a line break; empty for Run
    int exitStatus = 0;
};

// `ravlet [FOLDER | FILE]`, `ravlet --version`, `ravlet --help` (or -h). No argument:
// the current folder. A folder: that folder. A file: its folder, the dialog at it.
// A path that does not exist, an unknown option or a second path is a usage error.
// Paths are made absolute against the current folder, without resolving symbolic
// links, so that a linked settings file is saved as a link. Reads only the file
// system's metadata of the path given.
LaunchArgs ParseLaunchArgs(int argc, const char* const* argv);

}  // namespace ravlet::launch
