// The undo history of the settings text: one step per user action, each holding the
// edits the action made to the text and what the window showed before and after it.
// Bounded by steps and by bytes; toolkit-free.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "textengine/text_edit.hpp"

namespace ravlet {

// What the window shows of a state, enough to show it again: the selected version,
// group and parameter (-1 for none), the two check boxes, and what the hint field holds.
struct View {
    enum class Hint {
        Parameter,     // the selected parameter's hint, looked up again when shown
        SettingsText,  // the whole settings text (a click on the hint field)
        Kept,          // `kept`: the transfer report, or an emptied box
    };
    int version = -1;
    int group = -1;
    int parameter = -1;
    int autoset = 0;
    int advanced = 0;
    Hint hint = Hint::Kept;
    std::string kept;
};

class History {
public:
    // The default bound: the oldest steps go when there are more than this many, or
    // when the steps hold more than this many bytes (the newest step always stays).
    static constexpr std::size_t kMaxSteps = 1000;
    static constexpr std::size_t kMaxBytes = std::size_t{32} << 20;

    explicit History(std::size_t maxSteps = kMaxSteps, std::size_t maxBytes = kMaxBytes);

    // A user action begins on a text of `textSize` bytes; what it changes is compared
    // with the view the last action ended on (a control changes its selection before its
    // handler runs). A text of another size than the history left it was changed behind
    // its back: everything is forgotten. With `typing`, a keystroke continues the open
    // run of keystrokes, if any, as part of its step.
    void Begin(std::size_t textSize, bool typing);
    // A change the running action made to `text`; ignored when it left the bytes as
    // they were, outside an action, or after Clear.
    void Record(TextEdit edit, std::string_view text);
    // The action ended, showing `after`, the text now `textSize` bytes. An action that
    // changed the text is a new step (or the run's step, grown); the steps undone
    // before it are gone; the oldest go past the bound.
    void End(const View& after, std::size_t textSize);
    // Forgets every step, and the running action's changes (another file was loaded).
    void Clear();
    // The run of keystrokes ends: the next keystroke begins a step of its own.
    void EndRun() { runOpen_ = false; }

    // The last step taken back in `text`: the view before it, or nullopt, nothing
    // changed, when there is none. A text of another size than the history left it
    // was changed behind its back: everything is forgotten.
    std::optional<View> Undo(std::string& text);
    // The last step undone made again in `text`: the view after it, or nullopt.
    std::optional<View> Redo(std::string& text);

    std::size_t UndoSteps() const { return undo_.size(); }
    std::size_t RedoSteps() const { return redo_.size(); }
    // What the steps hold: their bytes of text and their own size.
    std::size_t Bytes() const { return bytes_; }

private:
    struct Step {
        std::vector<TextEdit> edits;
        View before;
        View after;
    };
    static std::size_t BytesOf(const Step& step);
    void Forget();
    void Push(Step step);
    // Undo or Redo: moves the last step of one list to the other, swapping its edits.
    std::optional<View> Travel(std::string& text, bool undo);
    // Swaps `step`'s edits in `text`, last first for an undo; forgets all on a mismatch.
    void Apply(Step& step, std::string& text, bool undo);

    std::size_t maxSteps_;
    std::size_t maxBytes_;
    std::deque<Step> undo_;
    std::deque<Step> redo_;
    std::size_t bytes_ = 0;
    std::size_t textSize_ = 0;
    View shown_;  // what the last action, undo or redo ended on
    std::optional<Step> pending_;
    bool pendingContinues_ = false;  // the pending step is the run's, taken off undo_
    bool typing_ = false;
    bool runOpen_ = false;
};

}  // namespace ravlet
