// The hint field and what a screen reader gets of it.
#include "ui/hint_box.hpp"

#include <QAccessibleWidget>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

#include "editor/messages.hpp"

namespace ravlet {
namespace {

// The hint box's text, its selection and caret, and the press action that shows the
// whole settings text.
class HintAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit HintAccessible(HintBox* box) : QAccessibleWidget(box, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.multiLine = true;
        s.selectableText = true;
        return s;
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return Box()->toPlainText();
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override {
        return QAccessibleWidget::actionNames() << pressAction();
    }
    QString localizedActionName(const QString& name) const override {
        if (name == pressAction()) return QString::fromUtf8(messages::kShowWholeText);
        return QAccessibleWidget::localizedActionName(name);
    }
    QString localizedActionDescription(const QString& name) const override {
        return localizedActionName(name);
    }
    void doAction(const QString& name) override {
        if (name == pressAction()) {
            Box()->Click();
            return;
        }
        QAccessibleWidget::doAction(name);
    }

    // QAccessibleTextInterface, over the box's document.
    void selection(int index, int* start, int* end) const override {
        const QTextCursor c = Box()->textCursor();
        *start = index == 0 && c.hasSelection() ? c.selectionStart() : 0;
        *end = index == 0 && c.hasSelection() ? c.selectionEnd() : 0;
    }
    int selectionCount() const override { return Box()->textCursor().hasSelection() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override {
        QTextCursor c = Box()->textCursor();
        c.clearSelection();
        Box()->setTextCursor(c);
    }
    void setSelection(int, int start, int end) override {
        QTextCursor c = Box()->textCursor();
        c.setPosition(start);
        c.setPosition(end, QTextCursor::KeepAnchor);
        Box()->setTextCursor(c);
    }
    int cursorPosition() const override { return Box()->textCursor().position(); }
    void setCursorPosition(int position) override {
        QTextCursor c = Box()->textCursor();
        c.setPosition(position);
        Box()->setTextCursor(c);
    }
    QString text(int start, int end) const override {
        return Box()->toPlainText().mid(start, end - start);
    }
    int characterCount() const override { return static_cast<int>(Box()->toPlainText().size()); }
    QRect characterRect(int offset) const override {
        QTextCursor c(Box()->document());
        c.setPosition(offset);
        const QRect r = Box()->cursorRect(c);
        return QRect(Box()->viewport()->mapToGlobal(r.topLeft()), r.size());
    }
    int offsetAtPoint(const QPoint& point) const override {
        return Box()->cursorForPosition(Box()->viewport()->mapFromGlobal(point)).position();
    }
    void scrollToSubstring(int start, int) override {
        QTextCursor c(Box()->document());
        c.setPosition(start);
        Box()->setTextCursor(c);
        Box()->ensureCursorVisible();
    }
    QString attributes(int offset, int* start, int* end) const override {
        *start = offset;
        *end = offset;
        return {};
    }

private:
    HintBox* Box() const { return static_cast<HintBox*>(widget()); }
};

}  // namespace

HintBox::HintBox(QWidget* parent) : QPlainTextEdit(parent) {
    settle_.setSingleShot(true);
    connect(&settle_, &QTimer::timeout, this, [this] {
        if (click_.Settle()) Click();
    });
}

void HintBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QPoint at = event->position().toPoint();
        click_.Press(at.x(), at.y(), false);
    }
    QPlainTextEdit::mousePressEvent(event);
}

void HintBox::mouseDoubleClickEvent(QMouseEvent* event) {
    settle_.stop();
    if (event->button() == Qt::LeftButton) {
        const QPoint at = event->position().toPoint();
        click_.Press(at.x(), at.y(), true);
    }
    QPlainTextEdit::mouseDoubleClickEvent(event);
}

void HintBox::mouseReleaseEvent(QMouseEvent* event) {
    QPlainTextEdit::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton) return;
    const int drag = QApplication::startDragDistance();
    const QPoint at = event->position().toPoint();
    if (click_.Release(at.x(), at.y(), drag, drag)) {
        settle_.start(QApplication::doubleClickInterval());
    }
}

void HintBox::keyPressEvent(QKeyEvent* event) {
    const HintKey key = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter
                            ? HintKey::Enter
                        : event->key() == Qt::Key_Space ? HintKey::Space
                                                        : HintKey::Other;
    if (ShowsWholeText(key) && (event->modifiers() & ~Qt::KeypadModifier) == 0) {
        Click();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

QAccessibleInterface* HintBoxAccessible(const QString&, QObject* object) {
    if (auto* box = dynamic_cast<HintBox*>(object)) return new HintAccessible(box);
    return nullptr;
}

}  // namespace ravlet
