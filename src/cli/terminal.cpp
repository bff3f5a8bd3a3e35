#include "cli/terminal.hpp"

#include <langinfo.h>

#include <clocale>

#include "textengine/text_search.hpp"

namespace ravlet::cli {

Terminal TerminalOfCodeset(std::string_view codeset) {
    for (const std::string_view name : {"CP1251", "WINDOWS-1251"}) {
        if (TextEquals(codeset, name)) return Terminal::Cp1251;
    }
    return Terminal::Utf8;
}

Terminal TerminalOfEnvironment() {
    // Only the character type is taken from the environment: number formats and the
    // rest stay "C", so nothing else of the output changes with the locale.
    if (std::setlocale(LC_CTYPE, "") == nullptr) return Terminal::Utf8;
    const Terminal terminal = TerminalOfCodeset(nl_langinfo(CODESET));
    std::setlocale(LC_CTYPE, "C");
    return terminal;
}

}  // namespace ravlet::cli
