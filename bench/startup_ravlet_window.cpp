// Ravlet's start-up as the program does it (src/app/main.cpp): the application, the
// translations, the platform, the editor and Form1, its Load in the current directory
// and show; it quits once the window has been painted. Prints nothing (see
// startup_probe.hpp).
#include <QTranslator>

#include "editor/editor.hpp"
#include "startup_probe.hpp"
#include "ui/form1.hpp"
#include "ui/qt_platform.hpp"
#include "ui/qt_translations.hpp"

int main(int argc, char* argv[]) {
    ravlet::bench::StartupTrace trace;
    trace.Mark("main");
    QApplication app(argc, argv);
    trace.Mark("QApplication");
    QApplication::setFont(ravlet::DialogFont());
    QTranslator qtTranslator;
    ravlet::InstallQtRussian(qtTranslator);
    trace.Mark("translations");
    ravlet::QtPlatform platform;
    ravlet::Editor editor(platform);
    ravlet::Form1 window(editor);
    platform.SetWindow(&window);
    trace.Mark("Form1 built");
    if (!window.Load()) return 1;
    trace.Mark("Form1::Load");
    return ravlet::bench::ShowUntilPainted(app, window, trace);
}
