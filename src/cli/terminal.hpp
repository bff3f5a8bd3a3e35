// The encoding of the terminal ravlet-cli talks to: UTF-8 on today's systems,
// Windows-1251 where a POSIX locale says so. On Windows always UTF-8: the arguments
// come in UTF-16 and the console is set to UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace ravlet::cli {

enum class Terminal { Utf8, Cp1251 };

// The terminal for a locale's character set name (nl_langinfo(CODESET)): Windows-1251
// for "CP1251" or "WINDOWS-1251" in any letter case, UTF-8 for anything else, since
// names outside ASCII could not be shown in an ASCII-only locale either way.
Terminal TerminalOfCodeset(std::string_view codeset);

// An argument as a message shows it, in double quotes (UTF-8): read in the terminal's
// encoding, with control characters and bytes that are no character escaped, so that
// an argument cannot steer the terminal.
std::string QuotedArgument(std::string_view arg, Terminal terminal);

// The terminal of the environment: on POSIX the locale's (LC_ALL, LC_CTYPE, LANG),
// on Windows UTF-8, switching the console's output code page for the run
// (terminal_posix.cpp, terminal_windows.cpp).
Terminal TerminalOfEnvironment();

}  // namespace ravlet::cli
