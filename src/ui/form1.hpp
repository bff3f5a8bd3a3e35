// The one window, `Form1`, on Qt: builds the components of the window description in
// one loop, forwards the user's actions to the editor's controls and shows them. It
// decides nothing: the road of an action and the rules of a gesture are the editor's
// (FormBinding, gestures.hpp), and so are the platform services.
#pragma once

#include <QFont>
#include <QWidget>
#include <array>
#include <cstddef>

#include "editor/editor.hpp"
#include "editor/form_binding.hpp"
#include "editor/window_description.hpp"

class QEvent;

namespace ravlet {

// The font of the components without one of their own. The program sets it for the
// application before building the window, so that its other windows (message boxes,
// the file dialog) share it, and so that no component measures a text in the toolkit's
// own default, which the window never shows: a font used once is still loaded at start.
QFont DialogFont();

class Form1 : public QWidget, private FormBinding {
    Q_OBJECT

public:
    // Shows `editor`, which outlives the window.
    explicit Form1(Editor& editor, QWidget* parent = nullptr);
    ~Form1() override;

    // Start-up, before the window is shown: runs Form_Load and shows its result.
    // False when start-up failed; its message has been shown, and the caller ends
    // the program without showing the window.
    bool Load();

    // The widget built for component `name` of the window description; nullptr for none.
    QWidget* Component(const char* name) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateComponents();
    void SetTabOrder();
    void Connect(std::size_t index);
    void CentreOnScreen();

    void ShowControl(std::size_t index, const Control& control, bool itemsChanged) override;
    std::function<void()> KeepFocus() override;
    // The sign for a character the value field refused: a beep and a tooltip naming it.
    void ShowRefused();
    // The value field's text changed by other means than typing (an assistive tool):
    // written as typed text is, once the toolkit's own changes have been forwarded.
    void TakeValueText();
    // Undo and redo: the history keys anywhere in the window go to the editor, ahead of
    // the value field's own undo, and leaving the value field ends a run of keystrokes.
    void BindHistoryKeys();
    bool HistoryEvent(QObject* watched, QEvent* event);

    std::array<QWidget*, window::kComponentCount> widgets_{};
};

}  // namespace ravlet
