// Which keys undo and redo, decided once for both windows: Ctrl+Z undoes, Ctrl+Y and
// Ctrl+Shift+Z redo, wherever the focus is in the window, the value field included.
#pragma once

namespace ravlet {

enum class HistoryCommand { None, Undo, Redo };

// `key` is the letter's upper-case ASCII code ('Z'), which is how both Qt and Windows
// number the letter keys; the flags say which modifiers are held. Alt with any of them
// is not ours: it is a menu's or an input method's.
constexpr HistoryCommand HistoryCommandFor(int key, bool ctrl, bool shift, bool alt) {
    if (!ctrl || alt) return HistoryCommand::None;
    if (key == 'Z') return shift ? HistoryCommand::Redo : HistoryCommand::Undo;
    if (key == 'Y' && !shift) return HistoryCommand::Redo;
    return HistoryCommand::None;
}

}  // namespace ravlet
