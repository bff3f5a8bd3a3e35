#include "cli/terminal.hpp"

#include <langinfo.h>

#include <clocale>
#include <string>

namespace ravlet::cli {
namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

}  // namespace

Terminal TerminalOfCodeset(std::string_view codeset) {
    for (const std::string_view name : {"CP1251", "WINDOWS-1251"}) {
        if (SameIgnoringCase(codeset, name)) return Terminal::Cp1251;
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
