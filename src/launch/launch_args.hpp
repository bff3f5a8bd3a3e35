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
    // Run with --ask-folder only: `folder` holds no rvbase.txt, so the user is asked for
    // the emulator's folder (titled kAskFolderTitle, the answer given to WorkIn) before
    // the window starts; a cancelled question ends the program quietly.
    bool askFolder = false;
    bool fileGiven = false;  // the dialog is at a file named on the command line
};

// The title of the folder question of --ask-folder.
inline constexpr const char* kAskFolderTitle =
    "Выберите папку эмулятора Tarven Pimlow, где лежит rvbase.txt";

// `ravlet [--ask-folder] [FOLDER | FILE]`, `ravlet --version`, `ravlet --help` (or -h).
// No argument: the current folder. A folder: that folder. A file: its folder, the dialog
// at it. --ask-folder (the menu's way in, which starts in the home folder) asks for the
// emulator's folder when that folder has no rvbase.txt; without it such a folder is
// worked in all the same, and start-up says the base is missing.
// A path that does not exist, an unknown option or a second path is a usage error.
// Paths are made absolute against the current folder, without resolving symbolic
// links, so that a linked settings file is saved as a link. Reads only the file
// system's metadata of the path given.
LaunchArgs ParseLaunchArgs(int argc, const char* const* argv);

// `args` (Run, askFolder) moved to the folder the user chose: worked in as a FOLDER
// argument would be, the dialog at its tarven.ini unless a file was named, askFolder
// still set while the chosen folder has no rvbase.txt either. A folder that cannot be
// resolved is a Fail as on the command line.
LaunchArgs WorkIn(LaunchArgs args, const std::filesystem::path& chosen);

}  // namespace ravlet::launch
