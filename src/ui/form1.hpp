// The one window, `Form1`: builds the fourteen components of the window description,
// forwards the user's actions to the editor and shows the editor's controls. It decides
// nothing itself; it is also the editor's platform (dialogs, messages, quitting).
#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "editor/editor.hpp"
#include "editor/platform.hpp"

class QCheckBox;
class QComboBox;
class QEvent;
class QGroupBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace ravlet {

class OpenDialog;

// The revisions of a model control that its widget last showed.
struct ShownRevision {
    static constexpr std::uint64_t kNever = ~std::uint64_t{0};
    std::uint64_t revision = kNever;
    std::uint64_t items = kNever;
};

class Form1 : public QWidget, public Platform {
    Q_OBJECT

public:
    // Receives each message instead of a message box (tests).
    using MessageHook = std::function<void(const QString& text, MessageIcon icon)>;

    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    Editor& editor() { return editor_; }
    OpenDialog& dialog() { return *dialog_; }

    // Start-up, before the window is shown: runs Form_Load and shows its result.
    // False when start-up failed; its message has been shown, and the caller ends
    // the program without showing the window.
    bool Load();

    void SetMessageHook(MessageHook hook) { messageHook_ = std::move(hook); }
    // Replaces closing the window and leaving the event loop when the editor ends
    // the program (tests).
    void SetQuitHook(std::function<void()> hook) { quitHook_ = std::move(hook); }

    // Platform.
    std::optional<std::string> ShowOpenDialog(const OpenDialogRequest& request) override;
    void ShowMessage(const std::string& text, MessageIcon icon) override;
    void Quit() override;
    std::string CurrentDirectory() override;
    void YieldEvents() override;
    void SetBusy(bool busy) override;
    bool AskYesNo(const std::string& text) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateComponents();
    void SetTabOrder();
    void Connect();
    void CentreOnScreen();

    // Runs a user's action on the model, then brings every widget up to date and, once
    // the outermost action is over, ends the program if the editor asked for it.
    void Forward(const std::function<void()>& action);
    void SyncWidgets();
    // The sign for a character the value field refused: a beep and a tooltip naming it.
    void ShowRefused();

    Editor editor_;
    MessageHook messageHook_;
    std::function<void()> quitHook_;
    int forwardDepth_ = 0;
    bool quitRequested_ = false;
    bool busy_ = false;
    // True while widgets are set from the model: what they do then is not the user's.
    bool syncing_ = false;

    OpenDialog* dialog_ = nullptr;
    QPushButton* save_ = nullptr;
    QGroupBox* frame2_ = nullptr;
    QPushButton* loadini_ = nullptr;
    QCheckBox* autoset_ = nullptr;
    QPushButton* autoupdate_ = nullptr;
    QCheckBox* advanced_ = nullptr;
    QComboBox* version_ = nullptr;
    QGroupBox* frame1_ = nullptr;
    QPlainTextEdit* description_ = nullptr;
    QListWidget* parameters_ = nullptr;
    QComboBox* value_ = nullptr;
    QComboBox* group_ = nullptr;
    QLabel* label1_ = nullptr;

    ShownRevision seenSave_, seenLoadini_, seenAutoset_, seenAutoupdate_, seenAdvanced_, seenVersion_,
        seenDescription_, seenParameters_, seenValue_, seenGroup_;
};

}  // namespace ravlet
