// The window: its components built from the window description, their binding to the
// editor's controls, and how each widget shows its control.
#include "ui/form1.hpp"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>
#include <QTimer>
#include <QToolTip>

#include "editor/gestures.hpp"
#include "textengine/codepage.hpp"
#include "ui/cp1251_validator.hpp"
#include "ui/hint_box.hpp"

namespace ravlet {
namespace {

using window::Kind;

constexpr int kDpi = window::kTwipsPerInch / window::kTwipsPerPixelAt96;

int Px(int twips) { return window::Pixels(twips, kDpi); }

QString Utf8(const char* text) { return QString::fromUtf8(text); }

QString AsShown(const std::string& cp1251) { return QString::fromStdString(Cp1251ToUtf8(cp1251)); }

// The text box shows line breaks; Qt would take the CR of a CR LF for a second break.
QString ShownText(const std::string& cp1251) {
    QString text = AsShown(cp1251);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

QFont FontOf(const window::Font& font) {
    QFont qfont(Utf8(font.family));
    qfont.setPointSizeF(font.pointSize);
    qfont.setBold(font.bold);
    qfont.setItalic(font.italic);
    return qfont;
}

// The parameter list, reporting the rows the user chooses (ListClick): a click on an
// item (the selected one too), a row reached by dragging, a row moved by a key. Rows
// the program sets are not reported.
class ParameterList : public QListWidget {
public:
    using QListWidget::QListWidget;
    std::function<void(int row)> chosen;

protected:
    void mousePressEvent(QMouseEvent* event) override {
        click_.Press(currentRow());
        QListWidget::mousePressEvent(event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        QListWidget::mouseReleaseEvent(event);
        const bool onRow = itemAt(event->position().toPoint()) == currentItem();
        if (click_.Release(currentRow(), onRow)) Choose(currentRow());
    }
    void keyPressEvent(QKeyEvent* event) override {
        click_.Key();
        const int before = currentRow();
        QListWidget::keyPressEvent(event);
        if (currentRow() != before && currentRow() >= 0) Choose(currentRow());
    }

private:
    void Choose(int row) {
        if (chosen) chosen(row);
    }
    ListClick click_;
};

// The window is a window to a screen reader, not a "filler" inside one.
QAccessibleInterface* WindowAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("ravlet::Form1") && object->isWidgetType()) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    }
    return nullptr;
}

// The items of a drop-down or a list box.
template <typename W>
void ShowItems(W* widget, const ListControl& control) {
    widget->clear();
    for (const std::string& item : control.Items()) widget->addItem(AsShown(item));
}

}  // namespace

// The small dialog font the fixed layout was drawn for, or Arial's metric twin on Linux.
// The toolkit's larger default would clip captions such as Autoset's.
QFont DialogFont() {
    QFont font;
#ifdef Q_OS_WIN
    font.setFamilies({Utf8(window::kDialogFont.family), QStringLiteral("Arial")});
#else
    // The twin first: a family that is not installed costs a search through every font
    // for its fallbacks before the next is tried, and Tahoma seldom is here.
    font.setFamilies({QStringLiteral("Liberation Sans"), Utf8(window::kDialogFont.family),
                      QStringLiteral("Arial")});
#endif
    font.setPointSizeF(window::kDialogFont.pointSize);
    return font;
}

Form1::Form1(Editor& editor, QWidget* parent) : QWidget(parent), FormBinding(editor) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(WindowAccessible);
        QAccessible::installFactory(HintBoxAccessible);
        return true;
    }();
    (void)factoryInstalled;
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(Utf8(window::kCaption));
    setAccessibleName(Utf8(window::kCaption));
    // Fixed single border: the layout is never rearranged for another size.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(Px(window::kClientWidth), Px(window::kClientHeight));
    setFont(DialogFont());

    CreateComponents();
    SetTabOrder();
    Sync();
    for (std::size_t i = 0; i < window::kComponentCount; ++i) Connect(i);
    BindHistoryKeys();
    CentreOnScreen();
}

Form1::~Form1() = default;

QWidget* Form1::Component(const char* name) const {
    const std::size_t i = window::IndexOf(name);
    return i < widgets_.size() ? widgets_[i] : nullptr;
}

void Form1::CreateComponents() {
    for (std::size_t i = 0; i < window::kComponentCount; ++i) {
        const window::Component& c = window::kComponents[i];
        QWidget* parent = std::string_view(c.container) == "Form1" ? this : Component(c.container);
        QWidget* widget = nullptr;
        switch (c.kind) {
            case Kind::Frame:
                widget = new QGroupBox(Utf8(c.caption), parent);
                break;
            case Kind::PushButton: {
                auto* button = new QPushButton(Utf8(c.caption), parent);
                // Enter presses the focused button, as Space does.
                button->setAutoDefault(true);
                widget = button;
                break;
            }
            case Kind::CheckBox:
                widget = new QCheckBox(Utf8(c.caption), parent);
                break;
            case Kind::DropDownList:
            case Kind::EditableDropDown: {
                auto* list = new QComboBox(parent);
                if (c.kind == Kind::EditableDropDown) {
                    list->setEditable(true);
                    list->setInsertPolicy(QComboBox::NoInsert);
                    // Typing must reach the editor as typed: no completion that fills in.
                    list->setCompleter(nullptr);
                    list->setValidator(new Cp1251Validator(list));
                    list->lineEdit()->setAccessibleName(Utf8(c.accessibleName));
                    list->lineEdit()->setAccessibleDescription(Utf8(c.toolTip));
                }
                // A wheel turned over a closed drop-down is not a choice unless the user
                // is working in it: it gets the focus from a click or a key, not the wheel.
                list->setFocusPolicy(Qt::StrongFocus);
                list->installEventFilter(this);
                widget = list;
                break;
            }
            case Kind::ListBox: {
                auto* list = new ParameterList(parent);
                list->setSelectionMode(QAbstractItemView::SingleSelection);
                list->setSortingEnabled(false);
                widget = list;
                break;
            }
            case Kind::TextBox: {
                auto* box = new HintBox(parent);
                box->setReadOnly(true);
                box->setTextInteractionFlags(Qt::TextSelectableByMouse |
                                             Qt::TextSelectableByKeyboard);
                box->setFocusPolicy(Qt::StrongFocus);
                box->setTabChangesFocus(true);
                box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
                widget = box;
                break;
            }
            case Kind::Label:
                widget = new QLabel(Utf8(c.caption), parent);
                break;
        }
        widgets_[i] = widget;
        widget->setObjectName(QString::fromLatin1(c.name));
        widget->setGeometry(Px(c.left), Px(c.top), Px(c.width), Px(c.height));
        widget->setToolTip(Utf8(c.toolTip));
        widget->setAccessibleName(Utf8(c.accessibleName));
        widget->setAccessibleDescription(Utf8(c.toolTip));
        if (std::string_view(c.font.family) != window::kDialogFont.family) {
            widget->setFont(FontOf(c.font));
        }
        if (!c.colour.system) {
            QPalette palette = widget->palette();
            palette.setColor(QPalette::WindowText,
                             QColor(c.colour.red, c.colour.green, c.colour.blue));
            widget->setPalette(palette);
        }
        if (c.kind == Kind::Label) {
            // The credit is one line and the label is sized to it: the description's
            // width fits its own wording, not necessarily ours in the fonts at hand.
            const int needed = widget->sizeHint().width();
            if (needed > widget->width()) widget->resize(needed, widget->height());
        }
    }
    for (std::size_t i = 0; i < window::kComponentCount; ++i) {
        if (window::DrawnOnTop(window::kComponents[i].kind)) widgets_[i]->raise();
    }
}

void Form1::SetTabOrder() {
    QWidget* previous = nullptr;
    window::ForEachInTabOrder([&](std::size_t i) {
        if (previous != nullptr) setTabOrder(previous, widgets_[i]);
        previous = widgets_[i];
    });
}

void Form1::Connect(std::size_t index) {
    Control* control = ControlOf(index);
    if (control == nullptr) return;
    QWidget* widget = widgets_[index];
    switch (window::kComponents[index].kind) {
        case Kind::PushButton: {
            auto* button = static_cast<Button*>(control);
            connect(static_cast<QPushButton*>(widget), &QPushButton::clicked, this,
                    [this, button] { Forward([button] { button->UserClick(); }); });
            break;
        }
        case Kind::CheckBox: {
            // Qt has toggled the box already; the control toggles its own value, and the
            // box is shown from it again also when the control refused the click.
            auto* box = static_cast<CheckBox*>(control);
            connect(static_cast<QCheckBox*>(widget), &QCheckBox::clicked, this, [this, box, index] {
                ShowAgain(index);
                Forward([box] { box->UserClick(); });
            });
            break;
        }
        case Kind::DropDownList:
        case Kind::EditableDropDown: {
            auto* list = static_cast<ListControl*>(control);
            auto* combo = static_cast<QComboBox*>(widget);
            // activated is the user's choice, by mouse or keyboard; code never raises it.
            connect(combo, &QComboBox::activated, this,
                    [this, list](int i) { Forward([list, i] { list->UserSelect(i); }); });
            if (window::kComponents[index].kind != Kind::EditableDropDown) break;
            // textEdited: typing only, not the text the combo or the control puts there.
            connect(combo->lineEdit(), &QLineEdit::textEdited, this,
                    [this, list, combo, index](const QString& text) {
                        // Qt lets a refused edit through when the text before it was
                        // refused as well (a value read from the file with a control
                        // character): it is refused here all the same, and the field
                        // shows the control's text again.
                        const std::optional<std::string> bytes = Utf8ToCp1251(text.toStdString());
                        const auto* validator =
                            static_cast<const Cp1251Validator*>(combo->validator());
                        if (!bytes || validator->LastRefused()) {
                            ShowAgain(index);
                            Sync();
                            return;
                        }
                        Forward([list, &bytes] { list->TypeText(*bytes); });
                    });
            // Any other change of the text (an assistive tool setting it) is looked at
            // once the toolkit's own signals for it have been forwarded.
            connect(combo->lineEdit(), &QLineEdit::textChanged, this, [this] {
                if (!Syncing()) QTimer::singleShot(0, this, [this] { TakeValueText(); });
            });
            // The validator refused a keystroke or a paste; the control's texts don't count.
            connect(combo->lineEdit(), &QLineEdit::inputRejected, this, [this] {
                if (!Syncing()) ShowRefused();
            });
            break;
        }
        case Kind::ListBox: {
            auto* list = static_cast<ListControl*>(control);
            // Only the user's choices: a click on the selected row raises Click again.
            static_cast<ParameterList*>(widget)->chosen = [this, list](int row) {
                Forward([list, row] { list->UserSelect(row); });
            };
            break;
        }
        case Kind::TextBox: {
            auto* box = static_cast<TextBox*>(control);
            static_cast<HintBox*>(widget)->clicked = [this, box] {
                Forward([box] { box->UserClick(); });
            };
            break;
        }
        case Kind::Frame:
        case Kind::Label:
            break;
    }
}

void Form1::TakeValueText() {
    const std::size_t index = window::IndexOf("Value");
    auto* combo = static_cast<QComboBox*>(widgets_[index]);
    auto* list = static_cast<ListControl*>(ControlOf(index));
    const QString text = combo->lineEdit()->text();
    if (text == AsShown(list->Text())) return;
    const std::optional<std::string> bytes = Utf8ToCp1251(text.toStdString());
    if (!bytes) {
        ShowAgain(index);
        Sync();
        return;
    }
    Forward([list, &bytes] { list->TypeText(*bytes); });
}

void Form1::CentreOnScreen() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                        screen->availableGeometry()));
    }
}

bool Form1::Load() {
    const bool loaded = editor_.Form_Load();
    Sync();
    return loaded;
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (HistoryEvent(watched, event)) return true;
    // The drop-downs are watched: a stray turn of the wheel is swallowed.
    const auto* list = qobject_cast<const QComboBox*>(watched);
    if (list != nullptr && event->type() == QEvent::Wheel &&
        !WheelChooses(list->hasFocus(), list->view()->isVisible())) {
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

std::function<void()> Form1::KeepFocus() {
    // Qt moves the focus off a widget as it is disabled (the fill disables most of the
    // window while it runs) and does not bring it back; the editor never moves it.
    const QPointer<QWidget> focused = QApplication::focusWidget();
    return [focused] {
        if (focused && focused->isEnabled() && focused->isVisible() &&
            QApplication::focusWidget() != focused) {
            focused->setFocus(Qt::OtherFocusReason);
        }
    };
}

void Form1::ShowControl(std::size_t index, const Control& control, bool itemsChanged) {
    QWidget* widget = widgets_[index];
    const QSignalBlocker block(widget);
    switch (window::kComponents[index].kind) {
        case Kind::PushButton:
            break;
        case Kind::CheckBox:
            static_cast<QCheckBox*>(widget)->setChecked(
                static_cast<const CheckBox&>(control).Value() == 1);
            break;
        case Kind::DropDownList:
        case Kind::EditableDropDown: {
            const auto& list = static_cast<const ListControl&>(control);
            auto* combo = static_cast<QComboBox*>(widget);
            if (itemsChanged) ShowItems(combo, list);
            if (combo->currentIndex() != list.ListIndex()) combo->setCurrentIndex(list.ListIndex());
            if (combo->isEditable()) {
                const QString text = AsShown(list.Text());
                // Leaves the cursor where the user is typing when the text is already there.
                if (combo->currentText() != text) combo->setEditText(text);
            }
            break;
        }
        case Kind::ListBox: {
            const auto& list = static_cast<const ListControl&>(control);
            auto* box = static_cast<QListWidget*>(widget);
            if (itemsChanged) ShowItems(box, list);
            if (box->currentRow() != list.ListIndex()) {
                box->setCurrentRow(list.ListIndex());
                if (list.ListIndex() < 0) box->clearSelection();
            }
            break;
        }
        case Kind::TextBox:
            static_cast<QPlainTextEdit*>(widget)->setPlainText(
                ShownText(static_cast<const TextBox&>(control).Text()));
            break;
        case Kind::Frame:
        case Kind::Label:
            break;
    }
    widget->setEnabled(control.Enabled());
}

void Form1::BindHistoryKeys() {
    // Every widget of the window: a key goes to the focused one first, and the value
    // field takes Ctrl+Z for its own undo before the window would see it.
    installEventFilter(this);
    for (QWidget* widget : findChildren<QWidget*>()) widget->installEventFilter(this);
}

bool Form1::HistoryEvent(QObject* watched, QEvent* event) {
    const auto* value = static_cast<const QComboBox*>(Component("Value"));
    if (event->type() == QEvent::FocusOut && (watched == value || watched == value->lineEdit())) {
        editor_.ValueFieldLeft();
        return false;
    }
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    const Qt::KeyboardModifiers held = key->modifiers();
    const HistoryCommand command =
        HistoryCommandFor(key->key(), held.testFlag(Qt::ControlModifier),
                          held.testFlag(Qt::ShiftModifier), held.testFlag(Qt::AltModifier));
    if (command == HistoryCommand::None) return false;
    Forward([this, command] { editor_.Perform(command); });
    return true;
}

void Form1::ShowRefused() {
    auto* value = static_cast<QComboBox*>(Component("Value"));
    const auto* validator = static_cast<const Cp1251Validator*>(value->validator());
    const std::optional<RefusedCharacter>& refused = validator->LastRefused();
    if (!refused) return;
    QApplication::beep();
    QToolTip::showText(value->mapToGlobal(QPoint(0, value->height())),
                       QString::fromStdString(RefusedCharacterMessage(*refused)), value, QRect(),
                       3000);
}

}  // namespace ravlet
