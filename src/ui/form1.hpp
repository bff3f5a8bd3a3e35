// The one window, `Form1`: builds the components of the window description, forwards
// the user's actions to the editor's controls and shows them. It decides nothing, and
// the platform services (dialogs, messages, quitting) are the editor's, not the window's.
#pragma once

#include <QFont>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "editor/editor.hpp"

class QCheckBox;
class QComboBox;
class QEvent;
class QGroupBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace ravlet {

// The revisions of a model control that its widget last showed.
struct ShownRevision {
    static constexpr std::uint64_t kNever = ~std::uint64_t{0};
    std::uint64_t revision = kNever;
    std::uint64_t items = kNever;
};

// The font of the components without one of their own. The program sets it for the
// application before building the window, so that its other windows (message boxes,
// the file dialog) share it, and so that no component measures a text in the toolkit's
// own default, which the window never shows: a font used once is still loaded at start.
QFont DialogFont();

class Form1 : public QWidget {
    Q_OBJECT

public:
    // Shows `editor`, which outlives the window.
    explicit Form1(Editor& editor, QWidget* parent = nullptr);
    ~Form1() override;

    // Start-up, before the window is shown: runs Form_Load and shows its result.
    // False when start-up failed; its message has been shown, and the caller ends
    // the program without showing the window.
    bool Load();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateComponents();
    void SetTabOrder();
    void Connect();
    void CentreOnScreen();

    // Runs a user's action on the model, then brings every widget up to date.
    void Forward(const std::function<void()>& action);
    void SyncWidgets();
    // The sign for a character the value field refused: a beep and a tooltip naming it.
    void ShowRefused();
    // Undo and redo: the history keys anywhere in the window go to the editor, ahead of
    // the value field's own undo, and leaving the value field ends a run of keystrokes.
    void BindHistoryKeys();
    bool HistoryEvent(QObject* watched, QEvent* event);

    Editor& editor_;
    int forwardDepth_ = 0;
    // True while widgets are set from the model: what they do then is not the user's.
    bool syncing_ = false;

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

    ShownRevision seenSave_, seenLoadini_, seenAutoset_, seenAutoupdate_, seenAdvanced_,
        seenVersion_, seenDescription_, seenParameters_, seenValue_, seenGroup_;
};

}  // namespace ravlet
