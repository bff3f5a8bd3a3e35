// Windows: the program talks UTF-8 whatever the code pages of the system; a console
// is switched to UTF-8 for the run and given its own code page back at the end.
#include "cli/terminal.hpp"

#include <cstdlib>

#include <windows.h>

namespace ravlet::cli {
namespace {

UINT consoleCodePage = 0;

void RestoreConsoleCodePage() {
    if (consoleCodePage != 0) ::SetConsoleOutputCP(consoleCodePage);
}

}  // namespace

Terminal TerminalOfEnvironment() {
    // Without a console (output to a file or a pipe) there is nothing to switch, and the
    // bytes go out as UTF-8 all the same.
    const UINT current = ::GetConsoleOutputCP();
    if (current != 0 && current != CP_UTF8 && consoleCodePage == 0 &&
        ::SetConsoleOutputCP(CP_UTF8)) {
        consoleCodePage = current;
        std::atexit(RestoreConsoleCodePage);
    }
    return Terminal::Utf8;
}

}  // namespace ravlet::cli
