// POSIX: the terminal's encoding is the locale's character set.
#include "cli/terminal.hpp"

#include <langinfo.h>

#include <clocale>

namespace ravlet::cli {

Terminal TerminalOfEnvironment() {
    // Only the character type is taken from the environment: number formats and the
    // rest stay "C", so nothing else of the output changes with the locale.
    if (std::setlocale(LC_CTYPE, "") == nullptr) return Terminal::Utf8;
    const Terminal terminal = TerminalOfCodeset(nl_langinfo(CODESET));
    std::setlocale(LC_CTYPE, "C");
    return terminal;
}

}  // namespace ravlet::cli
