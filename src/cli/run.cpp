#include "cli/run.hpp"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <new>
#include <optional>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "cli/commands.hpp"
#include "textengine/codepage.hpp"
#include "textengine/locked_text_file.hpp"
#include "textengine/text_file.hpp"

namespace ravlet::cli {
namespace {

// A command line that parses but cannot be used; what() is the message (UTF-8).
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A name or value argument as Windows-1251 bytes, as the texts hold them. From a
// Windows-1251 terminal it is those bytes already.
std::string ToCp1251(const std::string& arg, Terminal terminal) {
    if (terminal == Terminal::Cp1251) return arg;
    if (auto bytes = Utf8ToCp1251(arg)) return *std::move(bytes);
    throw UsageError("Аргумент \"" + arg + "\" содержит символ вне кодовой страницы Windows-1251");
}

bool HasControlCharacter(const std::string& text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 32; });
}

// Group and key names with a line break would match across lines of the text.
std::string NameArg(const std::string& arg, Terminal terminal) {
    if (HasControlCharacter(arg)) throw UsageError("Имя не может содержать управляющие символы");
    return ToCp1251(arg, terminal);
}

// A value is one line of the settings file.
std::string ValueArg(const std::string& arg, Terminal terminal) {
    if (HasControlCharacter(arg)) {
        throw UsageError("Значение не может содержать управляющие символы");
    }
    return ToCp1251(arg, terminal);
}

// A group is named by its header as the lists show it; "Video" for "[Video]" is the
// likely slip, and the hint lookup would cut its first and last letters off.
std::string GroupArg(const std::string& arg, bool allowNone, Terminal terminal) {
    if (arg.empty() && allowNone) return {};
    if (arg.size() < 2 || arg.front() != '[' || arg.back() != ']') {
        throw UsageError("Группа задаётся заголовком в скобках, например [Video]: \"" + arg + "\"");
    }
    return NameArg(arg, terminal);
}

void WriteText(std::ostream& out, const std::string& text) {
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

struct Args {
    std::string base = "rvbase.txt";
    std::string file;
    std::string oldFile;
    std::string version;
    std::string group;
    std::string key;
    std::string value;
    std::optional<std::string> groupOption;
    std::optional<std::string> versionOption;
    bool full = false;
    bool dryRun = false;
};

// The command line with arguments from `terminal`; items and messages are written in
// UTF-8. `rawOut` is set when `out` holds a settings text's own bytes.
int Run(int argc, const char* const* argv, std::ostream& out, std::ostream& err, Terminal terminal,
        bool& rawOut) {
    CLI::App app{"Ravlet: the settings file tarven.ini of the Tarven Pimlow emulator, "
                 "driven by the version base rvbase.txt",
                 "ravlet-cli"};
    app.require_subcommand(1);
    app.fallthrough();
    // A path such as /tmp/x.ini is a path on every system, never a Windows-style option.
    app.allow_windows_style_options(false);
    Args a;
    app.add_option("--base", a.base, "Version base (default: rvbase.txt in the current directory)");

    auto* versions = app.add_subcommand("versions", "List the versions of the base");

    auto* detect = app.add_subcommand("detect", "Print the version a settings file belongs to");
    detect->add_option("INI", a.file, "Settings file")->required();

    auto* groups = app.add_subcommand("groups", "List the groups of a version");
    groups->add_option("VERSION", a.version)->required();

    auto* params = app.add_subcommand("params", "List the parameters of a group");
    params->add_option("VERSION", a.version)->required();
    params->add_option("GROUP", a.group, "Group header with brackets, e.g. [Video]")->required();
    params->add_flag("--full", a.full, "Also the parameters of the full list");

    auto* values = app.add_subcommand("values", "List the values of a parameter, '*' marks the current one");
    values->add_option("VERSION", a.version)->required();
    values->add_option("GROUP", a.group)->required();
    values->add_option("KEY", a.key)->required();
    values->add_option("INI", a.file, "Settings file the current value is read from")->required();

    auto* hint = app.add_subcommand("hint", "Print the hint of a parameter");
    hint->add_option("GROUP", a.group)->required();
    hint->add_option("KEY", a.key)->required();

    auto* get = app.add_subcommand("get", "Print the value of a key in any file");
    get->add_option("FILE", a.file)->required();
    get->add_option("KEY", a.key)->required();
    get->add_option("--group", a.groupOption, "Search only this group");
    get->add_option("--version", a.versionOption, "Search from this version's marker on");

    auto* set = app.add_subcommand("set", "Write the value of a key in a settings file");
    set->add_option("INI", a.file)->required();
    set->add_option("GROUP", a.group, "Group header, \"\" for none")->required();
    set->add_option("KEY", a.key)->required();
    set->add_option("VALUE", a.value)->required();

    auto* defaults = app.add_subcommand("defaults", "Set every parameter of the version to its default");
    defaults->add_option("INI", a.file)->required();
    defaults->add_option("--version", a.versionOption, "Version to take (default: detected from INI)");
    defaults->add_flag("--dry-run", a.dryRun, "Print the result instead of writing it");

    auto* transfer = app.add_subcommand("transfer", "Carry the values of an older settings file into INI");
    transfer->add_option("OLD", a.oldFile)->required();
    transfer->add_option("INI", a.file)->required();
    transfer->add_flag("--dry-run", a.dryRun, "Print the result instead of writing it; the report goes to stderr");

    auto* check = app.add_subcommand("check", "Check a settings file against its version");
    check->add_option("INI", a.file)->required();
    check->add_option("--version", a.versionOption, "Version to check against (default: detected from INI)");

    auto* changed = app.add_subcommand("changed", "List the parameters whose value is not the default");
    changed->add_option("INI", a.file)->required();
    changed->add_option("--version", a.versionOption, "Version to take (default: detected from INI)");

    auto* diff = app.add_subcommand("diff", "List the parameters whose values differ between two files");
    diff->add_option("OLD", a.oldFile)->required();
    diff->add_option("INI", a.file)->required();
    diff->add_option("--version", a.versionOption, "Version to take (default: detected from INI)");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e, out, err) == 0 ? kDone : kUsage;
    }

    rawOut = a.dryRun;
    try {
        if (set->parsed()) {
            const std::string group = GroupArg(a.group, true, terminal);
            const std::string key = NameArg(a.key, terminal);
            std::string value = ValueArg(a.value, terminal);
            LockedTextFile file(a.file);
            std::string text = file.Text();
            const int status = SetCommand(text, group, key, std::move(value), {out, err});
            if (status == kDone) file.Save(text);
            return status;
        }
        if (get->parsed()) {
            const std::string key = NameArg(a.key, terminal);
            const std::string group = a.groupOption ? GroupArg(*a.groupOption, true, terminal) : "";
            const std::string version = a.versionOption ? NameArg(*a.versionOption, terminal) : "";
            return GetCommand(LoadTextFile(a.file), key, group, version, {out, err});
        }

        // Arguments are checked before any file is read, so a usage error wins.
        const bool takesVersion = groups->parsed() || params->parsed() || values->parsed();
        const bool takesGroup = params->parsed() || values->parsed() || hint->parsed();
        const bool takesKey = values->parsed() || hint->parsed();
        const std::string version = takesVersion ? NameArg(a.version, terminal) : "";
        const std::string group = takesGroup ? GroupArg(a.group, false, terminal) : "";
        const std::string key = takesKey ? NameArg(a.key, terminal) : "";
        std::optional<std::string> versionOption;
        const bool takesVersionOption = defaults->parsed() || check->parsed() || changed->parsed() || diff->parsed();
        if (takesVersionOption && a.versionOption) versionOption = NameArg(*a.versionOption, terminal);

        const std::string base = LoadTextFile(a.base);
        if (versions->parsed()) return VersionsCommand(base, {out, err});
        if (detect->parsed()) return DetectCommand(base, LoadTextFile(a.file), {out, err});
        if (groups->parsed()) return GroupsCommand(base, version, {out, err});
        if (params->parsed()) return ParamsCommand(base, version, group, a.full, {out, err});
        if (values->parsed()) {
            return ValuesCommand(base, LoadTextFile(a.file), version, group, key, {out, err});
        }
        if (hint->parsed()) return HintCommand(base, group, key, {out, err});
        if (check->parsed()) return CheckCommand(base, LoadTextFile(a.file), versionOption, {out, err});
        if (changed->parsed()) return ChangedCommand(base, LoadTextFile(a.file), versionOption, {out, err});
        if (diff->parsed()) {
            const std::string oldText = LoadTextFile(a.oldFile);
            return DiffCommand(base, oldText, LoadTextFile(a.file), versionOption, {out, err});
        }
        if (defaults->parsed()) {
            if (a.dryRun) {
                std::string text = LoadTextFile(a.file);
                const int status = DefaultsCommand(base, text, versionOption, {out, err});
                if (status == kDone) WriteText(out, text);
                return status;
            }
            // Locked from the read to the save, so a parallel writer loses nothing.
            LockedTextFile file(a.file);
            std::string text = file.Text();
            const int status = DefaultsCommand(base, text, versionOption, {out, err});
            if (status != kDone) return status;
            file.Save(text);
            return kDone;
        }
        if (transfer->parsed()) {
            std::optional<LockedTextFile> file;
            if (!a.dryRun) file.emplace(a.file);
            std::string text = a.dryRun ? LoadTextFile(a.file) : file->Text();
            // An older file that cannot be read stops the transfer before it begins,
            // like the window's Auto: nothing is written, and the cause is named.
            std::string oldText;
            try {
                oldText = LoadTextFile(a.oldFile);
            } catch (const FileError& e) {
                err << "Перенос не выполнен: " << e.what() << '\n';
                return kNotFound;
            }
            if (a.dryRun) {
                const int status = TransferCommand(base, oldText, text, {err, err});
                if (status == kDone) WriteText(out, text);
                return status;
            }
            // The report is held back until the file is saved: a failed save reports no transfer.
            std::ostringstream report;
            const int status = TransferCommand(base, oldText, text, {report, err});
            if (status != kDone) return status;
            file->Save(text);
            out << report.str();
            return kDone;
        }
        err << "Не задана команда\n";
        return kUsage;
    } catch (const UsageError& e) {
        err << e.what() << '\n';
        return kUsage;
    } catch (const FileError& e) {
        err << e.what() << '\n';
        return kFileFailure;
    }
}

// The output is part of the result: a status 0 over a text that did not all go out
// (a full disk, a closed pipe) would report done for what was lost.
int CheckedOutput(int status, std::ostream& out, std::ostream& err, Terminal terminal) {
    out.flush();
    if (!out) {
        const std::string message = "Вывод не записан полностью: ошибка записи в стандартный вывод\n";
        err << (terminal == Terminal::Cp1251 ? Utf8ToCp1251Lenient(message) : message);
        status = kFileFailure;
    }
    err.flush();
    return err ? status : kFileFailure;
}

int RunCatchingMemory(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
                      Terminal terminal, bool& rawOut) {
    try {
        return Run(argc, argv, out, err, terminal, rawOut);
    } catch (const std::bad_alloc&) {
        err << "Недостаточно памяти\n";
        return kFileFailure;
    }
}

}  // namespace

int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err, Terminal terminal) {
    bool rawOut = false;
    if (terminal == Terminal::Utf8) {
        return CheckedOutput(RunCatchingMemory(argc, argv, out, err, terminal, rawOut), out, err, terminal);
    }
    try {
        // Written through once the command has run: only then is it known whether
        // stdout holds a settings text, whose bytes must not be converted.
        std::ostringstream bufferedOut, bufferedErr;
        const int status = RunCatchingMemory(argc, argv, bufferedOut, bufferedErr, terminal, rawOut);
        out << (rawOut ? bufferedOut.str() : Utf8ToCp1251Lenient(bufferedOut.str()));
        err << Utf8ToCp1251Lenient(bufferedErr.str());
        return CheckedOutput(status, out, err, terminal);
    } catch (const std::bad_alloc&) {
        err << Utf8ToCp1251Lenient("Недостаточно памяти\n");
        return kFileFailure;
    }
}

}  // namespace ravlet::cli
