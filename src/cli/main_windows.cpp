// ravlet-cli on Windows: the arguments arrive in UTF-16 and become the UTF-8 the
// program works in, so no character is lost to the ANSI code page; then the same run as
// on every system.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include <windows.h>

#include "cli/commands.hpp"
#include "cli/run.hpp"
#include "operations/shared_messages.hpp"
#include "textengine/pending_temp.hpp"
#include "textengine/wide_text.hpp"

namespace {

// Ctrl-C, Ctrl-Break or a closed console: a save's temporary file must not outlive the
// run. The handler runs on a thread of its own; an in-place overwrite is waited out
// (InterruptionDeferred). FALSE lets the default handler end the process.
BOOL WINAPI RemoveTempOnInterrupt(DWORD) {
    ravlet::RemovePendingTempFile();
    return FALSE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // Bytes go out as they are: a --dry-run text keeps its CR LF, and a line ends in
    // "\n" as on every other system.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    ::SetConsoleCtrlHandler(RemoveTempOnInterrupt, TRUE);
    const ravlet::cli::Terminal terminal = ravlet::cli::TerminalOfEnvironment();

    const ravlet::Utf8Arguments args = ravlet::ArgumentsToUtf8(argc, argv);
    if (args.notUnicode >= 0) {
        std::cerr << "ravlet-cli: " << ravlet::ArgumentNotUnicode(args.notUnicode) << '\n';
        return ravlet::cli::kUsage;
    }
    return ravlet::cli::RunCli(argc, args.pointers.data(), std::cout, std::cerr, terminal);
}
