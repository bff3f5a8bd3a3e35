// The hint field of the Qt window: a read-only text box that reports the user's clicks
// (a click after the double-click time, HintClick) and Enter or Space, and offers a
// screen reader its text and the action that shows the whole settings text.
#pragma once

#include <QPlainTextEdit>
#include <QTimer>
#include <functional>

#include "editor/gestures.hpp"

class QAccessibleInterface;

namespace ravlet {

class HintBox : public QPlainTextEdit {
public:
    explicit HintBox(QWidget* parent);
    // A click, Enter or Space, or the accessibility interface's press action.
    std::function<void()> clicked;
    void Click() {
        if (clicked) clicked();
    }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    HintClick click_;
    QTimer settle_;
};

// The accessibility factory for the hint box (QAccessible::installFactory); nullptr for
// any other object.
QAccessibleInterface* HintBoxAccessible(const QString& className, QObject* object);

}  // namespace ravlet
