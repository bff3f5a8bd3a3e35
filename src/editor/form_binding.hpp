// What both windows share of binding their widgets to the editor's controls, without a
// toolkit: the revisions each widget last showed, and the forward-and-sync road every
// user action takes. A window derives from it and supplies two hooks: how one widget
// shows its control, and how the keyboard focus is kept across an action.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "editor/editor.hpp"
#include "editor/window_description.hpp"

namespace ravlet {

class FormBinding {
public:
    // Binds each component of the window description to its editor control. `editor`
    // outlives the binding; a long action (the fill) shows the controls as it runs.
    explicit FormBinding(Editor& editor);
    virtual ~FormBinding();
    FormBinding(const FormBinding&) = delete;
    FormBinding& operator=(const FormBinding&) = delete;

    // The editor control component `index` shows; nullptr for a frame or the label.
    Control* ControlOf(std::size_t index) const { return controls_[index]; }

protected:
    // What a widget last showed of its control. kNever: nothing yet.
    struct Shown {
        static constexpr std::uint64_t kNever = ~std::uint64_t{0};
        std::uint64_t revision = kNever;
        std::uint64_t items = kNever;
        int index = -2;  // the list index last selected in the widget; -2: none yet
    };

    // Runs a user's action on the controls, then brings every widget up to date and
    // gives the focus back to the widget that had it (disabling a control takes it
    // away). A failure no handler foresaw is reported by the editor: no exception
    // crosses the toolkit's event loop.
    void Forward(const std::function<void()>& action);
    // Brings every widget whose control changed up to date; what the widgets report
    // meanwhile is not the user's (Syncing).
    void Sync();
    // The widget of component `index` is shown again from its control at the next Sync,
    // also when the control did not change (the toolkit changed the widget itself).
    void ShowAgain(std::size_t index) { shown_[index].revision = Shown::kNever; }
    // True while widgets are set from the controls.
    bool Syncing() const { return syncing_; }
    Shown& ShownOf(std::size_t index) { return shown_[index]; }

    // Hook: brings component `index`'s widget up to `control` (its items only when
    // `itemsChanged`), its enabled state included.
    virtual void ShowControl(std::size_t index, const Control& control, bool itemsChanged) = 0;
    // Hook: notes the widget that has the focus and returns what gives it back, where it
    // is still enabled and visible and has lost the focus.
    virtual std::function<void()> KeepFocus() = 0;

    Editor& editor_;

private:
    std::array<Control*, window::kComponentCount> controls_{};
    std::array<Shown, window::kComponentCount> shown_{};
    int depth_ = 0;
    bool syncing_ = false;
};

}  // namespace ravlet
