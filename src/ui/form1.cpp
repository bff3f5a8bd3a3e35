// The window: its components, their binding to the editor's controls, and the sync
// that shows the controls.
#include "ui/form1.hpp"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFont>
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
#include <QToolTip>
#include <exception>

#include "textengine/codepage.hpp"
#include "ui/cp1251_validator.hpp"

namespace ravlet {
namespace {

// The window description counts in twips, 15 to a pixel at 96 dots per inch.
int Px(int twips) { return qRound(twips / 15.0); }

// Left and top are relative to the container's outer top-left corner, which for a
// QGroupBox is its own origin, caption included.
QRect FromTwips(int left, int top, int width, int height) {
    return QRect(Px(left), Px(top), Px(width), Px(height));
}

// The font of the lists and the text box.
QFont ListFont() {
    QFont font(QStringLiteral("Courier New"));
    font.setPointSizeF(8.25);
    return font;
}

QFont CreditFont() {
    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSizeF(12);
    font.setBold(true);
    font.setItalic(true);
    return font;
}

QString Shown(const std::string& cp1251) { return QString::fromStdString(Cp1251ToUtf8(cp1251)); }

// The text box shows line breaks; Qt would take the CR of a CR LF for a second break.
QString ShownText(const std::string& cp1251) {
    QString text = Shown(cp1251);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

// A component of the window description: its name, place and tooltip (none for "").
template <typename W>
W* Make(QWidget* parent, const char* name, const QRect& geometry, const char* toolTip = "") {
    auto* widget = new W(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    widget->setToolTip(QString::fromUtf8(toolTip));
    return widget;
}

// The parameter list, reporting the rows the user chooses: a click on an item (the
// selected one too), a row reached by dragging, a row moved by a key. Rows the
// program sets are not reported.
class ParameterList : public QListWidget {
public:
    using QListWidget::QListWidget;
    std::function<void(int row)> chosen;

protected:
    void mousePressEvent(QMouseEvent* event) override {
        pressRow_ = currentRow();
        QListWidget::mousePressEvent(event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        QListWidget::mouseReleaseEvent(event);
        const int row = currentRow();
        if (row < 0) return;
        // A press that moved the row, or a click on the current item.
        if (row != pressRow_ || itemAt(event->position().toPoint()) == currentItem()) Choose(row);
    }
    void keyPressEvent(QKeyEvent* event) override {
        const int before = currentRow();
        QListWidget::keyPressEvent(event);
        if (currentRow() != before && currentRow() >= 0) Choose(currentRow());
    }

private:
    void Choose(int row) {
        if (chosen) chosen(row);
    }
    int pressRow_ = -1;
};

// The hint field, reporting the user's clicks: a press and release that leaves no text
// selected. A press, drag and release selects text to copy, and the text must stay.
class HintBox : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;
    std::function<void()> clicked;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        // After the box has handled it: a release inside an old selection clears it.
        QPlainTextEdit::mouseReleaseEvent(event);
        if (!textCursor().hasSelection() && clicked) clicked();
    }
};

// Each Sync* brings one widget up to its model control, raising nothing: a widget set
// from the model must not feed back into the editor.
bool Changed(const Control& model, const ShownRevision& seen) {
    return model.Revision() != seen.revision;
}

// The items of a drop-down or a list box, rebuilt only when the model's changed.
template <typename W>
void SyncItems(W* widget, const ListControl& model, ShownRevision& seen) {
    if (model.ItemsRevision() == seen.items) return;
    widget->clear();
    for (const std::string& item : model.Items()) widget->addItem(Shown(item));
    seen.items = model.ItemsRevision();
}

void SyncCombo(QComboBox* widget, const ListControl& model, ShownRevision& seen) {
    if (!Changed(model, seen)) return;
    const QSignalBlocker block(widget);
    SyncItems(widget, model, seen);
    if (widget->currentIndex() != model.ListIndex()) widget->setCurrentIndex(model.ListIndex());
    if (widget->isEditable()) {
        const QString text = Shown(model.Text());
        // Leaves the cursor where the user is typing when the text is already there.
        if (widget->currentText() != text) widget->setEditText(text);
    }
    widget->setEnabled(model.Enabled());
    seen.revision = model.Revision();
}

void SyncList(QListWidget* widget, const ListControl& model, ShownRevision& seen) {
    if (!Changed(model, seen)) return;
    const QSignalBlocker block(widget);
    SyncItems(widget, model, seen);
    if (widget->currentRow() != model.ListIndex()) {
        widget->setCurrentRow(model.ListIndex());
        if (model.ListIndex() < 0) widget->clearSelection();
    }
    widget->setEnabled(model.Enabled());
    seen.revision = model.Revision();
}

void SyncCheckBox(QCheckBox* widget, const CheckBox& model, ShownRevision& seen) {
    if (!Changed(model, seen)) return;
    const QSignalBlocker block(widget);
    widget->setChecked(model.Value() == 1);
    widget->setEnabled(model.Enabled());
    seen.revision = model.Revision();
}

void SyncButton(QPushButton* widget, const Button& model, ShownRevision& seen) {
    if (!Changed(model, seen)) return;
    widget->setEnabled(model.Enabled());
    seen.revision = model.Revision();
}

void SyncTextBox(QPlainTextEdit* widget, const TextBox& model, ShownRevision& seen) {
    if (!Changed(model, seen)) return;
    const QSignalBlocker block(widget);
    widget->setPlainText(ShownText(model.Text()));
    widget->setEnabled(model.Enabled());
    seen.revision = model.Revision();
}

}  // namespace

// The small dialog font the fixed layout was drawn for (Tahoma, or Arial's metric twin on
// Linux). The toolkit's larger default would clip captions such as Autoset's.
QFont DialogFont() {
    QFont font;
#ifdef Q_OS_WIN
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Arial")});
#else
    // The twin first: a family that is not installed costs a search through every font
    // for its fallbacks before the next is tried, and Tahoma seldom is here.
    font.setFamilies(
        {QStringLiteral("Liberation Sans"), QStringLiteral("Tahoma"), QStringLiteral("Arial")});
#endif
    font.setPointSizeF(8);
    return font;
}

Form1::Form1(Editor& editor, QWidget* parent) : QWidget(parent), editor_(editor) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Настройщик Tarven Pimlow (Ravlet v1.1)"));
    // Fixed single border: the layout is never rearranged for another size.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(Px(5175), Px(4935));
    setFont(DialogFont());

    CreateComponents();
    SetTabOrder();
    SyncWidgets();
    Connect();
    BindHistoryKeys();
    CentreOnScreen();
}

Form1::~Form1() {
    // The editor outlives the window: nothing may call back into it.
    editor_.BeforeYield = nullptr;
}

void Form1::CreateComponents() {
    // In the order of the window description, which is also the stacking order.
    save_ = Make<QPushButton>(this, "Save", FromTwips(2880, 4440, 2175, 400),
                              "Запись измененного ini файла и выход");
    save_->setText(QStringLiteral("Save and Exit"));

    frame2_ = Make<QGroupBox>(this, "Frame2", FromTwips(120, 120, 4935, 1215));
    frame2_->setTitle(QStringLiteral("Версия tarven.ini"));

    loadini_ = Make<QPushButton>(frame2_, "Loadini", FromTwips(3960, 680, 855, 400),
                                 "Загрузить файл ini для настройки");
    loadini_->setText(QStringLiteral("Load"));

    autoset_ = Make<QCheckBox>(
        frame2_, "Autoset", FromTwips(120, 600, 2775, 255),
        "Разрешить перенос параметров из текущей записи версии в редактируемый ini файл");
    autoset_->setText(QStringLiteral("Заполнить значениями из базы"));

    autoupdate_ = Make<QPushButton>(frame2_, "Autoupdate", FromTwips(3000, 680, 855, 400),
                                    "Перенос настроек из старой версии эмулятора в новую");
    autoupdate_->setText(QStringLiteral("Auto"));

    advanced_ =
        Make<QCheckBox>(frame2_, "Advanced", FromTwips(120, 840, 3015, 255),
                        "Разрешить отображение полного списка доступных для изменения параметров");
    advanced_->setText(QStringLiteral("Полный список параметров"));

    version_ = Make<QComboBox>(frame2_, "Version", FromTwips(120, 240, 4695, 330),
                               "Выбор записи версии эмулятора из базы версий");
    version_->setFont(ListFont());

    frame1_ = Make<QGroupBox>(this, "Frame1", FromTwips(120, 1440, 4935, 2895));
    frame1_->setTitle(QStringLiteral("Насторйка параметров"));

    description_ =
        Make<HintBox>(frame1_, "Description", FromTwips(120, 2050, 4695, 720), "Поле подсказки");
    description_->setFont(ListFont());
    description_->setReadOnly(true);
    description_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    description_->setFocusPolicy(Qt::StrongFocus);
    description_->setTabChangesFocus(true);
    description_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    parameters_ = Make<ParameterList>(frame1_, "Parameters", FromTwips(120, 645, 4695, 900),
                                      "Список доступных параметров в выбранной группе");
    parameters_->setFont(ListFont());
    parameters_->setSelectionMode(QAbstractItemView::SingleSelection);
    parameters_->setSortingEnabled(false);

    value_ = Make<QComboBox>(frame1_, "Value", FromTwips(120, 1640, 4695, 330),
                             "Поле изменения значения параметра");
    value_->setFont(ListFont());
    value_->setEditable(true);
    value_->setInsertPolicy(QComboBox::NoInsert);
    // Typing must reach the editor as typed: no completion that fills in an item.
    value_->setCompleter(nullptr);
    value_->setValidator(new Cp1251Validator(value_));

    group_ = Make<QComboBox>(frame1_, "Group", FromTwips(120, 240, 4695, 330),
                             "Список доступных групп параметров");
    group_->setFont(ListFont());

    for (QComboBox* list : {version_, value_, group_}) {
        // A wheel turned over a closed drop-down is not a choice unless the user is
        // working in it: it gets the focus from a click or a key, not from the wheel.
        list->setFocusPolicy(Qt::StrongFocus);
        list->installEventFilter(this);
    }
    for (QPushButton* button : {save_, loadini_, autoupdate_}) {
        // Enter presses the focused button, as Space does.
        button->setAutoDefault(true);
    }

    label1_ = Make<QLabel>(this, "Label1", FromTwips(120, 4485, 2220, 285), "Автор программы");
    label1_->setText(QStringLiteral("© 2026 the Ravlet authors"));
    label1_->setFont(CreditFont());
    QPalette credit = label1_->palette();
    credit.setColor(QPalette::WindowText, QColor(0, 128, 128));
    label1_->setPalette(credit);
    // The credit is one line and the label is sized to it: the description's width
    // fits its own wording, not necessarily ours in the fonts at hand.
    const int creditWidth = label1_->sizeHint().width();
    if (creditWidth > label1_->width()) label1_->resize(creditWidth, label1_->height());
}

void Form1::SetTabOrder() {
    // Ascending tab index; the frames and the label take no focus.
    QWidget* const order[] = {group_, value_,       parameters_, version_, advanced_,
                              save_,  description_, autoupdate_, autoset_, loadini_};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
}

void Form1::Connect() {
    // activated is the user's choice, by mouse or keyboard; code never raises it.
    connect(version_, &QComboBox::activated, this,
            [this](int i) { Forward([this, i] { editor_.Version.UserSelect(i); }); });
    connect(group_, &QComboBox::activated, this,
            [this](int i) { Forward([this, i] { editor_.Group.UserSelect(i); }); });
    connect(value_, &QComboBox::activated, this,
            [this](int i) { Forward([this, i] { editor_.Value.UserSelect(i); }); });
    // Only the user's choices: a click on the selected row raises Click again.
    static_cast<ParameterList*>(parameters_)->chosen = [this](int row) {
        Forward([this, row] { editor_.Parameters.UserSelect(row); });
    };
    // textEdited: typing only, not the text the combo or the model puts in the field.
    connect(value_->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        // Qt lets a refused edit through when the text before it was refused as well
        // (a value read from the file with a control character): it is refused here
        // all the same, and the field shows the model's text again.
        const std::optional<std::string> bytes = Utf8ToCp1251(text.toStdString());
        if (!bytes || static_cast<const Cp1251Validator*>(value_->validator())->LastRefused()) {
            seenValue_.revision = ShownRevision::kNever;
            SyncWidgets();
            return;
        }
        Forward([this, &bytes] { editor_.Value.TypeText(*bytes); });
    });
    // The validator refused a keystroke or a paste; the model's own texts don't count.
    connect(value_->lineEdit(), &QLineEdit::inputRejected, this, [this] {
        if (!syncing_) ShowRefused();
    });
    // Qt has toggled the box already; the model toggles its own value, and the box is
    // shown from the model again also when the model refused the click.
    connect(autoset_, &QCheckBox::clicked, this, [this] {
        seenAutoset_.revision = ShownRevision::kNever;
        Forward([this] { editor_.Autoset.UserClick(); });
    });
    connect(advanced_, &QCheckBox::clicked, this, [this] {
        seenAdvanced_.revision = ShownRevision::kNever;
        Forward([this] { editor_.Advanced.UserClick(); });
    });
    connect(loadini_, &QPushButton::clicked, this,
            [this] { Forward([this] { editor_.Loadini.UserClick(); }); });
    connect(autoupdate_, &QPushButton::clicked, this,
            [this] { Forward([this] { editor_.Autoupdate.UserClick(); }); });
    connect(save_, &QPushButton::clicked, this,
            [this] { Forward([this] { editor_.Save.UserClick(); }); });
    static_cast<HintBox*>(description_)->clicked = [this] {
        Forward([this] { editor_.Description.UserClick(); });
    };
    // A long run (the fill, the transfer) lets events through: the widgets show the
    // controls as they are then.
    editor_.BeforeYield = [this] { SyncWidgets(); };
}

void Form1::CentreOnScreen() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                        screen->availableGeometry()));
    }
}

bool Form1::Load() {
    const bool loaded = editor_.Form_Load();
    SyncWidgets();
    return loaded;
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (HistoryEvent(watched, event)) return true;
    // The drop-downs are watched. A stray turn is swallowed: the window does not scroll,
    // so nothing else wants it.
    const auto* list = qobject_cast<const QComboBox*>(watched);
    if (list != nullptr && event->type() == QEvent::Wheel && !list->hasFocus()) return true;
    return QWidget::eventFilter(watched, event);
}

void Form1::Forward(const std::function<void()>& action) {
    // Qt moves the focus off a widget as it is disabled (the fill disables most of the
    // window while it runs) and does not bring it back; the editor never moves it.
    const QPointer<QWidget> focused = forwardDepth_ == 0 ? QApplication::focusWidget() : nullptr;
    ++forwardDepth_;
    try {
        action();
    } catch (const std::exception& error) {
        // An exception must not cross Qt's event loop; the user learns what failed.
        editor_.ReportFailure(error);
    }
    --forwardDepth_;
    SyncWidgets();
    if (focused && focused->isEnabled() && focused->isVisible() &&
        QApplication::focusWidget() != focused) {
        focused->setFocus(Qt::OtherFocusReason);
    }
}

void Form1::SyncWidgets() {
    const bool wasSyncing = syncing_;
    syncing_ = true;
    SyncButton(save_, editor_.Save, seenSave_);
    SyncButton(loadini_, editor_.Loadini, seenLoadini_);
    SyncCheckBox(autoset_, editor_.Autoset, seenAutoset_);
    SyncButton(autoupdate_, editor_.Autoupdate, seenAutoupdate_);
    SyncCheckBox(advanced_, editor_.Advanced, seenAdvanced_);
    SyncCombo(version_, editor_.Version, seenVersion_);
    SyncTextBox(description_, editor_.Description, seenDescription_);
    SyncList(parameters_, editor_.Parameters, seenParameters_);
    SyncCombo(value_, editor_.Value, seenValue_);
    SyncCombo(group_, editor_.Group, seenGroup_);
    syncing_ = wasSyncing;
}

void Form1::BindHistoryKeys() {
    // Every widget of the window: a key goes to the focused one first, and the value
    // field takes Ctrl+Z for its own undo before the window would see it.
    installEventFilter(this);
    for (QWidget* widget : findChildren<QWidget*>()) widget->installEventFilter(this);
}

bool Form1::HistoryEvent(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && (watched == value_ || watched == value_->lineEdit())) {
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
    const auto* validator = static_cast<const Cp1251Validator*>(value_->validator());
    const std::optional<RefusedCharacter>& refused = validator->LastRefused();
    if (!refused) return;
    QApplication::beep();
    QToolTip::showText(value_->mapToGlobal(QPoint(0, value_->height())),
                       QString::fromStdString(RefusedCharacterMessage(*refused)), value_, QRect(),
                       3000);
}

}  // namespace ravlet
