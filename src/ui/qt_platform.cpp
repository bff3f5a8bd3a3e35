// The Qt platform.
#include "ui/qt_platform.hpp"

#include <QApplication>
#include <QDir>
#include <QMessageBox>

#include "editor/messages.hpp"
#include "ui/open_dialog.hpp"

namespace ravlet {

QtPlatform::~QtPlatform() {
    if (busy_) QApplication::restoreOverrideCursor();
}

QWidget* QtPlatform::ShownWindow() const {
    return window_ && window_->isVisible() ? window_.data() : nullptr;
}

std::optional<std::string> QtPlatform::ShowOpenDialog(const OpenDialogRequest& request) {
    return RunOpenDialog(window_, request);
}

void QtPlatform::ShowMessage(const std::string& text, MessageIcon icon) {
    QMessageBox box(
        icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::Information,
        QString::fromUtf8(messages::kProgramTitle), QString::fromStdString(text), QMessageBox::Ok,
        ShownWindow());
    box.exec();
}

bool QtPlatform::AskYesNo(const std::string& text) {
    QMessageBox box(QMessageBox::Question, QString::fromUtf8(messages::kProgramTitle),
                    QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No,
                    ShownWindow());
    box.setDefaultButton(
        QMessageBox::No);  // overwriting another program's changes takes a deliberate Yes
    return box.exec() == QMessageBox::Yes;
}

void QtPlatform::Quit() {
    if (window_) window_->close();
    QCoreApplication::exit(0);
}

std::string QtPlatform::CurrentDirectory() {
    return QDir::toNativeSeparators(QDir::currentPath()).toStdString();
}

void QtPlatform::YieldEvents() {
    QCoreApplication::processEvents();
    lastYield_.start();
}

bool QtPlatform::YieldDue() {
    // About one frame at 60 Hz: repainting more often shows nothing new.
    constexpr qint64 kFrameMs = 16;
    return !lastYield_.isValid() || lastYield_.elapsed() >= kFrameMs;
}

void QtPlatform::SetBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

}  // namespace ravlet
