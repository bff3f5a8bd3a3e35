#include "run_binary.hpp"

#include <windows.h>

namespace ravlet::test {
namespace {

namespace fs = std::filesystem;

// One argument quoted as the C runtime's parser reads it back: backslashes are literal
// except before a quote.
std::wstring Quoted(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

HANDLE Inheritable(const fs::path& path) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

CliOutcome RunBinary(const fs::path& cwd, const std::vector<std::string>& args, Stdout stdoutTo) {
    if (stdoutTo != Stdout::Caught) return {-1, "", ""};
    const TempDir capture;
    const fs::path program = fs::absolute(RAVLET_CLI_PATH);
    std::wstring commandLine = Quoted(program.wstring());
    for (const std::string& arg : args) commandLine += L" " + Quoted(Utf8Path(arg).wstring());

    const HANDLE out = Inheritable(capture.path() / "out");
    const HANDLE err = Inheritable(capture.path() / "err");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = INVALID_HANDLE_VALUE;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    const bool started =
        out != INVALID_HANDLE_VALUE && err != INVALID_HANDLE_VALUE &&
        ::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                         CREATE_NO_WINDOW, nullptr, cwd.c_str(), &startup, &process);
    if (out != INVALID_HANDLE_VALUE) ::CloseHandle(out);
    if (err != INVALID_HANDLE_VALUE) ::CloseHandle(err);
    if (!started) return {-1, "", ""};
    DWORD status = static_cast<DWORD>(-1);
    if (::WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.hProcess, 1);
        ::WaitForSingleObject(process.hProcess, INFINITE);
    } else if (!::GetExitCodeProcess(process.hProcess, &status)) {
        status = static_cast<DWORD>(-1);
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return {static_cast<int>(status), capture.Read("out"), capture.Read("err")};
}

}  // namespace ravlet::test
