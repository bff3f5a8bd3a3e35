// The window's procedures and event handlers over the control model.
#include "editor/editor.hpp"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <new>
#include <optional>

#include "editor/lock_wait_question.hpp"
#include "editor/messages.hpp"
#include "operations/shared_messages.hpp"
#include "operations/transfer.hpp"
#include "textengine/codepage.hpp"
#include "textengine/key_lookup.hpp"
#include "textengine/locked_text_file.hpp"
#include "textengine/text_file.hpp"
#include "textengine/value_replacement.hpp"
#include "versionbase/catalogue.hpp"
#include "versionbase/value_choices.hpp"
#include "versionbase/version_list.hpp"

namespace ravlet {
namespace {

OpenDialogRequest DialogRequest(const char* title, const std::string& fileName) {
    OpenDialogRequest request{title, {}, fileName};
    for (const messages::FilterText& f : messages::kFilter)
        request.filters.push_back({f.description, f.pattern});
    return request;
}

// Restores the normal mouse pointer however the transfer ends, or earlier, before a
// message that waits for the user.
class BusyPointer {
public:
    explicit BusyPointer(Platform& platform) : platform_(platform) { platform_.SetBusy(true); }
    ~BusyPointer() { Release(); }
    void Release() {
        if (on_) platform_.SetBusy(false);
        on_ = false;
    }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    Platform& platform_;
    bool on_ = true;
};

std::string FileFailed(const char* attempt, const FileError& error) {
    std::string reason = error.Reason();
    if (error.Kind() == FileFailure::Interrupted) reason += messages::kRecoverTorn;
    return messages::FileFailed(attempt, error.Path(), reason);
}

}  // namespace

// The outermost handler's run is the user's action: what it writes to IniText, the
// cascade's writes included, is one step of the history.
class Editor::ActionScope {
public:
    explicit ActionScope(Editor& e, bool typing = false) : e_(e) {
        if (e_.actionDepth_++ == 0) e_.history_.Begin(e_.IniText.size(), typing);
    }
    ~ActionScope() {
        if (--e_.actionDepth_ != 0) return;
        try {
            e_.history_.End(e_.CurrentView(), e_.IniText.size());
        } catch (const std::exception&) {
            // Too little memory to keep the step: a history without it would patch the
            // wrong bytes, so none is kept.
            e_.history_.Clear();
        }
    }
    ActionScope(const ActionScope&) = delete;
    ActionScope& operator=(const ActionScope&) = delete;

private:
    Editor& e_;
};

Editor::Editor(Platform& platform) : platform_(platform) {
    Version.Click = [this] { Version_Click(); };
    Autoset.Click = [this] { Autoset_Click(); };
    Advanced.Click = [this] { Advanced_Click(); };
    Group.Click = [this] { Group_Click(); };
    Parameters.Click = [this] { Parameters_Click(); };
    Value.Click = [this] { Value_Click(); };
    Value.Change = [this] { Value_Change(); };
    Description.Click = [this] { Description_Click(); };
    Loadini.Click = [this] { Loadini_Click(); };
    Autoupdate.Click = [this] { Autoupdate_Click(); };
    Save.Click = [this] { Save_Click(); };
}

void Editor::Quit() { platform_.Quit(); }

Control* Editor::ControlNamed(std::string_view name) {
    Control* const controls[] = {&Version, &Autoset,    &Advanced, &Autoupdate,  &Loadini,
                                 &Group,   &Parameters, &Value,    &Description, &Save};
    const char* const names[] = {"Version", "Autoset",    "Advanced", "Autoupdate",  "Loadini",
                                 "Group",   "Parameters", "Value",    "Description", "Save"};
    for (std::size_t i = 0; i < std::size(names); ++i) {
        if (name == names[i]) return controls[i];
    }
    return nullptr;
}

void Editor::ReportFailure(const std::exception& error) {
    // The library's own texts are English; the one a user meets most is worded here.
    const bool noMemory = dynamic_cast<const std::bad_alloc*>(&error) != nullptr;
    platform_.ShowMessage(UnforeseenFailure(noMemory ? kNoMemory : error.what()),
                          MessageIcon::Critical);
}

void Editor::Yield() {
    if (!platform_.YieldDue()) return;
    if (BeforeYield) BeforeYield();
    platform_.YieldEvents();
}

bool Editor::Form_Load() {
    try {
        AppDir = platform_.CurrentDirectory() +
                 static_cast<char>(std::filesystem::path::preferred_separator);
        BaseText = LoadTextFile(AppDir + kBaseFileName);
        ForEachEditingControl([](Control& c) { c.SetEnabled(false); });
        FillVersions();
        return true;
    } catch (const std::exception&) {
        platform_.ShowMessage(messages::kBaseNotFound, MessageIcon::Critical);
        Quit();
        return false;
    }
}

// ---- Window procedures ----------------------------------------------------

void Editor::FillVersions() {
    for (auto& name : ListVersions(BaseText)) Version.AddItem(std::move(name));
}

int Editor::FillGroups() {
    Group.ReplaceItems(ListGroups(BaseText, Version.Text()));
    return 0;
}

int Editor::FillParameters() {
    // Disabled (during the fill) means the full list, as does a checked box.
    const bool full = !(Advanced.Enabled() && Advanced.Value() == 0);
    Parameters.ReplaceItems(ListParameters(BaseText, Version.Text(), Group.Text(), full));
    return 0;
}

int Editor::FillValues() {
    auto choices = ListValues(BaseText, IniText, Version.Text(), Group.Text(), Parameters.Text());
    Value.ReplaceItems(std::move(choices.items));
    return choices.selected;
}

int Editor::DetectVersion() {
    const Detection found = ravlet::DetectVersion(IniText, BaseText, Version.Items());
    if (!found.recognised) platform_.ShowMessage(kVersionNotRecognised, MessageIcon::Critical);
    return found.index;
}

bool Editor::ParameterInSettingsFile() const {
    return FindKey(IniText, "", Group.Text(), Parameters.Text(), KeyRule::Settings).has_value();
}

// ---- Selection cascade ----------------------------------------------------

// A list just refilled: `index` selected, or, when the list is empty, no selection
// and what hangs below it emptied.
void Editor::SelectOrEmptyBelow(ListControl& list, int index, void (Editor::*emptyBelow)()) {
    if (list.ListCount() == 0) {
        (this->*emptyBelow)();
        return;
    }
    list.SetListIndex(index);
}

void Editor::EmptyBelowGroup() {
    Parameters.Clear();
    EmptyBelowParameters();
}

void Editor::EmptyBelowParameters() {
    Value.Clear();
    SetHint(View::Hint::Kept, {});
}

void Editor::SetHint(View::Hint shows, std::string text) {
    hintShows_ = shows;
    Description.SetText(std::move(text));
}

void Editor::Version_Click() {
    const ActionScope action(*this);
    if (Version.Enabled() && Autoset.Value() == 1 && !filling_) UpdateIniFile();
    if (!Group.Enabled()) return;
    SelectOrEmptyBelow(Group, FillGroups(), &Editor::EmptyBelowGroup);
}

void Editor::Autoset_Click() {
    const ActionScope action(*this);
    Version_Click();
}

void Editor::Advanced_Click() {
    const ActionScope action(*this);
    Group_Click();
}

void Editor::Group_Click() {
    const ActionScope action(*this);
    if (!Group.Enabled()) return;
    SelectOrEmptyBelow(Parameters, FillParameters(), &Editor::EmptyBelowParameters);
}

void Editor::Parameters_Click() {
    const ActionScope action(*this);
    if (!Parameters.Enabled()) return;
    const int i = FillValues();
    Value.SetListIndex(i);
    SetHint(View::Hint::Parameter, HintText());
}

std::string Editor::HintText() const {
    std::string hint = ParameterHint(BaseText, Group.Text(), Parameters.Text());
    if (!ParameterInSettingsFile()) {
        // Said here because the value list looks the same whether or not it is written.
        if (!hint.empty()) hint += "\r\n";
        hint += *Utf8ToCp1251(messages::kNotInSettingsFile);
    }
    return hint;
}

void Editor::Value_Click() {
    const ActionScope action(*this);
    if (!Value.Enabled()) return;
    // With no parameter selected there is no key to write to.
    if (Parameters.ListIndex() < 0) return;
    std::string value = Value.Text();
    try {
        if (auto edit = WriteParamVal(IniText, Group.Text(), Parameters.Text(), value)) {
            history_.Record(std::move(*edit), IniText);
        }
    } catch (const InvalidValue&) {
        // The window refuses such a character as it is typed (RefusedCharacterMessage);
        // a value that still holds one, typed or read from the file, is not written (a
        // ';' would leave the rest of the value behind a comment mark, growing with
        // every later write).
    }
}

void Editor::Value_Change() {
    const ActionScope action(*this, true);
    Value_Click();
}

void Editor::Description_Click() {
    const ActionScope action(*this);
    SetHint(View::Hint::SettingsText, IniText);
}

// ---- Loading, transfer, saving ---------------------------------------------

void Editor::Loadini_Click() {
    const ActionScope action(*this);
    DialogFileName = LoadStart.empty() ? AppDir + kSettingsFileName : LoadStart;
    const auto chosen =
        platform_.ShowOpenDialog(DialogRequest(messages::kOpenTitle, DialogFileName));
    if (!chosen) return;  // cancelled: nothing changes
    DialogFileName = *chosen;

    std::string text;
    try {
        // A file another program holds is waited for under the busy pointer, and the
        // user asked once the wait lasts.
        const BusyPointer busy(platform_);
        const LockWaitQuestion asking(platform_);
        text = LoadTextFile(*chosen);
    } catch (const LockWaitStopped&) {
        return;  // the user's choice: nothing changes
    } catch (const FileError& error) {
        platform_.ShowMessage(FileFailed(messages::kLoadSettingsFile, error),
                              MessageIcon::Critical);
        return;
    }
    // Path and text change together, only after the whole file was read.
    IniPath = *chosen;
    LoadedIniText = text;
    IniText = std::move(text);
    // Another file: a new history, starting after the load's own cascade.
    history_.Clear();

    const int i = DetectVersion();
    ForEachEditingControl([](Control& c) { c.SetEnabled(true); });
    if (i >= 0) {
        Version.SetListIndex(i);
    } else {
        Group.Clear();
        EmptyBelowGroup();
    }
}

void Editor::Autoupdate_Click() {
    const ActionScope action(*this);
    const auto chosen =
        platform_.ShowOpenDialog(DialogRequest(messages::kOpenOldTitle, DialogFileName));
    if (!chosen) return;  // cancelled: nothing changes
    DialogFileName = *chosen;

    BusyPointer busy(platform_);
    Yield();
    TransferResult result;
    std::optional<std::string> failure;
    try {
        const LockWaitQuestion asking(platform_);
        OldIniText = LoadTextFile(*chosen);
        const std::string before = IniText;
        result = TransferValues(BaseText, OldIniText, IniText);
        if (auto edit = EditBetween(before, IniText)) history_.Record(std::move(*edit), IniText);
        if (result.failure) failure = TransferStopMessage(*result.failure);
    } catch (const LockWaitStopped&) {
        return;  // the user's choice: nothing changes
    } catch (const FileError& error) {
        // Nothing was carried: the heading alone says so.
        result.report = TransferReportHeading();
        failure = FileFailed(messages::kLoadOldSettingsFile, error);
    }
    // The lists follow the changed text, and the report says exactly what changed,
    // also when the walk stopped early or never started.
    Group_Click();
    SetHint(View::Hint::Kept, std::move(result.report));
    busy.Release();
    if (failure) platform_.ShowMessage(*failure, MessageIcon::Critical);
}

void Editor::Save_Click() {
    // What the file may hold for the save to go ahead: what was loaded, or what the
    // user since agreed to overwrite (nullopt: agreed that it is gone).
    std::optional<std::string> expected = LoadedIniText;
    const LockWaitQuestion asking(platform_);
    for (;;) {
        BusyPointer busy(platform_);
        // Compared and written under one lock, so no writer lands in between.
        std::optional<LockedTextFile> file;
        try {
            file.emplace(IniPath);
        } catch (const LockWaitStopped&) {
            return;  // the user's choice: the file and the edits stay as they were
        } catch (const FileError& error) {
            if (error.Kind() != FileFailure::Missing) {
                busy.Release();
                platform_.ShowMessage(FileFailed(messages::kSaveSettingsFile, error),
                                      MessageIcon::Critical);
                return;
            }
        }
        std::optional<std::string> onDisk;
        if (file) onDisk = file->Text();
        if (onDisk != expected) {
            // Not locked while the user thinks; the answer is checked against the file again.
            file.reset();
            busy.Release();
            // No keeps the edits in memory; the user may save again later.
            if (!platform_.AskYesNo(onDisk ? messages::kChangedOnDisk : messages::kDeletedOnDisk))
                return;
            expected = std::move(onDisk);
            continue;
        }
        try {
            if (file)
                file->Save(IniText);
            else
                SaveTextFile(IniPath, IniText);
        } catch (const LockWaitStopped&) {
            return;  // the user's choice: the file and the edits stay as they were
        } catch (const FileError& error) {
            // The edits stay in memory so that the user can try again.
            busy.Release();
            platform_.ShowMessage(FileFailed(messages::kSaveSettingsFile, error),
                                  MessageIcon::Critical);
            return;
        }
        break;
    }
    LoadedIniText = IniText;
    platform_.ShowMessage(messages::kSaved, MessageIcon::Information);
    Quit();
}

}  // namespace ravlet
