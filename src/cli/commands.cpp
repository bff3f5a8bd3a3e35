#include "cli/commands.hpp"

#include <algorithm>
#include <ostream>
#include <vector>

#include "cli/terminal.hpp"

#include "operations/transfer.hpp"
#include "operations/versions_diff.hpp"
#include "operations/fill_defaults.hpp"
#include "operations/settings_checks.hpp"
#include "operations/shared_messages.hpp"
#include "textengine/codepage.hpp"
#include "textengine/key_lookup.hpp"
#include "textengine/value_replacement.hpp"
#include "versionbase/base_checks.hpp"
#include "versionbase/catalogue.hpp"
#include "versionbase/value_choices.hpp"
#include "versionbase/version_list.hpp"

namespace ravlet::cli {
namespace {

// Names in messages are shown quoted, in the terminal's encoding.
std::string Quoted(std::string_view cp1251) { return QuotedArgument(cp1251, Terminal::Cp1251); }

// What a file holds, as the terminal is shown it: UTF-8, with control characters escaped
// as in arguments, so that a name or value read from a file cannot steer the terminal.
std::string Shown(std::string_view cp1251) { return EscapedForTerminal(Cp1251ToUtf8(cp1251)); }

// A UTF-8 message of several lines that quotes what a file holds, escaped line by line.
std::string ShownLines(std::string_view utf8) {
    std::string shown;
    for (std::size_t start = 0;;) {
        const std::size_t end = utf8.find('\n', start);
        shown += EscapedForTerminal(utf8.substr(start, end - start));
        if (end == std::string_view::npos) return shown;
        shown += '\n';
        start = end + 1;
    }
}

void PrintItem(std::ostream& out, std::string_view cp1251) { out << Shown(cp1251) << '\n'; }

void PrintItems(std::ostream& out, const std::vector<std::string>& items) {
    for (const auto& item : items) PrintItem(out, item);
}

bool Contains(const std::vector<std::string>& items, std::string_view name) {
    return std::find(items.begin(), items.end(), name) != items.end();
}

// The lookups find a version by the prefix of its marker; the commands accept only
// names the base lists, so a typo is reported instead of reading another record.
bool CheckVersion(std::string_view base, std::string_view version, std::ostream& err) {
    if (Contains(ListVersions(base), version)) return true;
    err << "Версия " << Quoted(version) << " не найдена в базе версий\n";
    return false;
}

bool CheckGroup(std::string_view base, std::string_view version, std::string_view group,
                std::ostream& err) {
    if (!CheckVersion(base, version, err)) return false;
    if (Contains(ListGroups(base, version), group)) return true;
    err << "Группа " << Quoted(group) << " не найдена в версии " << Quoted(version) << '\n';
    return false;
}

// The version a command works with: `version` when given and listed, else the one
// `iniText` belongs to. nullopt, with the message on `err`, when there is none.
std::optional<std::string> ChosenVersion(std::string_view base, std::string_view iniText,
                                         std::optional<std::string_view> version,
                                         std::ostream& err) {
    if (version) {
        if (!CheckVersion(base, *version, err)) return std::nullopt;
        return std::string(*version);
    }
    const auto versions = ListVersions(base);
    const Detection detection = DetectVersion(iniText, base, versions);
    if (!detection.recognised) {
        err << kVersionNotRecognised << '\n';
        return std::nullopt;
    }
    return versions[static_cast<std::size_t>(detection.index)];
}

std::string InGroup(std::string_view group) {
    return group.empty() ? std::string() : " в группе " + Quoted(group);
}

// The report's CR LF lines as terminal lines.
// Built whole and written at once: the report may go to an unbuffered stderr.
void PrintReport(std::ostream& out, std::string_view report) {
    std::string lines;
    lines.reserve(report.size() + 1);
    std::size_t start = 0;
    while (true) {
        const std::size_t end = report.find("\r\n", start);
        lines += Shown(report.substr(start, end == std::string_view::npos ? end : end - start));
        lines += '\n';
        if (end == std::string_view::npos) break;
        start = end + 2;
    }
    out << lines;
}

}  // namespace

bool HasControlCharacter(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 32; });
}

int VersionsCommand(std::string_view base, Streams io) {
    PrintItems(io.out, ListVersions(base));
    return kDone;
}

int DetectCommand(std::string_view base, std::string_view iniText, Streams io) {
    const auto versions = ListVersions(base);
    const Detection detection = DetectVersion(iniText, base, versions);
    if (detection.index >= 0)
        PrintItem(io.out, versions[static_cast<std::size_t>(detection.index)]);
    if (detection.recognised) return kDone;
    io.err << kVersionNotRecognised << '\n';
    return kNotFound;
}

int GroupsCommand(std::string_view base, std::string_view version, Streams io) {
    if (!CheckVersion(base, version, io.err)) return kNotFound;
    PrintItems(io.out, ListGroups(base, version));
    return kDone;
}

int ParamsCommand(std::string_view base, std::string_view version, std::string_view group,
                  bool full, Streams io) {
    if (!CheckGroup(base, version, group, io.err)) return kNotFound;
    PrintItems(io.out, ListParameters(base, version, group, full));
    return kDone;
}

int ValuesCommand(std::string_view base, std::string_view iniText, std::string_view version,
                  std::string_view group, std::string_view key, Streams io) {
    if (!CheckGroup(base, version, group, io.err)) return kNotFound;
    if (!Contains(ListParameters(base, version, group, true), key)) {
        io.err << "Параметр " << Quoted(key) << " не найден" << InGroup(group) << " версии "
               << Quoted(version) << '\n';
        return kNotFound;
    }
    const ValueChoices choices = ListValues(base, iniText, version, group, key);
    for (std::size_t i = 0; i < choices.items.size(); ++i) {
        io.out << (static_cast<int>(i) == choices.selected ? "* " : "  ");
        PrintItem(io.out, choices.items[i]);
    }
    return kDone;
}

int HintCommand(std::string_view base, std::string_view group, std::string_view key, Streams io) {
    PrintItem(io.out, ParameterHint(base, group, key));
    return kDone;
}

int GetCommand(std::string_view text, std::string_view key, std::string_view group,
               std::string_view version, Streams io) {
    // A version means the file is a version base, whose parameter lines carry a sign;
    // otherwise it is read as a settings file, where a key starts its line.
    const KeyRule rule = version.empty() ? KeyRule::Settings : KeyRule::Base;
    if (!FindKey(text, version, group, key, rule)) {
        io.err << "Параметр " << Quoted(key) << " не найден" << InGroup(group) << '\n';
        return kNotFound;
    }
    PrintItem(io.out, GetParamVal(text, version, group, key, rule));
    return kDone;
}

int SetCommand(std::string& iniText, std::string_view group, std::string_view key,
               std::string value, Streams io) {
    bool found = false;
    try {
        found = PutParamVal(iniText, group, key, value);
    } catch (const InvalidValue& e) {
        io.err << RefusedCharacterMessage(e.Refused()) << '\n';
        return kUsage;
    }
    if (!found) {
        io.err << "Параметр " << Quoted(key) << " не найден" << InGroup(group)
               << ", файл не изменён\n";
        return kNotFound;
    }
    return kDone;
}

int DefaultsCommand(std::string_view base, std::string& iniText,
                    std::optional<std::string_view> version, Streams io) {
    const auto chosen = ChosenVersion(base, iniText, version, io.err);
    if (!chosen) return kNotFound;
    iniText = FillFromDefaults(base, *chosen, std::move(iniText));
    return kDone;
}

int CheckCommand(std::string_view base, std::string_view iniText,
                 std::optional<std::string_view> version, Streams io) {
    const auto chosen = ChosenVersion(base, iniText, version, io.err);
    if (!chosen) return kNotFound;
    const std::string ofVersion = " версии " + Shown(*chosen);
    const auto findings = CheckSettings(base, *chosen, iniText);
    for (const CheckFinding& f : findings) {
        switch (f.kind) {
            case CheckFinding::Kind::MissingKey:
                io.out << Shown(f.group + f.key) << ": нет в файле\n";
                break;
            case CheckFinding::Kind::NotAllowed: {
                std::string allowed;
                for (const std::string& item : f.allowed)
                    allowed += (allowed.empty() ? "" : ", ") + item;
                io.out << Shown(f.group + f.key + "=" + f.value) << ": нет в списке допустимых ("
                       << Shown(allowed) << ")\n";
                break;
            }
            case CheckFinding::Kind::UnknownGroup:
                io.out << Shown(f.group) << ": группа не знакома" << ofVersion << '\n';
                break;
            case CheckFinding::Kind::UnknownKey:
                io.out << Shown(f.group + f.key) << ": параметр не знаком" << ofVersion << '\n';
                break;
        }
    }
    return findings.empty() ? kDone : kNotFound;
}

int ChangedCommand(std::string_view base, std::string_view iniText,
                   std::optional<std::string_view> version, Streams io) {
    const auto chosen = ChosenVersion(base, iniText, version, io.err);
    if (!chosen) return kNotFound;
    for (const ParameterValue& p : ChangedFromDefaults(base, *chosen, iniText)) {
        PrintItem(io.out, p.group + p.key + "=" + p.value);
    }
    return kDone;
}

int DiffCommand(std::string_view base, std::string_view oldText, std::string_view iniText,
                std::optional<std::string_view> version, Streams io) {
    const auto chosen = ChosenVersion(base, iniText, version, io.err);
    if (!chosen) return kNotFound;
    const auto shown = [](const std::optional<std::string>& value) {
        return value ? Shown(*value) : std::string("(нет)");
    };
    const auto differences = DiffSettings(base, *chosen, oldText, iniText);
    for (const ValueDifference& d : differences) {
        io.out << Shown(d.group + d.key) << ": " << shown(d.before) << " -> " << shown(d.after)
               << '\n';
    }
    return differences.empty() ? kDone : kNotFound;
}

int TransferCommand(std::string_view base, std::string_view oldText, std::string& iniText,
                    Streams io) {
    // A stopped transfer leaves nothing: the file is written whole or not at all.
    const TransferResult result = TransferValues(base, oldText, iniText, false);
    if (result.failure) {
        io.err << ShownLines(TransferStopMessage(*result.failure)) << '\n';
        return kNotFound;
    }
    PrintReport(io.out, result.report);
    return kDone;
}

int CheckBaseCommand(std::string_view file, std::string_view base, Streams io) {
    const std::vector<BaseFinding> findings = CheckBase(base);
    for (const BaseFinding& f : findings)
        io.out << EscapedForTerminal(file) << ':' << f.line << ": "
               << EscapedForTerminal(BaseFindingMessage(f)) << '\n';
    return findings.empty() ? kDone : kNotFound;
}

int VersionsDiffCommand(std::string_view base, std::string_view from, std::string_view to,
                        Streams io) {
    if (!CheckVersion(base, from, io.err) || !CheckVersion(base, to, io.err)) return kNotFound;
    const std::vector<VersionChange> changes = DiffVersions(base, from, to);
    for (const VersionChange& c : changes) {
        switch (c.kind) {
            case VersionChange::Kind::GroupAdded:
                PrintItem(io.out, "+" + c.group);
                break;
            case VersionChange::Kind::GroupRemoved:
                PrintItem(io.out, "-" + c.group);
                break;
            case VersionChange::Kind::Added:
                PrintItem(io.out, "+" + c.group + c.key + "=" + c.after);
                break;
            case VersionChange::Kind::Removed:
                PrintItem(io.out, "-" + c.group + c.key + "=" + c.before);
                break;
            case VersionChange::Kind::SpecChanged:
            case VersionChange::Kind::ListChanged:
                PrintItem(io.out, c.group + c.key + ": " + c.before + " -> " + c.after);
                break;
        }
    }
    return changes.empty() ? kDone : kNotFound;
}

}  // namespace ravlet::cli
