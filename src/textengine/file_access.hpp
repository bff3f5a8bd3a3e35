// The settings files' load, save and recovery, written once (file_access.cpp) over the
// system's primitives (file_system.hpp): reading
// a regular file whole under a shared lock, one writer's exclusive hold, and the save
// that never leaves a half-written file, bound to the folder the file was read from. Paths are what
// the program holds: bytes on POSIX, UTF-8 on Windows (turned into UTF-16 at the system call).
#pragma once

#include <memory>
#include <string>

namespace ravlet::file_access {

// LoadTextFile (text_file.hpp): the regular file's bytes, waiting out a writer.
std::string Load(const std::string& path);

// SaveTextFile (text_file.hpp): `text` as the whole file, through a temporary file or
// in place, as the system allows.
void Save(const std::string& path, const std::string& text);

// A settings file opened and locked for one writer; unlocked and closed when released.
struct Held;
struct HeldRelease {
    void operator()(Held* held) const noexcept;
};
using HeldFile = std::unique_ptr<Held, HeldRelease>;

// Opens the file at `path`, waits for the writer's lock and reads the text into `text`
// through the same handle. Throws FileError.
HeldFile Hold(const std::string& path, std::string& text);

// Writes `text` over the held file as Save does. Once per hold: the save may replace
// the locked file. Throws FileError.
void SaveHeld(Held& held, const std::string& text);

// RecoverTextFile (text_file.hpp).
bool Recover(const std::string& path);

// The user's cache folder for Ravlet's recovery copies ("" when the system names
// none): $XDG_CACHE_HOME/ravlet or ~/.cache/ravlet, %LOCALAPPDATA%\Ravlet on Windows.
std::string CacheFolder();

}  // namespace ravlet::file_access
