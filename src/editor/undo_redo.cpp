// Undo and redo in the window: the history's steps taken back and made again, and the
// state before or after each shown without the cascade writing anything.
#include <optional>
#include <string>

#include "editor/editor.hpp"

namespace ravlet {
namespace {

// An index the list holds, else none: the lists are rebuilt from the same base, so this
// only guards against a view that no longer fits.
int Within(const ListControl& list, int index) {
    return index >= 0 && index < list.ListCount() ? index : -1;
}

// Closes the gates of the four lists for a while, so that selecting by code runs no
// handler's work (no fill, no write), and opens them again as they were.
class GatesClosed {
public:
    explicit GatesClosed(Editor& e) : lists_{&e.Version, &e.Group, &e.Parameters, &e.Value} {
        for (std::size_t i = 0; i < 4; ++i) {
            wasEnabled_[i] = lists_[i]->Enabled();
            lists_[i]->SetEnabled(false);
        }
    }
    ~GatesClosed() {
        for (std::size_t i = 0; i < 4; ++i) lists_[i]->SetEnabled(wasEnabled_[i]);
    }
    GatesClosed(const GatesClosed&) = delete;
    GatesClosed& operator=(const GatesClosed&) = delete;

private:
    ListControl* lists_[4];
    bool wasEnabled_[4] = {};
};

}  // namespace

View Editor::CurrentView() const {
    View view{Version.ListIndex(),
              Group.ListIndex(),
              Parameters.ListIndex(),
              Autoset.Value(),
              Advanced.Value(),
              hintShows_,
              {}};
    if (hintShows_ == View::Hint::Kept) view.kept = Description.Text();
    return view;
}

void Editor::ShowView(const View& view) {
    // Inside an action, so that the handlers the selections raise begin no step.
    ++actionDepth_;
    struct Leave {
        int& depth;
        ~Leave() { --depth; }
    } leave{actionDepth_};
    const GatesClosed closed(*this);
    Autoset.SetValue(view.autoset);
    Advanced.SetValue(view.advanced);
    Version.SetListIndex(Within(Version, view.version));
    if (Version.ListIndex() >= 0) {
        FillGroups();
    } else {
        Group.Clear();
    }
    Group.SetListIndex(Within(Group, view.group));
    if (Group.ListIndex() >= 0) {
        FillParameters();
    } else {
        Parameters.Clear();
    }
    Parameters.SetListIndex(Within(Parameters, view.parameter));
    if (Parameters.ListIndex() >= 0) {
        Value.SetListIndex(FillValues());
    } else {
        Value.Clear();
    }
    switch (view.hint) {
        case View::Hint::Parameter:
            SetHint(view.hint, Parameters.ListIndex() >= 0 ? HintText() : std::string());
            break;
        case View::Hint::SettingsText:
            SetHint(view.hint, IniText);
            break;
        case View::Hint::Kept:
            SetHint(view.hint, view.kept);
            break;
    }
}

bool Editor::Undo() { return Perform(HistoryCommand::Undo); }

bool Editor::Redo() { return Perform(HistoryCommand::Redo); }

bool Editor::Perform(HistoryCommand command) {
    if (command == HistoryCommand::None || actionDepth_ > 0) return false;
    const std::optional<View> shown =
        command == HistoryCommand::Undo ? history_.Undo(IniText) : history_.Redo(IniText);
    if (!shown) return false;
    ShowView(*shown);
    return true;
}

}  // namespace ravlet
