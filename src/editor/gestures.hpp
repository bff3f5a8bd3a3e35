// The rules of the user's gestures in the window, without a toolkit: what counts as a
// click, a choice, a turn of the wheel meant for a list. Each window feeds them what its
// toolkit reports and forwards to the editor only what they accept.
#pragma once

namespace ravlet {

// A press and release of the left button in the parameter list is one choice: the row
// under the release, when the press moved the selection or the release is on the
// selected row (a click on the selected parameter shows its hint again). What the list
// reports meanwhile (a change on the press, another on the release) is not a choice.
class ListClick {
public:
    // The left button goes down; `currentRow` is the row selected before it.
    void Press(int currentRow) {
        pressedRow_ = currentRow;
        pressed_ = true;
    }
    // The left button comes up, the list having moved its selection to `currentRow`
    // (-1: none); `onCurrentRow` when the pointer is over that row. True: choose it.
    bool Release(int currentRow, bool onCurrentRow) {
        if (!pressed_) return false;
        pressed_ = false;
        return currentRow >= 0 && (currentRow != pressedRow_ || onCurrentRow);
    }
    // True while a press waits for its release: a selection change is the mouse's then.
    bool Pressed() const { return pressed_; }
    // A key: a press whose release went elsewhere is over.
    void Key() { pressed_ = false; }

private:
    int pressedRow_ = -1;
    bool pressed_ = false;
};

// The hint box: a click shows the whole settings text; a drag selects text to copy and
// is no click; a double-click selects a word and keeps what the box shows, so its first
// click is only taken once the double-click time has passed without a second one.
// Enter and Space show the whole text at once.
class HintClick {
public:
    // The left button goes down at (x, y); `second` when the system reports it as the
    // second press of a double-click.
    void Press(int x, int y, bool second) {
        x_ = x;
        y_ = y;
        pending_ = false;
        inDouble_ = second;
    }
    // The left button comes up at (x, y); `dragX`, `dragY`: how far the pointer may move
    // and the press still be a click. True: a click is pending; the window calls Settle
    // once the double-click time has passed.
    bool Release(int x, int y, int dragX, int dragY) {
        if (inDouble_) {
            inDouble_ = false;
            return false;
        }
        const int dx = x > x_ ? x - x_ : x_ - x;
        const int dy = y > y_ ? y - y_ : y_ - y;
        pending_ = dx <= dragX && dy <= dragY;
        return pending_;
    }
    // The double-click time has passed since the release: true when the click stands.
    bool Settle() {
        const bool click = pending_;
        pending_ = false;
        return click;
    }

private:
    int x_ = 0;
    int y_ = 0;
    bool pending_ = false;
    bool inDouble_ = false;
};

// The keys of the hint box.
enum class HintKey { Enter, Space, Other };
// Enter or Space in the hint box shows the whole settings text, as a click does.
constexpr bool ShowsWholeText(HintKey key) { return key != HintKey::Other; }

// A turn of the wheel over a closed drop-down list is a choice only while the user
// works in it (it has the focus) or its list is open; otherwise it was meant for
// whatever has the focus and is swallowed: the fixed window does not scroll.
constexpr bool WheelChooses(bool focused, bool droppedDown) { return focused || droppedDown; }

}  // namespace ravlet
