// ravlet: the settings editor's window, working in the current directory.
#include <QApplication>
#include <QTranslator>
#include <QtGlobal>
#include <cstdio>

#include "ui/form1.hpp"
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
    if (DisplayMissing()) {
        std::fputs(
            "ravlet: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set), so the window "
            "cannot be opened.\n"
            "Run it under a virtual X display instead:  xvfb-run -a ravlet\n"
            "(or use ravlet-cli, which needs no display).\n",
            stderr);
        return 2;
    }

    QApplication app(argc, argv);
    // Without them the window simply keeps Qt's English buttons.
    QTranslator qtTranslator;
    ravlet::InstallQtRussian(qtTranslator);
    ravlet::Form1 window;
    // Start-up runs before the window is shown; when it fails its message has been
    // shown and the window never appears.
    if (!window.Load()) return 1;
    window.show();
    return app.exec();
}
