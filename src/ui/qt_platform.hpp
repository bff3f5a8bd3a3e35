// The editor's platform on Qt: message boxes, the yes/no question, the open dialog,
// quitting, the current directory, letting events run, and the busy pointer.
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>
#include <optional>
#include <string>

#include "editor/platform.hpp"

namespace ravlet {

class QtPlatform : public Platform {
public:
    QtPlatform() = default;
    // Gives the normal pointer back if a busy run is cut short.
    ~QtPlatform() override;
    QtPlatform(const QtPlatform&) = delete;
    QtPlatform& operator=(const QtPlatform&) = delete;

    // The window the dialogs are modal over and that Quit closes; it may go away first.
    void SetWindow(QWidget* window) { window_ = window; }

    std::optional<std::string> ShowOpenDialog(const OpenDialogRequest& request) override;
    void ShowMessage(const std::string& text, MessageIcon icon) override;
    // Closes the window and leaves the event loop; the running handler finishes first,
    // as the loop only stops once it gets control back.
    void Quit() override;
    std::string CurrentDirectory() override;
    void YieldEvents() override;
    // Due once a frame's time has passed since the last pass.
    bool YieldDue() override;
    void SetBusy(bool busy) override;
    bool AskYesNo(const std::string& text) override;

private:
    // A message box's parent: the window once it is shown, none before (start-up).
    QWidget* ShownWindow() const;

    QPointer<QWidget> window_;
    bool busy_ = false;
    QElapsedTimer lastYield_;  // invalid until the first pass
};

}  // namespace ravlet
