// ravlet.exe [FOLDER | FILE]: the settings editor's window on Windows, working in the
// folder given (the current one by default).
#include "win32/system.hpp"

#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "editor/editor.hpp"
#include "editor/messages.hpp"
#include "launch/launch_args.hpp"
#include "launch/launch_messages.hpp"
#include "operations/shared_messages.hpp"
#include "textengine/wide_text.hpp"
#include "win32/form1.hpp"
#include "win32/win_platform.hpp"

namespace {

// The program's own texts are UTF-8 by construction.
std::wstring Wide(const std::string& utf8) {
    return ravlet::Utf8ToWide(utf8).value_or(std::wstring());
}

// A path as the UTF-8 the editor keeps.
std::string Utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// --help, --version and usage errors: to the standard stream when one was handed over
// (a pipe, a file), else to the console the program was started from, else in a
// message box, since a window program has neither of its own.
void Tell(const std::string& text, bool failed) {
    const HANDLE out = ::GetStdHandle(failed ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (out && out != INVALID_HANDLE_VALUE && ::GetFileType(out) != FILE_TYPE_UNKNOWN &&
        !::GetConsoleMode(out, &mode)) {
        DWORD written = 0;
        ::WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    if (::AttachConsole(ATTACH_PARENT_PROCESS)) {
        const HANDLE console = ::CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                             OPEN_EXISTING, 0, nullptr);
        if (console != INVALID_HANDLE_VALUE) {
            const std::wstring wide =
                Wide("\n" + text);  // below the prompt the shell already printed
            DWORD written = 0;
            ::WriteConsoleW(console, wide.data(), static_cast<DWORD>(wide.size()), &written,
                            nullptr);
            ::CloseHandle(console);
            ::FreeConsole();
            return;
        }
        ::FreeConsole();
    }
    ::MessageBoxW(nullptr, Wide(text).c_str(), Wide(ravlet::messages::kProgramTitle).c_str(),
                  MB_OK | (failed ? MB_ICONERROR : MB_ICONINFORMATION));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // The arguments in UTF-16, as UTF-8: no character is lost to the ANSI code page.
    int argc = 0;
    LPWSTR* wargv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    const ravlet::Utf8Arguments args = ravlet::ArgumentsToUtf8(argc, wargv);
    ::LocalFree(wargv);
    if (args.notUnicode >= 0) {
        Tell("ravlet: " + ravlet::ArgumentNotUnicode(args.notUnicode) + "\n", true);
        return 2;
    }

    const ravlet::launch::LaunchArgs launch =
        ravlet::launch::ParseLaunchArgs(argc, args.pointers.data());
    using Action = ravlet::launch::LaunchArgs::Action;
    if (launch.action != Action::Run) {
        Tell(launch.text, launch.action == Action::Fail);
        return launch.exitStatus;
    }
    // The window works as if started there: rvbase.txt and the dialogs are read from it.
    if (!::SetCurrentDirectoryW(launch.folder.wstring().c_str())) {
        Tell(std::string(ravlet::launch::kNoFolder) + Utf8Of(launch.folder) + "\n", true);
        return 2;
    }

    INITCOMMONCONTROLSEX controls{sizeof controls,
                                  ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);

    // Declared in the order they depend on each other, so each outlives what uses it.
    ravlet::win32::WinPlatform platform;
    ravlet::Editor editor(platform);
    editor.LoadStart = Utf8Of(launch.dialogFile);
    ravlet::win32::Form1 window(platform, editor);
    platform.SetWindow(window.Window());
    platform.dispatch = [&window](MSG& msg) { window.Dispatch(msg); };
    // Start-up runs before the window is shown; when it fails its message has been
    // shown and the window never appears.
    if (!window.Load()) return 1;
    window.Show();
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) window.Dispatch(msg);
    return static_cast<int>(msg.wParam);
}
