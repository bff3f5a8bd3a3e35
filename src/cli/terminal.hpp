// The encoding of the terminal ravlet-cli talks to: UTF-8 on today's systems,
// Windows-1251 where the locale says so.
#pragma once

#include <string_view>

namespace ravlet::cli {

enum class Terminal { Utf8, Cp1251 };

// The terminal for a locale's character set name (nl_langinfo(CODESET)): Windows-1251
// for "CP1251" or "WINDOWS-1251" in any letter case, UTF-8 for anything else, since
// names outside ASCII could not be shown in an ASCII-only locale either way.
Terminal TerminalOfCodeset(std::string_view codeset);

// The terminal of the environment's locale (LC_ALL, LC_CTYPE, LANG).
Terminal TerminalOfEnvironment();

}  // namespace ravlet::cli
