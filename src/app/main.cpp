// ravlet [FOLDER | FILE]: the settings editor's window, working in the folder given (the
// current one by default).
#include <QApplication>
#include <QTranslator>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "editor/editor.hpp"
#include "launch/launch_args.hpp"
#include "launch/launch_messages.hpp"
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

// Without a display Qt aborts with a message about platform plugins that says little
// to a user who just started the program over ssh or in a container.
bool DisplayMissing() {
    return kDisplayFromEnvironment && qEnvironmentVariableIsEmpty("DISPLAY") &&
           qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
           qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
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

// The display the user set, as it is named in the message.
std::string DisplayName() {
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const QByteArray value = qgetenv(variable);
        if (!value.isEmpty()) return "«" + value.toStdString() + "»";
    }
    return "«QT_QPA_PLATFORM=" + qgetenv("QT_QPA_PLATFORM").toStdString() + "»";
}

void OnDisplayFailure(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtFatalMsg) {
        held.push_back({type, context.category, text});
        return;
    }
    std::fputs(ravlet::launch::DisplayUnreachable(DisplayName()).c_str(), stderr);
    std::fputs(ravlet::launch::kDisplayAdvice, stderr);
    std::fflush(stderr);
    std::_Exit(2);
}

}  // namespace

int main(int argc, char* argv[]) {
    // Before the display is looked for: --help and --version need none.
    const ravlet::launch::LaunchArgs args = ravlet::launch::ParseLaunchArgs(argc, argv);
    using Action = ravlet::launch::LaunchArgs::Action;
    if (args.action != Action::Run) {
        std::fputs(args.text.c_str(), args.action == Action::Fail ? stderr : stdout);
        return args.exitStatus;
    }
    // The window works as if started there: rvbase.txt and the dialogs are read from it.
    std::error_code ec;
    std::filesystem::current_path(args.folder, ec);
    if (ec) {
        std::fprintf(stderr, "%s%s\n", ravlet::launch::kNoFolder, args.folder.string().c_str());
        return 2;
    }
    if (DisplayMissing()) {
        std::fputs(ravlet::launch::kNoDisplay, stderr);
        std::fputs(ravlet::launch::kDisplayAdvice, stderr);
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
