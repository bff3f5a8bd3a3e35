#include "cli/terminal.hpp"

#include "textengine/codepage.hpp"
#include "textengine/text_search.hpp"

namespace ravlet::cli {

Terminal TerminalOfCodeset(std::string_view codeset) {
    for (const std::string_view name : {"CP1251", "WINDOWS-1251"}) {
        if (TextEquals(codeset, name)) return Terminal::Cp1251;
    }
    return Terminal::Utf8;
}

std::string QuotedArgument(std::string_view arg, Terminal terminal) {
    return '"' +
           EscapedForTerminal(terminal == Terminal::Cp1251 ? Cp1251ToUtf8(arg) : std::string(arg)) +
           '"';
}

}  // namespace ravlet::cli
