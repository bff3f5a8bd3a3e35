// Fill from base defaults, walking the version's groups and parameters with the
// Group and Parameters lists as the cursor.
#include "operations/update_ini_file.hpp"

#include <array>
#include <stdexcept>

#include "editor/editor.hpp"
#include "operations/default_rule.hpp"
#include "textengine/key_lookup.hpp"
#include "versionbase/catalogue.hpp"
#include "textengine/value_replacement.hpp"

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

class QuietPlatform : public Platform {
public:
    std::optional<std::string> ShowOpenDialog(const OpenDialogRequest&) override { return std::nullopt; }
    void ShowMessage(const std::string&, MessageIcon) override {}
    void Quit() override {}
    std::string CurrentDirectory() override { return "."; }
    void YieldEvents() override {}
    void SetBusy(bool) override {}
};

}  // namespace

void UpdateIniFile(Editor& e) {
    FillGuard guard(e, e.filling_);
    // Every value spec is looked up after the same marker: find it once.
    const std::string& version = e.Version.Text();
    const std::size_t marker = version.empty() ? 0 : VersionMarker(e.BaseText, version);
    e.FillGroups();
    const int groups = e.Group.ListCount();
    for (int g = 0; g < groups; ++g) {
        e.Group.SetListIndex(g);  // Group_Click does nothing while Group is disabled
        e.FillParameters();       // the full list, as Advanced is disabled
        const int params = e.Parameters.ListCount();
        for (int p = 0; p < params; ++p) {
            e.Parameters.SetListIndex(p);
            const std::string spec =
                GetParamValAfter(e.BaseText, marker, e.Group.Text(), e.Parameters.Text());
            std::string value = DefaultOf(spec);
            PutParamVal(e.IniText, e.Group.Text(), e.Parameters.Text(), value);
            e.platform().YieldEvents();
        }
    }
}

std::string FillFromDefaults(std::string_view base, std::string_view version, std::string iniText) {
    QuietPlatform platform;
    Editor e(platform);
    e.BaseText = std::string(base);
    e.IniText = std::move(iniText);
    e.FillVersions();
    int index = -1;
    for (int i = 0; i < e.Version.ListCount(); ++i) {
        if (e.Version.List(i) == version) {
            index = i;
            break;
        }
    }
    if (index < 0) throw std::invalid_argument("the version base lists no version " + std::string(version));
    // With the gates closed, as before a file is loaded, selecting the version
    // starts no cascade: only the fill itself writes.
    e.Version.SetEnabled(false);
    e.Group.SetEnabled(false);
    e.Parameters.SetEnabled(false);
    e.Value.SetEnabled(false);
    e.Version.SetListIndex(index);
    UpdateIniFile(e);
    return std::move(e.IniText);
}

}  // namespace ravlet
