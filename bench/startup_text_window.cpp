// The floor for any window with text: the empty window of startup_empty_window.cpp with
// one frame and a Cyrillic caption in the toolkit's default font. Its first paint pays
// what the first text costs Qt (the font configuration, one font, the style's frame
// image), which the empty window never meets before its exit. Prints nothing (see
// startup_probe.hpp).
#include <QGroupBox>

#include "startup_probe.hpp"

int main(int argc, char* argv[]) {
    ravlet::bench::StartupTrace trace;
    trace.Mark("main");
    QApplication app(argc, argv);
    trace.Mark("QApplication");
    QWidget window;
    ravlet::bench::SizeAndCentreLikeRavlet(window);
    auto* frame = new QGroupBox(QStringLiteral("Версия tarven.ini"), &window);
    frame->setGeometry(8, 8, 329, 81);
    trace.Mark("window built");
    return ravlet::bench::ShowUntilPainted(app, window, trace);
}
