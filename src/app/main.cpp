// ravlet [--ask-folder] [FOLDER | FILE]: the settings editor's window, working in the
// folder given (the current one by default, or the one the user picks).
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QIcon>
#include <QTranslator>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "editor/editor.hpp"
#include "launch/launch_messages.hpp"
#include "launch/display_failure.hpp"
#include "launch/launch_args.hpp"
#include "ui/form1.hpp"
#include "ui/qt_platform.hpp"
#include "ui/qt_translations.hpp"

namespace {

// X11 and Wayland name the display in the environment; other systems always have one.
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
constexpr bool kDisplayFromEnvironment = true;
#else
constexpr bool kDisplayFromEnvironment = false;
#endif

ravlet::launch::DisplayEnvironment Environment() {
    return {qgetenv("DISPLAY").toStdString(), qgetenv("WAYLAND_DISPLAY").toStdString(),
            qgetenv("QT_QPA_PLATFORM").toStdString()};
}

// Qt ends the program with an English fatal message and an abort when no platform
// plugin can open the display: a DISPLAY with no server behind it, a Wayland socket
// that is gone. While the application is built, that end becomes the Russian message,
// and Qt's warnings on the way are held back: shown when the window can open after all.
QtMessageHandler qtHandler = nullptr;

struct HeldMessage {
    QtMsgType type;
    const char* category;  // Qt's categories are names with static storage
    QString text;
};
std::vector<HeldMessage> held;

void ShowHeld() {
    for (const HeldMessage& message : held) {
        const QMessageLogContext context(nullptr, 0, nullptr, message.category);
        if (qtHandler != nullptr) {
            qtHandler(message.type, context, message.text);
        } else {
            std::fprintf(stderr, "%s\n",
                         qPrintable(qFormatLogMessage(message.type, context, message.text)));
        }
    }
    held.clear();
}

// What Qt logged on its way tells a plugin that is not installed from a display that
// does not answer.
void OnDisplayFailure(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtFatalMsg) {
        held.push_back({type, context.category, text});
        return;
    }
    std::vector<std::string> logged;
    for (const HeldMessage& message : held) logged.push_back(message.text.toStdString());
    std::fputs(ravlet::launch::WindowFailureMessage(Environment(), logged).c_str(), stderr);
    std::fflush(stderr);
    std::_Exit(2);
}

// Where the window works: the launch folder, left with a message when it cannot be entered.
bool EnterFolder(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::current_path(folder, ec);
    if (!ec) return true;
    std::fprintf(stderr, "%s%s\n", ravlet::launch::kNoFolder, folder.string().c_str());
    return false;
}

}  // namespace

int main(int argc, char* argv[]) {
    // Before the display is looked for: --help and --version need none.
    ravlet::launch::LaunchArgs args = ravlet::launch::ParseLaunchArgs(argc, argv);
    using Action = ravlet::launch::LaunchArgs::Action;
    if (args.action != Action::Run) {
        std::fputs(args.text.c_str(), args.action == Action::Fail ? stderr : stdout);
        return args.exitStatus;
    }
    // The window works as if started there: rvbase.txt and the dialogs are read from it.
    if (!EnterFolder(args.folder)) return 2;
    // Without a display Qt aborts with a message about platform plugins that says little
    // to a user who just started the program over ssh or in a container.
    const std::string noDisplay =
        kDisplayFromEnvironment ? ravlet::launch::NoDisplayMessage(Environment()) : "";
    if (!noDisplay.empty()) {
        std::fputs(noDisplay.c_str(), stderr);
        return 2;
    }

    if (kDisplayFromEnvironment) qtHandler = qInstallMessageHandler(OnDisplayFailure);
    QApplication app(argc, argv);
    if (kDisplayFromEnvironment) {
        qInstallMessageHandler(qtHandler);
        ShowHeld();
    }
    // Before any widget exists: a widget takes the application's font when it is made.
    QApplication::setFont(ravlet::DialogFont());
    // Without them the window simply keeps Qt's English buttons.
    QTranslator qtTranslator;
    ravlet::InstallQtRussian(qtTranslator);
    // The desktop entry's name: on Wayland the compositor shows its name and icon for
    // the window. Elsewhere the window's own icon: the installed theme's, else the copy
    // built in (a build run before installing).
    QGuiApplication::setDesktopFileName(QStringLiteral("ravlet"));
    QIcon builtIn;
    for (int size : {16, 32, 48, 64, 128, 256})
        builtIn.addFile(QStringLiteral(":/icons/ravlet-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("ravlet"), builtIn));

    // From the menu, in a folder without a base: the emulator's folder is asked for,
    // again while the one picked has no base either.
    while (args.askFolder) {
        const QString chosen = QFileDialog::getExistingDirectory(
            nullptr, QString::fromUtf8(ravlet::launch::kAskFolderTitle),
            QFile::decodeName(args.folder.string().c_str()));
        if (chosen.isEmpty()) return 0;
        args = ravlet::launch::WorkIn(std::move(args), QFile::encodeName(chosen).toStdString());
        if (args.action == Action::Fail) {
            std::fputs(args.text.c_str(), stderr);
            return args.exitStatus;
        }
        if (!EnterFolder(args.folder)) return 2;
    }
    // Declared in the order they depend on each other, so each outlives what uses it.
    ravlet::QtPlatform platform;
    ravlet::Editor editor(platform);
    editor.LoadStart = args.dialogFile.string();
    ravlet::Form1 window(editor);
    platform.SetWindow(&window);
    // Start-up runs before the window is shown; when it fails its message has been
    // shown and the window never appears.
    if (!window.Load()) return 1;
    window.show();
    return app.exec();
}
