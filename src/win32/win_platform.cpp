// The Windows platform.
#include "win32/win_platform.hpp"

#include <commdlg.h>

#include <vector>

#include "editor/messages.hpp"
#include "textengine/wide_text.hpp"

namespace ravlet::win32 {

namespace {

// The editor's texts are UTF-8 by construction.
std::wstring Wide(const std::string& utf8) { return Utf8ToWide(utf8).value_or(std::wstring()); }

}  // namespace

std::wstring OpenDialogFilter(const std::vector<FileFilter>& filters) {
    std::wstring list;
    for (const FileFilter& filter : filters) {
        list += Wide(filter.description) + L'\0' + Wide(filter.pattern) + L'\0';
    }
    list.push_back(L'\0');
    return list;
}

HWND WinPlatform::Owner() const {
    return window_ && ::IsWindowVisible(window_) ? window_ : nullptr;
}

std::optional<std::string> WinPlatform::ShowOpenDialog(const OpenDialogRequest& request) {
    const std::wstring title = Wide(request.title);
    const std::wstring filter = OpenDialogFilter(request.filters);
    // Long enough for a path past MAX_PATH.
    std::vector<wchar_t> file(32768, L'\0');
    const std::wstring initial = Wide(request.fileName);
    if (initial.size() < file.size()) initial.copy(file.data(), initial.size());

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = Owner();
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = title.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                OFN_ENABLESIZING | OFN_NOCHANGEDIR;
    if (!::GetOpenFileNameW(&ofn)) return std::nullopt;
    return WideToUtf8(file.data());
}

void WinPlatform::ShowMessage(const std::string& text, MessageIcon icon) {
    const UINT type = MB_OK | (icon == MessageIcon::Critical ? MB_ICONERROR : MB_ICONINFORMATION);
    ::MessageBoxW(Owner(), Wide(text).c_str(), Wide(messages::kProgramTitle).c_str(), type);
}

bool WinPlatform::AskYesNo(const std::string& text) {
    // Overwriting another program's changes takes a deliberate Yes.
    const UINT type = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;
    return ::MessageBoxW(Owner(), Wide(text).c_str(), Wide(messages::kProgramTitle).c_str(),
                         type) == IDYES;
}

void WinPlatform::Quit() { ::PostQuitMessage(0); }

std::string WinPlatform::CurrentDirectory() {
    const DWORD needed = ::GetCurrentDirectoryW(0, nullptr);
    std::wstring dir(needed, L'\0');
    const DWORD got = ::GetCurrentDirectoryW(needed, dir.data());
    dir.resize(got < needed ? got : 0);
    return WideToUtf8(dir).value_or(std::string());
}

void WinPlatform::YieldEvents() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // The message loop must still see it.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (dispatch) {
            dispatch(msg);
        } else {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    lastYield_ = ::GetTickCount64();
}

bool WinPlatform::YieldDue() {
    // About one frame at 60 Hz: repainting more often shows nothing new.
    constexpr ULONGLONG kFrameMs = 16;
    return lastYield_ == 0 || ::GetTickCount64() - lastYield_ >= kFrameMs;
}

void WinPlatform::SetBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    // The window answers WM_SETCURSOR from busy_; this shows it without a mouse move.
    ::SetCursor(::LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

}  // namespace ravlet::win32
