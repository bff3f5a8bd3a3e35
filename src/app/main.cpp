// ravlet [FOLDER | FILE]: the settings editor's window, working in the folder given (the
// current one by default).
#include <QApplication>
#include <QTranslator>
#include <QtGlobal>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "editor/editor.hpp"
#include "editor/messages.hpp"
#include "launch/launch_args.hpp"
#include "ui/form1.hpp"
#include "ui/qt_platform.hpp"
#include "ui/qt_translations.hpp"

namespace {

// Without a display Qt aborts with a message about platform plugins that says little
// to a user who just started the program over ssh or in a container.
bool DisplayMissing() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
           qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
#else
    return false;
#endif
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
        std::fprintf(stderr, "%s%s\n", ravlet::messages::kNoFolder, args.folder.string().c_str());
        return 2;
    }
    if (DisplayMissing()) {
        std::fputs(ravlet::messages::kNoDisplay, stderr);
        return 2;
    }

    QApplication app(argc, argv);
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
