#include "cli/run.hpp"

#include <chrono>
#include <exception>
#include <new>
#include <optional>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "cli/command_line.hpp"
#include "cli/commands.hpp"
#include "operations/shared_messages.hpp"
#include "textengine/codepage.hpp"
#include "textengine/locked_text_file.hpp"
#include "textengine/text_file.hpp"
#include "textengine/value_rule.hpp"

namespace ravlet::cli {
namespace {

// A file failure as printed: the path as given, escaped, and the reason.
std::string FileFailure(const FileError& e, Terminal terminal) {
    const std::string quoted = QuotedArgument(e.path(), terminal);
    return quoted.substr(1, quoted.size() - 2) + ": " + e.reason();
}

// A name or value argument as Windows-1251 bytes, as the texts hold them. From a
// Windows-1251 terminal it is those bytes already.
std::string ToCp1251(const std::string& arg, Terminal terminal) {
    if (terminal == Terminal::Cp1251) return arg;
    if (auto bytes = Utf8ToCp1251(arg)) return *std::move(bytes);
    throw UsageError("Аргумент " + QuotedArgument(arg, terminal) +
                     " содержит символ вне кодовой страницы Windows-1251");
}

// Group and key names with a line break would match across lines of the text.
std::string NameArg(const std::string& arg, Terminal terminal) {
    if (HasControlCharacter(arg)) throw UsageError("Имя не может содержать управляющие символы");
    return ToCp1251(arg, terminal);
}

// A value is refused before any file is read, as the value rule would refuse it.
std::string ValueArg(const std::string& arg, Terminal terminal) {
    std::string value = ToCp1251(arg, terminal);
    if (const auto refused = FirstRefused(std::string_view(value)))
        throw UsageError(RefusedCharacterMessage(*refused));
    return value;
}

// A group is named by its header as the lists show it; "Video" for "[Video]" is the
// likely slip, and the hint lookup would cut its first and last letters off.
std::string GroupArg(const std::string& arg, bool allowNone, Terminal terminal) {
    if (arg.empty() && allowNone) return {};
    if (arg.size() < 2 || arg.front() != '[' || arg.back() != ']') {
        throw UsageError("Группа задаётся заголовком в скобках, например [Video]: " +
                         QuotedArgument(arg, terminal));
    }
    return NameArg(arg, terminal);
}

// The process's lock wait for one run, restored after it (the tests run many).
class ScopedLockWait {
public:
    explicit ScopedLockWait(LockWait wait) : previous_(ExchangeLockWait(std::move(wait))) {}
    ~ScopedLockWait() { ExchangeLockWait(std::move(previous_)); }
    ScopedLockWait(const ScopedLockWait&) = delete;
    ScopedLockWait& operator=(const ScopedLockWait&) = delete;

private:
    LockWait previous_;
};

void WriteText(std::ostream& out, const std::string& text) {
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

// The command line with arguments from `terminal`; items and messages are written in
// UTF-8. `rawOut` is set when `out` holds a settings text's own bytes.
int Run(int argc, const char* const* argv, std::ostream& out, std::ostream& err, Terminal terminal,
        bool& rawOut) {
    CommandLine line;
    try {
        line = ParseCommandLine(argc, argv, terminal);
    } catch (...) {
        return ReportFailure(std::current_exception(), err, terminal);
    }
    if (line.request == CommandLine::Request::Version) {
        out << "ravlet-cli " RAVLET_VERSION "\n";
        return kDone;
    }
    if (line.request == CommandLine::Request::Help) {
        out << (line.command != nullptr ? CommandHelp(*line.command) : GeneralHelp());
        return kDone;
    }

    // A file held by another program is waited for as --wait allows, and said so once.
    LockWait wait;
    if (line.wait) wait.limit = std::chrono::seconds(*line.wait);
    const long long seconds = std::chrono::duration_cast<std::chrono::seconds>(wait.limit).count();
    wait.waiting = [&err, seconds](const std::string& file) {
        err << "ravlet-cli: файл " << file << " занят другой программой, жду (не дольше " << seconds
            << " с)\n";
        err.flush();
    };
    const ScopedLockWait scopedWait(std::move(wait));

    const std::string_view command = line.command->name;
    const auto is = [&](std::string_view name) { return command == name; };
    const std::string& path = is("get") ? line.Argument("FILE") : line.Argument("INI");
    const std::string& oldFile = line.Argument("OLD");
    const std::optional<std::string> groupOption = line.Option("--group");
    const std::optional<std::string> versionOptionArg = line.Option("--version");
    const bool dryRun = line.Flag("--dry-run");

    rawOut = dryRun;
    try {
        if (is("set")) {
            const std::string group = GroupArg(line.Argument("GROUP"), true, terminal);
            const std::string key = NameArg(line.Argument("KEY"), terminal);
            std::string value = ValueArg(line.Argument("VALUE"), terminal);
            LockedTextFile locked(path);
            std::string text = locked.Text();
            const int status = SetCommand(text, group, key, std::move(value), {out, err});
            if (status == kDone) locked.Save(text);
            return status;
        }
        if (is("recover")) {
            if (RecoverTextFile(path)) return kDone;
            err << "У файла " << path << " нет копии прерванной записи: возвращать нечего\n";
            return kNotFound;
        }
        if (is("get")) {
            const std::string key = NameArg(line.Argument("KEY"), terminal);
            const std::string group = groupOption ? GroupArg(*groupOption, true, terminal) : "";
            const std::string version =
                versionOptionArg ? NameArg(*versionOptionArg, terminal) : "";
            return GetCommand(LoadTextFile(path), key, group, version, {out, err});
        }

        // Arguments are checked before any file is read, so a usage error wins. Which
        // a command takes is the command table's to say.
        const bool takesVersion = line.arguments.contains("VERSION");
        const bool takesGroup = line.arguments.contains("GROUP");
        const bool takesKey = line.arguments.contains("KEY");
        const std::string version = takesVersion ? NameArg(line.Argument("VERSION"), terminal) : "";
        const std::string group =
            takesGroup ? GroupArg(line.Argument("GROUP"), false, terminal) : "";
        const std::string key = takesKey ? NameArg(line.Argument("KEY"), terminal) : "";
        std::optional<std::string> versionOption;
        if (versionOptionArg) versionOption = NameArg(*versionOptionArg, terminal);
        const std::string from =
            line.arguments.contains("V1") ? NameArg(line.Argument("V1"), terminal) : "";
        const std::string to =
            line.arguments.contains("V2") ? NameArg(line.Argument("V2"), terminal) : "";

        const std::string base = LoadTextFile(line.base);
        if (is("versions")) return VersionsCommand(base, {out, err});
        if (is("versions-diff")) return VersionsDiffCommand(base, from, to, {out, err});
        if (is("check-base")) {
            const std::string file =
                terminal == Terminal::Cp1251 ? Cp1251ToUtf8(line.base) : line.base;
            return CheckBaseCommand(file, base, {out, err});
        }
        if (is("detect")) return DetectCommand(base, LoadTextFile(path), {out, err});
        if (is("groups")) return GroupsCommand(base, version, {out, err});
        if (is("params"))
            return ParamsCommand(base, version, group, line.Flag("--full"), {out, err});
        if (is("values")) {
            return ValuesCommand(base, LoadTextFile(path), version, group, key, {out, err});
        }
        if (is("hint")) return HintCommand(base, group, key, {out, err});
        if (is("check")) return CheckCommand(base, LoadTextFile(path), versionOption, {out, err});
        if (is("changed"))
            return ChangedCommand(base, LoadTextFile(path), versionOption, {out, err});
        if (is("diff")) {
            const std::string oldText = LoadTextFile(oldFile);
            return DiffCommand(base, oldText, LoadTextFile(path), versionOption, {out, err});
        }
        if (is("defaults")) {
            // Locked from the read to the save, so a parallel writer loses nothing.
            std::optional<LockedTextFile> file;
            if (!dryRun) file.emplace(path);
            std::string text = dryRun ? LoadTextFile(path) : file->Text();
            const int status = DefaultsCommand(base, text, versionOption, {out, err});
            if (status != kDone) return status;
            if (dryRun)
                WriteText(out, text);
            else
                file->Save(text);
            return kDone;
        }
        if (is("transfer")) {
            // The older file is read before the settings file is locked: they may be one
            // file, and a read waits for the lock.
            std::string oldText;
            std::optional<FileError> oldFailure;
            try {
                oldText = LoadTextFile(oldFile);
            } catch (const FileError& e) {
                oldFailure = e;
            }
            std::optional<LockedTextFile> file;
            if (!dryRun) file.emplace(path);
            std::string text = dryRun ? LoadTextFile(path) : file->Text();
            // An older file that cannot be read stops the transfer before it begins,
            // like the window's Auto: nothing is written, and the cause is named.
            if (oldFailure) {
                err << "Перенос не выполнен: " << FileFailure(*oldFailure, terminal) << '\n';
                return kNotFound;
            }
            if (dryRun) {
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
        // Every command of the table is handled above.
        err << "Команда " << command << " не выполняется этой версией\n";
        return kUsage;
    } catch (...) {
        return ReportFailure(std::current_exception(), err, terminal);
    }
}

// The output is part of the result: a status 0 over a text that did not all go out
// (a full disk, a closed pipe) would report done for what was lost.
int CheckedOutput(int status, std::ostream& out, std::ostream& err, Terminal terminal) {
    out.flush();
    if (!out) {
        const std::string message =
            "Вывод не записан полностью: ошибка записи в стандартный вывод\n";
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
    } catch (...) {
        return ReportFailure(std::current_exception(), err, terminal);
    }
}

}  // namespace

int ReportFailure(std::exception_ptr failure, std::ostream& err, Terminal terminal) {
    try {
        std::rethrow_exception(failure);
    } catch (const CommandLineError& e) {
        err << e.what() << '\n';
        return kUsage;
    } catch (const UsageError& e) {
        err << e.what() << '\n';
        return kUsage;
    } catch (const InvalidValue& e) {
        err << RefusedCharacterMessage(e.refused()) << '\n';
        return kUsage;
    } catch (const FileError& e) {
        err << FileFailure(e, terminal) << '\n';
        return kFileFailure;
    } catch (const std::bad_alloc&) {
        err << UnforeseenFailure(kNoMemory) << '\n';
        return kFileFailure;
    } catch (const std::exception& e) {
        err << UnforeseenFailure(EscapedForTerminal(e.what())) << '\n';
        return kFileFailure;
    } catch (...) {
        err << UnforeseenFailure("") << '\n';
        return kFileFailure;
    }
}

int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
           Terminal terminal) {
    bool rawOut = false;
    if (terminal == Terminal::Utf8) {
        return CheckedOutput(RunCatchingMemory(argc, argv, out, err, terminal, rawOut), out, err,
                             terminal);
    }
    try {
        // Written through once the command has run: only then is it known whether
        // stdout holds a settings text, whose bytes must not be converted.
        std::ostringstream bufferedOut, bufferedErr;
        const int status =
            RunCatchingMemory(argc, argv, bufferedOut, bufferedErr, terminal, rawOut);
        out << (rawOut ? bufferedOut.str() : Utf8ToCp1251Lenient(bufferedOut.str()));
        err << Utf8ToCp1251Lenient(bufferedErr.str());
        return CheckedOutput(status, out, err, terminal);
    } catch (const std::bad_alloc&) {
        err << Utf8ToCp1251Lenient(UnforeseenFailure(kNoMemory) + "\n");
        return kFileFailure;
    }
}

}  // namespace ravlet::cli
