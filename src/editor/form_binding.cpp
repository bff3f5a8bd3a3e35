// The forward-and-sync road both windows share.
#include "editor/form_binding.hpp"

#include <exception>

namespace ravlet {

FormBinding::FormBinding(Editor& editor) : editor_(editor) {
    for (std::size_t i = 0; i < window::kComponentCount; ++i) {
        controls_[i] = editor_.ControlNamed(window::kComponents[i].control);
    }
    editor_.BeforeYield = [this] { Sync(); };
}

FormBinding::~FormBinding() {
    // The editor outlives the window: nothing may call back into it.
    editor_.BeforeYield = nullptr;
}

void FormBinding::Forward(const std::function<void()>& action) {
    // Only the outermost action keeps the focus: a nested one (a message box's own
    // events) runs inside it.
    std::function<void()> giveFocusBack = depth_ == 0 ? KeepFocus() : nullptr;
    ++depth_;
    try {
        action();
    } catch (const std::exception& error) {
        editor_.ReportFailure(error);
    }
    --depth_;
    Sync();
    if (giveFocusBack) giveFocusBack();
}

void FormBinding::Sync() {
    const bool wasSyncing = syncing_;
    syncing_ = true;
    for (std::size_t i = 0; i < window::kComponentCount; ++i) {
        const Control* control = controls_[i];
        if (control == nullptr || control->Revision() == shown_[i].revision) continue;
        const window::Kind kind = window::kComponents[i].kind;
        const bool isList = kind == window::Kind::DropDownList ||
                            kind == window::Kind::EditableDropDown || kind == window::Kind::ListBox;
        const auto* list = isList ? static_cast<const ListControl*>(control) : nullptr;
        const bool itemsChanged = list != nullptr && list->ItemsRevision() != shown_[i].items;
        ShowControl(i, *control, itemsChanged);
        shown_[i].revision = control->Revision();
        if (list != nullptr) shown_[i].items = list->ItemsRevision();
    }
    syncing_ = wasSyncing;
}

}  // namespace ravlet
