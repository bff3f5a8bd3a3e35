// The control model.
#include "editor/controls.hpp"

#include <string>

namespace ravlet {

void Control::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    Touch();
}

void Control::RaiseClick() const {
    if (Click) Click();
}

void ListControl::Clear() {
    items_.clear();
    index_ = -1;
    text_.clear();
    ++itemsRevision_;
    Touch();
}

void ListControl::AddItem(std::string item) {
    items_.push_back(std::move(item));
    ++itemsRevision_;
    Touch();
}

void ListControl::ReplaceItems(std::vector<std::string> items) {
    Clear();
    for (std::string& item : items) AddItem(std::move(item));
}

void ListControl::RemoveItem(int index) {
    if (index < 0 || index >= ListCount()) {
        throw InvalidPropertyValue("list index " + std::to_string(index) + " is out of range");
    }
    items_.erase(items_.begin() + index);
    if (index_ == index) {
        index_ = -1;
        text_.clear();
    } else if (index_ > index) {
        --index_;
    }
    ++itemsRevision_;
    Touch();
}

const std::string& ListControl::List(int index) const {
    if (index < 0 || index >= ListCount()) {
        throw InvalidPropertyValue("list index " + std::to_string(index) + " is out of range");
    }
    return items_[static_cast<std::size_t>(index)];
}

void ListControl::SetListIndex(int index) {
    if (index < -1 || index >= ListCount()) {
        throw InvalidPropertyValue("list index " + std::to_string(index) + " is out of range");
    }
    index_ = index;
    text_ = index < 0 ? std::string() : items_[static_cast<std::size_t>(index)];
    Touch();
    RaiseClick();
}

void ListControl::UserSelect(int index) {
    if (Enabled()) SetListIndex(index);
}

void ListControl::SetText(std::string text) {
    text_ = std::move(text);
    Touch();
}

void ListControl::TypeText(std::string text) {
    SetText(std::move(text));
    if (Change) Change();
}

void CheckBox::SetValue(int value) {
    if (value_ == value) return;
    value_ = value;
    Touch();
}

void CheckBox::UserClick() {
    if (!Enabled()) return;
    SetValue(value_ == 0 ? 1 : 0);
    RaiseClick();
}

void Button::UserClick() {
    if (Enabled()) RaiseClick();
}

void TextBox::SetText(std::string text) {
    text_ = std::move(text);
    Touch();
}

void TextBox::UserClick() {
    if (Enabled()) RaiseClick();
}

}  // namespace ravlet
