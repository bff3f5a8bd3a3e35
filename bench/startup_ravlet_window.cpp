// Ravlet's start-up as the program does it (src/app/main.cpp): the application, the
// translations, Form1, its Load in the current directory and show; it quits once the
// window has been painted. Prints nothing (see startup_probe.hpp).
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "startup_probe.hpp"
#include "ui/form1.hpp"

int main(int argc, char* argv[]) {
    ravlet::bench::StartupTrace trace;
    trace.Mark("main");
    QApplication app(argc, argv);
    trace.Mark("QApplication");
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale::system(), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        app.installTranslator(&qtTranslator);
    }
    trace.Mark("translations");
    ravlet::Form1 window;
    trace.Mark("Form1 built");
    if (!window.Load()) return 1;
    trace.Mark("Form1::Load");
    return ravlet::bench::ShowUntilPainted(app, window, trace);
}
