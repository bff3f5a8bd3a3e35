// The editor's platform on Windows: message boxes, the yes/no question, the common
// Open dialog, quitting, the current directory, letting messages run, the busy cursor.
#pragma once

#include "win32/system.hpp"

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "editor/platform.hpp"

namespace ravlet::win32 {

class WinPlatform : public Platform {
public:
    WinPlatform() = default;
    WinPlatform(const WinPlatform&) = delete;
    WinPlatform& operator=(const WinPlatform&) = delete;

    // The window the dialogs are modal over and whose cursor shows busy.
    void SetWindow(HWND window) { window_ = window; }
    // How a pending message is handed over while a long action yields: the window's
    // own keys first, as in its message loop.
    std::function<void(MSG&)> dispatch;

    std::optional<std::string> ShowOpenDialog(const OpenDialogRequest& request) override;
    void ShowMessage(const std::string& text, MessageIcon icon) override;
    // Posts the end of the message loop: the running handler finishes first.
    void Quit() override;
    std::string CurrentDirectory() override;
    void YieldEvents() override;
    // Due once a frame's time has passed since the last pass.
    bool YieldDue() override;
    void SetBusy(bool busy) override;
    bool AskYesNo(const std::string& text) override;

    bool Busy() const { return busy_; }

private:
    // A message box's owner: the window once it is shown, none before (start-up).
    HWND Owner() const;

    HWND window_ = nullptr;
    bool busy_ = false;
    ULONGLONG lastYield_ = 0;  // 0: never
};

// The file types as the Open dialog's list: each description and pattern ended by a
// NUL, and one more NUL after the last.
std::wstring OpenDialogFilter(const std::vector<FileFilter>& filters);

}  // namespace ravlet::win32
