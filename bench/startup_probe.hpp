// What both start-up probes share: quitting once the window has been painted for the
// first time, and an optional trace of the phases (RAVLET_STARTUP_TRACE=1, on stderr)
// for finding where the time goes. With RAVLET_STARTUP_T0 set to the launch time (seconds
// since the epoch, as bash's $EPOCHREALTIME gives it) a probe prints, on stdout, the
// milliseconds from launch to the end of its first paint: the time until the window is on
// screen, without the process's exit. Without either variable a probe prints nothing.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QGuiApplication>
#include <QObject>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace ravlet::bench {

// Milliseconds since RAVLET_STARTUP_T0, or a negative value when it is not set.
inline double MsSinceLaunch() {
    const char* t0 = std::getenv("RAVLET_STARTUP_T0");
    if (t0 == nullptr) return -1.0;
    // Parsed by hand: QApplication sets the user's locale, and the shell writes the time
    // with its own decimal separator.
    double seconds = 0.0, scale = 1.0;
    bool fraction = false;
    for (const char* c = t0; *c != '\0'; ++c) {
        if (*c >= '0' && *c <= '9') {
            if (fraction) seconds += (*c - '0') * (scale /= 10.0);
            else seconds = seconds * 10.0 + (*c - '0');
        } else {
            fraction = true;
        }
    }
    const auto now = std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
    return (now - seconds) * 1000.0;
}

// The time since launch on stdout, when it is known.
inline void PrintSinceLaunch() {
    const double ms = MsSinceLaunch();
    if (ms < 0.0) return;
    std::printf("%.3f\n", ms);
    std::fflush(stdout);
}

class StartupTrace {
public:
    StartupTrace() : on_(std::getenv("RAVLET_STARTUP_TRACE") != nullptr) { clock_.start(); }
    // Milliseconds since main() began, printed when tracing.
    void Mark(const char* phase) {
        if (!on_) return;
        std::fprintf(stderr, "%8.2f ms  %s", static_cast<double>(clock_.nsecsElapsed()) / 1e6, phase);
        if (const double ms = MsSinceLaunch(); ms >= 0.0) std::fprintf(stderr, " (%.2f ms since launch)", ms);
        std::fputc('\n', stderr);
    }

private:
    bool on_;
    QElapsedTimer clock_;
};

// Leaves the event loop after the first paint of `window` has finished: the paint
// event arrives before the children are drawn and the backing store is flushed, so
// the quit waits for the loop to come round again.
class QuitOnFirstPaint : public QObject {
public:
    QuitOnFirstPaint(QWidget& window, StartupTrace& trace) : window_(window), trace_(trace) {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_ && !seen_ && event->type() == QEvent::Paint) {
            seen_ = true;
            trace_.Mark("first paint event");
            QTimer::singleShot(0, qApp, [this] {
                trace_.Mark("first paint done");
                PrintSinceLaunch();
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget& window_;
    StartupTrace& trace_;
    bool seen_ = false;
};

// The yardstick window: empty, of Ravlet's size, fixed and centred as Ravlet's is.
inline void SizeAndCentreLikeRavlet(QWidget& window) {
    window.setFixedSize(345, 329);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        window.setGeometry(
            QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window.size(), screen->availableGeometry()));
    }
}

// Shows the built window and runs the event loop until its first paint is done.
inline int ShowUntilPainted(QApplication& app, QWidget& window, StartupTrace& trace) {
    QuitOnFirstPaint quitter(window, trace);
    window.show();
    trace.Mark("show");
    const int status = app.exec();
    trace.Mark("event loop left");
    return status;
}

}  // namespace ravlet::bench
