// The undo history: steps, their bound, and taking them back and again.
#include "editor/history.hpp"

#include <stdexcept>
#include <utility>

namespace ravlet {

History::History(std::size_t maxSteps, std::size_t maxBytes)
    : maxSteps_(maxSteps), maxBytes_(maxBytes) {}

std::size_t History::BytesOf(const Step& step) {
    std::size_t bytes = sizeof(Step) + step.before.kept.size() + step.after.kept.size();
    for (const TextEdit& edit : step.edits) bytes += sizeof(TextEdit) + edit.held.size();
    return bytes;
}

void History::Forget() {
    undo_.clear();
    redo_.clear();
    bytes_ = 0;
    runOpen_ = false;
}

void History::Begin(std::size_t textSize, bool typing) {
    if (textSize != textSize_) Forget();
    typing_ = typing;
    pendingContinues_ = typing && runOpen_ && !undo_.empty();
    if (pendingContinues_) {
        bytes_ -= BytesOf(undo_.back());
        pending_ = std::move(undo_.back());
        undo_.pop_back();
    } else {
        runOpen_ = false;
        pending_ = Step{{}, shown_, {}};
    }
}

void History::Record(TextEdit edit, std::string_view text) {
    if (!pending_ || text.substr(edit.offset, edit.length) == edit.held) return;
    std::vector<TextEdit>& edits = pending_->edits;
    // A keystroke rewrites exactly what the one before wrote: one edit holds both.
    if (!edits.empty() && edits.back().offset == edit.offset &&
        edits.back().length == edit.held.size()) {
        edits.back().length = edit.length;
        return;
    }
    edits.push_back(std::move(edit));
}

void History::End(const View& after, std::size_t textSize) {
    textSize_ = textSize;
    shown_ = after;
    if (!pending_) return;
    Step step = std::move(*pending_);
    pending_.reset();
    if (step.edits.empty() && !pendingContinues_) {
        runOpen_ = false;
        return;
    }
    step.after = after;
    if (!pendingContinues_) {
        for (const Step& undone : redo_) bytes_ -= BytesOf(undone);
        redo_.clear();
    }
    Push(std::move(step));
    runOpen_ = typing_;
}

void History::Push(Step step) {
    bytes_ += BytesOf(step);
    undo_.push_back(std::move(step));
    while (undo_.size() > 1 && (undo_.size() > maxSteps_ || bytes_ > maxBytes_)) {
        bytes_ -= BytesOf(undo_.front());
        undo_.pop_front();
    }
}

void History::Clear() {
    Forget();
    pending_.reset();
}

void History::Apply(Step& step, std::string& text, bool undo) {
    try {
        if (undo) {
            for (auto edit = step.edits.rbegin(); edit != step.edits.rend(); ++edit) {
                edit->Swap(text);
            }
        } else {
            for (TextEdit& edit : step.edits) edit.Swap(text);
        }
    } catch (const std::out_of_range&) {
        // Only a text changed behind the history's back gets here; what it holds is
        // no longer about this text.
        Forget();
        throw;
    }
    textSize_ = text.size();
    runOpen_ = false;
}

std::optional<View> History::Undo(std::string& text) { return Travel(text, true); }

std::optional<View> History::Redo(std::string& text) { return Travel(text, false); }

std::optional<View> History::Travel(std::string& text, bool undo) {
    if (text.size() != textSize_) Forget();
    std::deque<Step>& from = undo ? undo_ : redo_;
    std::deque<Step>& to = undo ? redo_ : undo_;
    if (from.empty()) return std::nullopt;
    Step step = std::move(from.back());
    from.pop_back();
    bytes_ -= BytesOf(step);
    Apply(step, text, undo);
    bytes_ += BytesOf(step);
    to.push_back(std::move(step));
    shown_ = undo ? to.back().before : to.back().after;
    return shown_;
}

}  // namespace ravlet
