// The platform services the editor needs, injected so that it runs headless.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace ravlet {

enum class MessageIcon { Critical, Information };

// One entry of the open dialog's file type list: "Файл настройки" for "*.ini". A
// pattern may list several, separated by ";".
struct FileFilter {
    std::string description;
    std::string pattern;
    bool operator==(const FileFilter&) const = default;
};

// What the open dialog shows. Texts are UTF-8; `fileName` is the initial path.
struct OpenDialogRequest {
    std::string title;
    std::vector<FileFilter> filters;  // in the order offered; the first is chosen
    std::string fileName;
};

class Platform {
public:
    virtual ~Platform() = default;
    // The chosen path (native, UTF-8 on Linux), or nullopt when the user cancelled.
    virtual std::optional<std::string> ShowOpenDialog(const OpenDialogRequest& request) = 0;
    // A modal message box with one OK button and messages::kProgramTitle; `text` is UTF-8.
    virtual void ShowMessage(const std::string& text, MessageIcon icon) = 0;
    // Ends the program once the running handler returns.
    virtual void Quit() = 0;
    // The process's current working directory, without a trailing separator.
    virtual std::string CurrentDirectory() = 0;
    // Lets the window handle pending events (repainting) once.
    virtual void YieldEvents() = 0;
    // False when the window handled its events so recently that another pass would only
    // slow a long action down (a fill yields after every parameter); the window is
    // still repainted often enough to follow it. A platform without such a cost yields
    // every time.
    virtual bool YieldDue() { return true; }
    // The window's mouse pointer: busy (hourglass) or normal.
    virtual void SetBusy(bool busy) = 0;
    // A modal question with Yes and No buttons and messages::kProgramTitle; true for Yes.
    virtual bool AskYesNo(const std::string& text) = 0;
};

}  // namespace ravlet
