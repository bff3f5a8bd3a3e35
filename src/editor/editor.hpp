// The editor: its state (the five texts), the model of the window's controls, and the
// window's procedures and event handlers. Everything the window does is decided here.
#pragma once

#include <exception>
#include <functional>
#include <string>
#include <string_view>

#include "editor/controls.hpp"
#include "editor/history.hpp"
#include "editor/history_keys.hpp"
#include "editor/platform.hpp"
#include "textengine/value_rule.hpp"

namespace ravlet {

class Editor {
public:
    explicit Editor(Platform& platform);
    Editor(const Editor&) = delete;
    Editor& operator=(const Editor&) = delete;

    // Editor state. BaseText, IniText and OldIniText are Windows-1251 bytes; AppDir and
    // IniPath are native paths.
    std::string AppDir;
    std::string BaseText;
    std::string IniPath;
    std::string IniText;
    std::string OldIniText;
    // The settings file's bytes as they were loaded: a save first checks that no other
    // program changed the file since.
    std::string LoadedIniText;
    // The open dialog's file name: what it opens with, and the last path it reported.
    std::string DialogFileName;
    // The file the Load dialog starts at; "" for tarven.ini in AppDir.
    std::string LoadStart;

    // Controls. Item and field texts are Windows-1251 bytes.
    ListControl Version;
    CheckBox Autoset;
    CheckBox Advanced;
    Button Autoupdate;
    Button Loadini;
    ListControl Group;
    ListControl Parameters;
    ListControl Value;
    TextBox Description;
    Button Save;

    // Start-up: reads rvbase.txt from the current directory, disables the editing
    // controls and lists the versions. On any failure shows the start-up message, asks
    // the platform to quit and returns false.
    bool Form_Load();

    // Event handlers.
    void Version_Click();
    void Autoset_Click();
    void Advanced_Click();
    void Group_Click();
    void Parameters_Click();
    void Value_Click();
    void Value_Change();
    void Description_Click();
    void Loadini_Click();
    void Autoupdate_Click();
    void Save_Click();

    // Window procedures: each clears its list, refills it from the texts and the
    // selections, and returns the index to select.
    void FillVersions();
    int FillGroups();
    int FillParameters();
    int FillValues();
    // The index of the loaded settings text's version; shows the "not recognised"
    // message and gives the last version (-1 for none) when no support list matches.
    int DetectVersion();
    // Whether the selected parameter's key is in the loaded settings text, in the
    // selected group; a value for a missing key is never written.
    bool ParameterInSettingsFile() const;

    // Fill from base defaults: walks every group of the selected version and the full
    // parameter list of each, using the Group and Parameters lists as the cursor, and
    // writes each parameter's default into IniText where the key exists. Every editing
    // control, Autoset and Loadini are disabled during the run; afterwards Advanced,
    // Group, Parameters and Value are enabled and the others are as they were. Ends
    // with the groups of the version and the last group's full list, the last group
    // and parameter selected.
    void UpdateIniFile();

    // The controls start-up disables and loading enables, in this order.
    template <typename F>
    void ForEachEditingControl(F f) {
        f(Autoupdate);
        f(Parameters);
        f(Advanced);
        f(Version);
        f(Value);
        f(Group);
        f(Save);
    }

    // The control called `name` ("Version", "Save", ...); nullptr for any other name.
    Control* ControlNamed(std::string_view name);

    // Undo and redo of the user's steps (history.hpp): a value picked, a run of
    // keystrokes in the value field, the fill, the transfer, each with what the cascade
    // wrote on its way. Undo puts the settings text back byte for byte and shows it as
    // it was before the step (version, group, parameter, its value and hint, the check
    // boxes, a transfer's report) without the cascade writing anything; Redo makes the
    // step again and shows it as it was after. False, nothing changed, when there is no
    // step, or while an action runs (a long one lets the keys through).
    bool Undo();
    bool Redo();
    // The command of a history key (history_keys.hpp); false for None.
    bool Perform(HistoryCommand command);
    // The user left the value field: the next keystroke begins a step of its own.
    void ValueFieldLeft() { history_.EndRun(); }
    const History& UndoHistory() const { return history_; }

    // Runs where a long action lets the platform handle pending events: the window
    // shows the controls as they are at that moment.
    std::function<void()> BeforeYield;

    // An action that failed in a way no handler foresaw (too little memory, say): the
    // user is told, in a critical message, that the action was not completed and why.
    void ReportFailure(const std::exception& error);

private:
    // Marks a handler's run: the outermost one is a user action, a step of the history.
    class ActionScope;
    View CurrentView() const;
    // Shows `view` with the lists' handlers gated off, so nothing is filled or written.
    void ShowView(const View& view);
    // The selected parameter's hint, with the note when its key is not in the file.
    std::string HintText() const;
    void SetHint(View::Hint shows, std::string text);

    void SelectOrEmptyBelow(ListControl& list, int index, void (Editor::*emptyBelow)());
    void EmptyBelowGroup();
    void EmptyBelowParameters();
    void Quit();
    // Shows the controls as they are, then lets the platform handle pending events.
    void Yield();

    Platform& platform_;
    bool filling_ = false;
    History history_;
    int actionDepth_ = 0;
    View::Hint hintShows_ = View::Hint::Kept;
};

}  // namespace ravlet
