// A small model of the window's controls: what the editor reads and changes, and
// what the window shows. No toolkit here, so the editor runs headless.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace ravlet {

// A list index outside -1 .. count-1 (or an item index outside the list).
class InvalidPropertyValue : public std::out_of_range {
public:
    using std::out_of_range::out_of_range;
};

// Enabled state, a Click handler and a revision counter the window watches to know
// what to redraw.
class Control {
public:
    Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    // Runs the Click handler, whatever the enabled state: the handler decides.
    void RaiseClick() const;

    // Changes whenever anything the window shows changes.
    std::uint64_t Revision() const { return revision_; }

    std::function<void()> Click;

protected:
    void Touch() { ++revision_; }

private:
    bool enabled_ = true;
    std::uint64_t revision_ = 0;
};

// A drop-down list, editable drop-down or list box: items in the order appended
// (never sorted), a selected index, and the text of its field.
class ListControl : public Control {
public:
    void Clear();  // no items, nothing selected, empty text
    void AddItem(std::string item);
    // Clear, then each of `items` added as by AddItem.
    void ReplaceItems(std::vector<std::string> items);
    void RemoveItem(int index);  // throws InvalidPropertyValue
    int ListCount() const { return static_cast<int>(items_.size()); }
    const std::string& List(int index) const;  // throws InvalidPropertyValue
    const std::vector<std::string>& Items() const { return items_; }

    int ListIndex() const { return index_; }
    // Selects `index` (-1: nothing) and raises Click at once, also when the control is
    // disabled and also when the index is already selected. Throws
    // InvalidPropertyValue, changing nothing, for an index outside -1 .. count-1.
    void SetListIndex(int index);
    // A selection by the user (mouse or keyboard): as SetListIndex, but a disabled
    // control refuses it, raising nothing.
    void UserSelect(int index);

    // The selected item's text, or for an editable drop-down what its field holds.
    const std::string& Text() const { return text_; }
    // Sets the field's text without raising any event.
    void SetText(std::string text);

    // A typed edit of the field: sets the text, then raises Change.
    void TypeText(std::string text);
    std::function<void()> Change;

    // Changes only when the items change (the window rebuilds its list then).
    std::uint64_t ItemsRevision() const { return itemsRevision_; }

private:
    std::vector<std::string> items_;
    int index_ = -1;
    std::string text_;
    std::uint64_t itemsRevision_ = 0;
};

// A check box: value 0 (not checked) or 1 (checked).
class CheckBox : public Control {
public:
    int Value() const { return value_; }
    void SetValue(int value);  // no event
    // A click by the user: toggles the value, then raises Click (when enabled).
    void UserClick();

private:
    int value_ = 0;
};

// A push button.
class Button : public Control {
public:
    // A click by the user: raises Click when enabled.
    void UserClick();
};

// A multi-line text box whose text the program sets.
class TextBox : public Control {
public:
    const std::string& Text() const { return text_; }
    void SetText(std::string text);
    // A click by the user: raises Click when enabled.
    void UserClick();

private:
    std::string text_;
};

}  // namespace ravlet
