// Fill from base defaults in the window: the fill walk, with the Group and Parameters
// lists following it as the cursor.
#include "operations/update_ini_file.hpp"

#include <array>

#include "editor/editor.hpp"
#include "operations/fill_defaults.hpp"

namespace ravlet {
namespace {

// Disables the controls for the run and restores them however it ends: the four the
// walk moves come back enabled, the ones that could start a second fill, a load or
// a save come back as they were.
class FillGuard {
public:
    explicit FillGuard(Editor& e, bool& filling)
        : e_(e), filling_(filling),
          others_{&e.Version, &e.Autoset, &e.Loadini, &e.Autoupdate, &e.Save} {
        for (std::size_t i = 0; i < others_.size(); ++i) wasEnabled_[i] = others_[i]->Enabled();
        filling_ = true;
        e_.Advanced.SetEnabled(false);
        e_.Group.SetEnabled(false);
        e_.Parameters.SetEnabled(false);
        e_.Value.SetEnabled(false);
        for (Control* c : others_) c->SetEnabled(false);
    }
    ~FillGuard() {
        e_.Advanced.SetEnabled(true);
        e_.Group.SetEnabled(true);
        e_.Parameters.SetEnabled(true);
        e_.Value.SetEnabled(true);
        for (std::size_t i = 0; i < others_.size(); ++i) others_[i]->SetEnabled(wasEnabled_[i]);
        filling_ = false;
    }
    FillGuard(const FillGuard&) = delete;
    FillGuard& operator=(const FillGuard&) = delete;

private:
    Editor& e_;
    bool& filling_;
    std::array<Control*, 5> others_;
    std::array<bool, 5> wasEnabled_{};
};

}  // namespace

void UpdateIniFile(Editor& e) {
    FillGuard guard(e, e.filling_);
    FillSteps steps;
    steps.groups = [&e](const std::vector<std::string>& groups) {
        e.Group.Clear();
        for (const std::string& header : groups) e.Group.AddItem(header);
    };
    steps.group = [&e](int index, const std::vector<std::string>& parameters) {
        e.Group.SetListIndex(index);  // Group_Click does nothing while Group is disabled
        e.Parameters.Clear();
        for (const std::string& name : parameters) e.Parameters.AddItem(name);
    };
    steps.parameter = [&e](int index) { e.Parameters.SetListIndex(index); };
    steps.written = [&e] { e.platform().YieldEvents(); };
    // The controls that could edit the text stay disabled through the yields, so the
    // walk's copy is the only one changing.
    e.IniText = FillFromDefaults(e.BaseText, e.Version.Text(), e.IniText, steps);
}

}  // namespace ravlet
