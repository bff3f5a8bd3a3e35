#include "cli/run.hpp"

#include <chrono>
#include <exception>
#include <map>
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
    const std::string quoted = QuotedArgument(e.Path(), terminal);
    const std::string shown = quoted.substr(1, quoted.size() - 2);
    // The text engine names the copy; the command that puts it back is this program's.
    if (e.Kind() == ravlet::FileFailure::Interrupted)
        return shown + ": " + e.Reason() + ". Вернуть его: ravlet-cli recover " + shown;
    return shown + ": " + e.Reason();
}

// The version base's path as check-base prints it before each finding (UTF-8).
std::string ShownPath(const std::string& path, Terminal terminal) {
    return terminal == Terminal::Cp1251 ? Cp1251ToUtf8(path) : path;
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

// An argument as the commands take it; throws UsageError for one its kind refuses.
std::string Converted(ArgumentKind kind, const std::string& arg, Terminal terminal) {
    switch (kind) {
        case ArgumentKind::File:
            break;  // a path goes to the system as given
        case ArgumentKind::Name:
            return NameArg(arg, terminal);
        case ArgumentKind::Group:
            return GroupArg(arg, false, terminal);
        case ArgumentKind::GroupOrNone:
            return GroupArg(arg, true, terminal);
        case ArgumentKind::Value:
            return ValueArg(arg, terminal);
    }
    return arg;
}

// A command's arguments and option values, each converted by its kind, in the table's
// order (arguments, then options) and before any file is read, so a usage error wins.
class Arguments {
public:
    Arguments(const CommandLine& line, Terminal terminal) {
        for (const ArgumentSpec& argument : line.command->arguments)
            values_[argument.name] =
                Converted(argument.kind, line.Argument(argument.name), terminal);
        for (const OptionSpec& option : line.command->options) {
            if (option.valueName.empty()) continue;
            if (const auto given = line.Option(option.name))
                values_[option.name] = Converted(option.kind, *given, terminal);
        }
    }

    // The converted argument or option value by its name in the table; "" for an
    // option not given, nullopt from Option.
    const std::string& operator[](std::string_view name) const {
        static const std::string none;
        const auto it = values_.find(name);
        return it == values_.end() ? none : it->second;
    }
    std::optional<std::string_view> Option(std::string_view name) const {
        const auto it = values_.find(name);
        if (it == values_.end()) return std::nullopt;
        return it->second;
    }

private:
    std::map<std::string_view, std::string> values_;
};

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

int RunSet(const Arguments& args, Streams io) {
    LockedTextFile locked(args["INI"]);
    std::string text = locked.TakeText();
    const int status = SetCommand(text, args["GROUP"], args["KEY"], args["VALUE"], io);
    if (status == kDone) locked.Save(text);
    return status;
}

int RunRecover(const std::string& path, Streams io) {
    if (RecoverTextFile(path)) return kDone;
    io.err << "У файла " << path << " нет копии прерванной записи: возвращать нечего\n";
    return kNotFound;
}

int RunDefaults(const std::string& base, const Arguments& args, bool dryRun, Streams io) {
    // Locked from the read to the save, so a parallel writer loses nothing.
    const std::string& path = args["INI"];
    std::optional<LockedTextFile> file;
    if (!dryRun) file.emplace(path);
    std::string text = dryRun ? LoadTextFile(path) : file->TakeText();
    const int status = DefaultsCommand(base, text, args.Option("--version"), io);
    if (status != kDone) return status;
    if (dryRun)
        WriteText(io.out, text);
    else
        file->Save(text);
    return kDone;
}

int RunTransfer(const std::string& base, const Arguments& args, bool dryRun, Terminal terminal,
                Streams io) {
    // The older file is read before the settings file is locked: they may be one
    // file, and a read waits for the lock.
    std::string oldText;
    std::optional<FileError> oldFailure;
    try {
        oldText = LoadTextFile(args["OLD"]);
    } catch (const FileError& e) {
        oldFailure = e;
    }
    const std::string& path = args["INI"];
    std::optional<LockedTextFile> file;
    if (!dryRun) file.emplace(path);
    std::string text = dryRun ? LoadTextFile(path) : file->TakeText();
    // An older file that cannot be read stops the transfer before it begins,
    // like the window's Auto: nothing is written, and the cause is named.
    if (oldFailure) {
        io.err << "Перенос не выполнен: " << FileFailure(*oldFailure, terminal) << '\n';
        return kNotFound;
    }
    if (dryRun) {
        const int status = TransferCommand(base, oldText, text, {io.err, io.err});
        if (status == kDone) WriteText(io.out, text);
        return status;
    }
    // The report is held back until the file is saved: a failed save reports no transfer.
    std::ostringstream report;
    const int status = TransferCommand(base, oldText, text, {report, io.err});
    if (status != kDone) return status;
    file->Save(text);
    io.out << report.str();
    return kDone;
}

// Runs the command of `line`, its arguments already converted. The version base is read
// only by the commands that use it, after the arguments and before their own files.
int Dispatch(const CommandLine& line, const Arguments& args, Terminal terminal, Streams io) {
    const bool dryRun = line.Flag("--dry-run");
    const auto base = [&] { return LoadTextFile(line.base); };
    const auto file = [&](std::string_view name) { return LoadTextFile(args[name]); };
    int status = kUsage;  // every id has its case below; -Wswitch says when one lacks it
    switch (line.command->id) {
        case CommandId::Set:
            status = RunSet(args, io);
            break;
        case CommandId::Recover:
            status = RunRecover(args["INI"], io);
            break;
        case CommandId::Get:
            status = GetCommand(file("FILE"), args["KEY"], args["--group"], args["--version"], io);
            break;
        case CommandId::Versions:
            status = VersionsCommand(base(), io);
            break;
        case CommandId::VersionsDiff:
            status = VersionsDiffCommand(base(), args["V1"], args["V2"], io);
            break;
        case CommandId::CheckBase: {
            const std::string text = base();
            status = CheckBaseCommand(ShownPath(line.base, terminal), text, io);
            break;
        }
        case CommandId::Detect: {
            const std::string text = base();
            status = DetectCommand(text, file("INI"), io);
            break;
        }
        case CommandId::Groups:
            status = GroupsCommand(base(), args["VERSION"], io);
            break;
        case CommandId::Params:
            status = ParamsCommand(base(), args["VERSION"], args["GROUP"], line.Flag("--full"), io);
            break;
        case CommandId::Values: {
            const std::string text = base();
            status =
                ValuesCommand(text, file("INI"), args["VERSION"], args["GROUP"], args["KEY"], io);
            break;
        }
        case CommandId::Hint:
            status = HintCommand(base(), args["GROUP"], args["KEY"], io);
            break;
        case CommandId::Check: {
            const std::string text = base();
            status = CheckCommand(text, file("INI"), args.Option("--version"), io);
            break;
        }
        case CommandId::Changed: {
            const std::string text = base();
            status = ChangedCommand(text, file("INI"), args.Option("--version"), io);
            break;
        }
        case CommandId::Diff: {
            const std::string text = base();
            const std::string oldText = file("OLD");
            status = DiffCommand(text, oldText, file("INI"), args.Option("--version"), io);
            break;
        }
        case CommandId::Defaults:
            status = RunDefaults(base(), args, dryRun, io);
            break;
        case CommandId::Transfer:
            status = RunTransfer(base(), args, dryRun, terminal, io);
            break;
    }
    return status;
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
    wait.waiting = [&err, seconds](const std::string& file, bool byRavlet) {
        err << "ravlet-cli: файл " << file << " занят "
            << (byRavlet ? "другим сохранением Ravlet" : "другой программой") << ", жду (не дольше "
            << seconds << " с)\n";
        err.flush();
    };
    const ScopedLockWait scopedWait(std::move(wait));

    rawOut = line.Flag("--dry-run");
    try {
        const Arguments args(line, terminal);
        return Dispatch(line, args, terminal, {out, err});
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
        err << RefusedCharacterMessage(e.Refused()) << '\n';
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
