// The yardstick of start-up: an empty Qt window of Ravlet's size, fixed and centred,
// that quits once it has been painted. Prints nothing (see startup_probe.hpp).
#include "startup_probe.hpp"

int main(int argc, char* argv[]) {
    ravlet::bench::StartupTrace trace;
    trace.Mark("main");
    QApplication app(argc, argv);
    trace.Mark("QApplication");
    QWidget window;
    ravlet::bench::SizeAndCentreLikeRavlet(window);
    trace.Mark("window built");
    return ravlet::bench::ShowUntilPainted(app, window, trace);
}
