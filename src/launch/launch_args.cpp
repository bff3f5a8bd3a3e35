#include "launch/launch_args.hpp"

#include <string_view>
#include <system_error>
#include <vector>

#include "operations/shared_messages.hpp"
#include "textengine/file_reason.hpp"

namespace ravlet::launch {
namespace {

namespace fs = std::filesystem;

// The program as its user starts it, and the folder separator of the paths it names.
#ifdef _WIN32
constexpr std::string_view kProgram = "ravlet.exe";
constexpr std::string_view kSeparator = "\\";
#else
constexpr std::string_view kProgram = "ravlet";
constexpr std::string_view kSeparator = "/";
#endif

// Only the Linux window asks (its menu entry starts it in the home folder); the Windows
// installer's shortcut starts in the emulator's folder.
#ifdef _WIN32
const std::string kAskFolderHelp;
#else
const std::string kAskFolderHelp = std::string("  --ask-folder     если в папке работы нет ") +
                                   kBaseFileName +
                                   ", спросить папку эмулятора\n"
                                   "                   (так окно запускается из меню)\n";
#endif

std::string Help() {
    const std::string program(kProgram);
    const std::string settings = std::string(kSettingsFileName);
    return "Использование: " + program +
           " [ПАПКА | ФАЙЛ]\n"
           "Окно Ravlet: файл настроек " +
           settings + " эмулятора Tarven Pimlow по базе версий " + kBaseFileName +
           ".\n"
           "\n"
           "  (без аргумента)  работа в текущей папке, загрузка начинается с её " +
           settings +
           "\n"
           "  ПАПКА            работа в этой папке, как если бы " +
           program +
           " запустили в ней;\n"
           "                   загрузка начинается с ПАПКА" +
           std::string(kSeparator) + settings +
           "\n"
           "  ФАЙЛ             работа в папке файла, загрузка начинается с этого файла\n"
           "\n"
           "База версий " +
           kBaseFileName +
           " берётся из папки работы.\n"
           "\n"
           "Опции:\n"
           "  -h, --help       эта справка\n"
           "  --version        версия программы\n" +
           kAskFolderHelp +
           "  --               дальше только путь, даже если он начинается с \"-\"\n"
           "\n"
           "Командная строка без окна: ravlet-cli --help.\n";
}

LaunchArgs Fail(std::string message) {
    LaunchArgs args;
    args.action = LaunchArgs::Action::Fail;
    args.text =
        "ravlet: " + std::move(message) + "\nСправка: " + std::string(kProgram) + " --help\n";
    args.exitStatus = 2;
    return args;
}

LaunchArgs Print(LaunchArgs::Action action, std::string text) {
    LaunchArgs args;
    args.action = action;
    args.text = std::move(text);
    return args;
}

LaunchArgs Run(fs::path folder, fs::path dialogFile) {
    LaunchArgs args;
    args.folder = std::move(folder);
    args.dialogFile = std::move(dialogFile);
    return args;
}

// Anything named rvbase.txt counts: start-up names whatever is wrong with it.
bool HasBase(const fs::path& folder) {
    std::error_code ec;
    return fs::exists(folder / kBaseFileName, ec);
}

std::string Utf8Of(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// The system's own texts are English; its causes are named as a file load names them.
std::string PathProblem(const std::string& shown, const std::error_code& ec) {
    return "\"" + shown + "\": " + ReasonOf(ec.value());
}

LaunchArgs FromPath(const std::string& given) {
    // UTF-8, whatever the system's narrow encoding (on Windows, the ANSI code page).
    const fs::path path = std::u8string(given.begin(), given.end());
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::exists(status)) {
        return Fail(PathProblem(
            given, ec ? ec : std::make_error_code(std::errc::no_such_file_or_directory)));
    }
    if (fs::is_directory(status)) {
        // The folder itself is entered by chdir, which follows links anyway.
        fs::path folder = fs::canonical(path, ec);
        if (ec) return Fail(PathProblem(given, ec));
        fs::path dialog = folder / kSettingsFileName;
        return Run(std::move(folder), std::move(dialog));
    }
    // The file's own name stays as given: a symbolic link is saved as a link.
    const fs::path absolute = fs::absolute(path, ec);
    if (ec) return Fail(PathProblem(given, ec));
    fs::path folder = fs::canonical(absolute.parent_path(), ec);
    if (ec) return Fail(PathProblem(given, ec));
    fs::path dialog = folder / absolute.filename();
    LaunchArgs args = Run(std::move(folder), std::move(dialog));
    args.fileGiven = true;
    return args;
}

// With --ask-folder, a folder to run in without a base is asked for first.
LaunchArgs Asking(LaunchArgs args, bool askFolder) {
    args.askFolder = askFolder && args.action == LaunchArgs::Action::Run && !HasBase(args.folder);
    return args;
}

}  // namespace

LaunchArgs ParseLaunchArgs(int argc, const char* const* argv) {
    std::vector<std::string> paths;
    bool optionsEnded = false;
    bool askFolder = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            if (arg == "--") {
                optionsEnded = true;
            } else if (arg == "--help" || arg == "-h") {
                return Print(LaunchArgs::Action::PrintHelp, Help());
            } else if (arg == "--version") {
                return Print(LaunchArgs::Action::PrintVersion, "ravlet " RAVLET_VERSION "\n");
            } else if (arg == "--ask-folder") {
                askFolder = true;
            } else {
                return Fail("неизвестная опция \"" + arg + "\"");
            }
            continue;
        }
        paths.push_back(arg);
    }
    if (paths.size() > 1)
        return Fail("лишний аргумент \"" + paths[1] + "\": окну задаётся одна папка или один файл");
    if (paths.size() == 1) return Asking(FromPath(paths.front()), askFolder);

    std::error_code ec;
    fs::path folder = fs::current_path(ec);
    if (ec) return Fail("текущая папка недоступна");
    fs::path dialog = folder / kSettingsFileName;
    return Asking(Run(std::move(folder), std::move(dialog)), askFolder);
}

LaunchArgs WorkIn(LaunchArgs args, const fs::path& chosen) {
    std::error_code ec;
    fs::path folder = fs::canonical(chosen, ec);
    if (ec) return Fail(PathProblem(Utf8Of(chosen), ec));
    if (!args.fileGiven) args.dialogFile = folder / kSettingsFileName;
    args.askFolder = !HasBase(folder);
    args.folder = std::move(folder);
    return args;
}

}  // namespace ravlet::launch
