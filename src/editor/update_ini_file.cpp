// Fill from base defaults in the window: the fill walk, with the Group and Parameters
// lists following it as the cursor.
#include <string>
#include <vector>

#include "editor/editor.hpp"
#include "operations/fill_defaults.hpp"

namespace ravlet {
namespace {

// Disables, for the run, every editing control and the two that could start a second
// fill or a load (Autoset, Loadini), and restores them however the run ends: the lists
// the walk moved and Advanced come back enabled, the others as they were.
class FillGuard {
public:
    FillGuard(Editor& e, bool& filling) : e_(e), filling_(filling) {
        filling_ = true;
        e.ForEachEditingControl([this](Control& c) { Hold(c); });
        Hold(e.Autoset);
        Hold(e.Loadini);
    }
    ~FillGuard() {
        for (const Held& h : held_) h.control->SetEnabled(h.wasEnabled || Walked(*h.control));
        filling_ = false;
    }
    FillGuard(const FillGuard&) = delete;
    FillGuard& operator=(const FillGuard&) = delete;

private:
    struct Held {
        Control* control;
        bool wasEnabled;
    };
    void Hold(Control& c) {
        held_.push_back({&c, c.Enabled()});
        c.SetEnabled(false);
    }
    bool Walked(const Control& c) const {
        return &c == &e_.Advanced || &c == &e_.Group || &c == &e_.Parameters || &c == &e_.Value;
    }

    Editor& e_;
    bool& filling_;
    std::vector<Held> held_;
};

}  // namespace

void Editor::UpdateIniFile() {
    FillGuard guard(*this, filling_);
    FillSteps steps;
    steps.groups = [this](const std::vector<std::string>& groups) { Group.ReplaceItems(groups); };
    steps.group = [this](int index, const std::vector<std::string>& parameters) {
        Group.SetListIndex(index);  // Group_Click does nothing while Group is disabled
        Parameters.ReplaceItems(parameters);
    };
    steps.parameter = [this](int index) { Parameters.SetListIndex(index); };
    steps.written = [this] { Yield(); };
    // The controls that could edit the text stay disabled through the yields, so the
    // walk's copy is the only one changing.
    std::string filled = FillFromDefaults(BaseText, Version.Text(), IniText, steps);
    // The fill is one edit of the step that started it, however many values it wrote.
    if (auto edit = EditBetween(IniText, filled)) history_.Record(std::move(*edit), filled);
    IniText = std::move(filled);
}

}  // namespace ravlet
