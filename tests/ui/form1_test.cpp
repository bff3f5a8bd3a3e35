// The real window on the offscreen platform: its components as the window description
// gives them, and an editing session driven through the widgets.
#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QToolTip>
#include <QTranslator>
#include <QtTest>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "editor/editor.hpp"
#include "editor/messages.hpp"
#include "support/text.hpp"
#include "textengine/locked_text_file.hpp"
#include "support/window_check.hpp"
#include "ui/cp1251_validator.hpp"
#include "ui/form1.hpp"
#include "ui/open_dialog.hpp"
#include "ui/qt_platform.hpp"
#include "ui/qt_translations.hpp"

using ravlet::MessageIcon;
using ravlet::test::Text;

namespace {

// Two versions; the groups and parameters are listed in file order, which is not the
// alphabetical one, so a sorting list would show.
const std::string kBase = Text(
    "; База версий для проверки окна⏎"
    "[DESCRIPTIONS]⏎"
    "Video:Mode=Режим экрана⏎"
    "Video:Layout=Раскладка клавиатуры⏎"
    "Sound:Volume=Громкость звука⏎"
    "⏎"
    "TARVEN=1.0⏎"
    "SUPPORT=1.0.0,1.0.1⏎"
    "[Video]⏎"
    "+Mode=!0⏎"
    "+Layout=@QWERTY,ЙЦУКЕН⏎"
    "[Sound]⏎"
    "+Volume=0,@50,100⏎"
    "⏎"
    "TARVEN=2.0⏎"
    "SUPPORT=2.0.0,2.0.1⏎"
    "[Video]⏎"
    "+Mode=!1⏎"
    "+Layout=QWERTY,@ЙЦУКЕН⏎"
    "[Sound]⏎"
    "+Volume=0,50,@75,100⏎"
    "-Rate=@22050,44100⏎");

const std::string kIni = Text(
    "; Настройки эмулятора⏎"
    "TARVEN=2.0.1⏎"
    "[Video]⏎"
    "Mode=0⏎"
    "Layout=QWERTY ;раскладка⏎"
    "[Sound]⏎"
    "Volume=100⏎"
    "Rate=44100⏎");

using Filters = std::vector<ravlet::FileFilter>;
const Filters kSettingsFilters = {
    {"Файл настройки", "*.ini"}, {"Текстовый файл", "*.txt"}, {"Все файлы", "*.*"}};

struct Message {
    QString text;
    MessageIcon icon;
};

// What the editor asked the open dialog to show.
struct DialogShown {
    QString title;
    QString filter;
    QString fileName;
};

// The Qt platform with the user's side scripted: messages and quits recorded, the open
// dialog answered by the test. The question box, the busy pointer and the yields are Qt's.
class ScriptedPlatform : public ravlet::QtPlatform {
public:
    std::optional<std::string> ShowOpenDialog(const ravlet::OpenDialogRequest& request) override {
        dialogs.push_back({QString::fromStdString(request.title),
                           ravlet::QtNameFilters(request.filters),
                           QString::fromStdString(request.fileName)});
        if (onDialog) onDialog();
        if (!answer) return std::nullopt;
        return answer->toStdString();
    }
    void ShowMessage(const std::string& text, MessageIcon icon) override {
        messages.push_back({QString::fromStdString(text), icon});
    }
    void Quit() override { ++quits; }

    std::vector<Message> messages;
    std::vector<DialogShown> dialogs;
    std::optional<QString> answer;   // nullopt: the user cancels
    std::function<void()> onDialog;  // runs as the dialog is shown
    int quits = 0;
};

void WriteFile(const QString& path, const std::string& bytes) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(file.write(bytes.data(), static_cast<qint64>(bytes.size())),
             static_cast<qint64>(bytes.size()));
}

std::string ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return "<unreadable>";
    return file.readAll().toStdString();
}

QString Caption(QObject* component) {
    if (auto* button = qobject_cast<QAbstractButton*>(component)) return button->text();
    if (auto* frame = qobject_cast<QGroupBox*>(component)) return frame->title();
    if (auto* label = qobject_cast<QLabel*>(component)) return label->text();
    return {};
}

QStringList Items(const QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
    return items;
}

QStringList Items(const QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
    return items;
}

// Types a text key by key as a keyboard would, one character per key press, whatever
// its script (QTest::keyClicks sends Latin-1 only).
void Type(QWidget* widget, const QString& text) {
    for (const char32_t ch : text.toUcs4()) {
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString::fromUcs4(&ch, 1),
                            Qt::NoModifier);
    }
}

// The component that owns a focused widget (an editable combo box focuses its field).
// Watches for the question box (one with Yes and No) while a modal loop runs, hands it to
// `seen` and answers it Yes or No; `poll` is the caller's, so it stops when the test ends.
void AnswerQuestion(QTimer& poll, bool yes, std::function<void(QMessageBox&)> seen) {
    poll.setInterval(20);
    poll.callOnTimeout([&poll, yes, seen = std::move(seen)] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || box->button(QMessageBox::Yes) == nullptr ||
            box->button(QMessageBox::No) == nullptr) {
            return;
        }
        poll.stop();
        seen(*box);
        box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
    });
    poll.start();
}

QString OwnerName(QWidget* widget) {
    for (; widget != nullptr; widget = widget->parentWidget()) {
        if (!widget->objectName().isEmpty() &&
            !widget->objectName().startsWith(QLatin1String("qt_"))) {
            return widget->objectName();
        }
    }
    return QStringLiteral("<none>");
}

}  // namespace

Q_DECLARE_METATYPE(Filters)

class Form1Test : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void window();
    void builtFromDescription();
    void stackingOrderAndNesting_data();
    void stackingOrderAndNesting();
    void openDialog_data();
    void openDialog();
    void captionsFit_data();
    void captionsFit();
    void creditLabel();
    void controlKinds();
    void tabOrder();
    void startUp_data();
    void startUp();
    void startUpWithoutBase();
    void qtNameFilters_data();
    void qtNameFilters();
    void editingSession();
    void transferShowsReport();
    void userSelectionRaisesClickOnce();
    void hintBoxGestures_data();
    void hintBoxGestures();
    void typedValueStaysWhenEditingEnds_data();
    void typedValueStaysWhenEditingEnds();
    void valueRefusesTyping_data();
    void valueRefusesTyping();
    void validator_data();
    void validator();
    void focusReturnsAfterAutosetFill();
    void refusedCharacterIsSignalled_data();
    void refusedCharacterIsSignalled();
    void clickOnSelectedParameterShowsHintAgain();
    void strayWheelChangesNothing_data();
    void strayWheelChangesNothing();
    void saveAsksWhenFileChangedOnDisk_data();
    void saveAsksWhenFileChangedOnDisk();
    void typingInTheMiddleKeepsTheCaret();
    void textSetByAnAssistiveToolIsWritten();
    void accessibleRoles();
    void lockWaitAsks_data();
    void lockWaitAsks();
    void qtTextsInRussian();
    void undoAndRedoByKeys();
    void examplesWindow();
    void noDisplay();

private:
    template <typename T>
    T* Find(const char* name) const {
        T* found = form_->findChild<T*>(QString::fromLatin1(name));
        if (found == nullptr) qFatal("no component %s", name);
        return found;
    }
    QString Path(const char* file) const {
        return QDir(dir_->path()).filePath(QString::fromLatin1(file));
    }
    // Loads the settings file through the Load button, answering the dialog with it.
    void LoadIni(const QString& path);
    // A value picked, a group selected and a value typed, through the widgets.
    void PickSelectAndType();
    // The base loaded, the window shown and active, and tarven.ini loaded into it.
    bool ShowWithIni() {
        if (!form_->Load()) return false;
        form_->show();
        if (!QTest::qWaitForWindowActive(form_.get())) return false;
        LoadIni(Path("tarven.ini"));
        return true;
    }

    std::unique_ptr<QTemporaryDir> dir_;
    QString previousDir_;
    std::unique_ptr<ScriptedPlatform> platform_;
    std::unique_ptr<ravlet::Editor> editor_;
    std::unique_ptr<ravlet::Form1> form_;
    // Watches for a modal box no test answers: it fails the test at once and is closed,
    // instead of the run hanging until the time-out.
    QTimer modalWatch_;
    QPointer<QWidget> modalSeen_;
    QElapsedTimer modalSince_;
};

void Form1Test::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    WriteFile(Path("rvbase.txt"), kBase);
    WriteFile(Path("tarven.ini"), kIni);
    previousDir_ = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir_->path()));

    platform_ = std::make_unique<ScriptedPlatform>();
    editor_ = std::make_unique<ravlet::Editor>(*platform_);
    form_ = std::make_unique<ravlet::Form1>(*editor_);
    platform_->SetWindow(form_.get());

    // A test answers its own boxes within moments; one left open for two seconds is a
    // box the test did not expect.
    modalSeen_.clear();
    modalWatch_.setInterval(100);
    modalWatch_.callOnTimeout(this, [this] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != modalSeen_) {
            modalSeen_ = modal;
            modalSince_.start();
            return;
        }
        if (modal == nullptr || modalSince_.elapsed() < 2000) return;
        const auto* box = qobject_cast<QMessageBox*>(modal);
        const QString text = box != nullptr ? box->text() : modal->windowTitle();
        modal->close();
        QTest::qFail(qPrintable(QStringLiteral("an unexpected modal box: ") + text), __FILE__,
                     __LINE__);
    });
    modalWatch_.start();
}

void Form1Test::cleanup() {
    modalWatch_.stop();
    modalWatch_.disconnect();
    form_.reset();
    editor_.reset();
    platform_.reset();
    QDir::setCurrent(previousDir_);
    dir_.reset();
}

void Form1Test::LoadIni(const QString& path) {
    platform_->answer = path;
    QTest::mouseClick(Find<QPushButton>("Loadini"), Qt::LeftButton);
}

void Form1Test::window() {
    QCOMPARE(form_->objectName(), QStringLiteral("Form1"));
    QVERIFY(form_->isWindow());
    QCOMPARE(form_->windowTitle(), QStringLiteral("Настройщик Tarven Pimlow (Ravlet v1.1)"));
    // 5175 x 4935 twips, and the user cannot resize it.
    QCOMPARE(form_->size(), QSize(345, 329));
    QCOMPARE(form_->minimumSize(), QSize(345, 329));
    QCOMPARE(form_->maximumSize(), QSize(345, 329));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY2((form_->geometry().center() - screen.center()).manhattanLength() <= 2,
             qPrintable(QStringLiteral("window centre %1,%2")
                            .arg(form_->geometry().center().x())
                            .arg(form_->geometry().center().y())));
}

// Every component as the window description gives it: kind, container, place at 96 DPI,
// texts, the names a screen reader speaks, font, colour, design state.
void Form1Test::builtFromDescription() {
    const auto read = [this](const ravlet::window::Component& c) {
        ravlet::test::BuiltComponent b;
        QWidget* w = form_->Component(c.name);
        if (w == nullptr || w != form_->findChild<QWidget*>(QString::fromLatin1(c.name))) return b;
        b.found = true;
        const auto* combo = qobject_cast<QComboBox*>(w);
        switch (c.kind) {
            using K = ravlet::window::Kind;
            case K::Frame:
                b.kindMatches = w->inherits("QGroupBox");
                break;
            case K::PushButton:
                b.kindMatches = w->inherits("QPushButton");
                break;
            case K::CheckBox:
                b.kindMatches = w->inherits("QCheckBox");
                break;
            case K::DropDownList:
                b.kindMatches = combo && !combo->isEditable();
                break;
            case K::EditableDropDown:
                b.kindMatches = combo && combo->isEditable();
                break;
            case K::ListBox:
                b.kindMatches = w->inherits("QListWidget");
                break;
            case K::TextBox:
                b.kindMatches = w->inherits("QPlainTextEdit");
                break;
            case K::Label:
                b.kindMatches = w->inherits("QLabel");
                break;
        }
        b.container = w->parentWidget()->objectName().toStdString();
        b.left = w->x();
        b.top = w->y();
        b.width = w->width();
        b.height = w->height();
        b.caption = Caption(w).toStdString();
        b.toolTip = w->toolTip().toStdString();
        // As the accessibility interface hands them to a screen reader.
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        if (a != nullptr) {
            b.accessibleName = a->text(QAccessible::Name).toStdString();
            b.accessibleDescription = a->text(QAccessible::Description).toStdString();
        }
        if (w->font() != form_->font()) {
            b.fontFamily = w->font().family().toStdString();
            b.pointSize = w->font().pointSizeF();
            b.bold = w->font().bold();
            b.italic = w->font().italic();
        }
        const QColor text = w->palette().color(QPalette::WindowText);
        b.systemColour = text == form_->palette().color(QPalette::WindowText);
        b.red = text.red();
        b.green = text.green();
        b.blue = text.blue();
        b.enabled = w->isEnabled();
        b.visible = !w->isHidden();
        return b;
    };
    const std::vector<std::string> mismatches = ravlet::test::DescriptionMismatches(read, 96);
    QStringList shown;
    for (const std::string& m : mismatches) shown << QString::fromStdString(m);
    QVERIFY2(mismatches.empty(), qPrintable(shown.join(QLatin1Char('\n'))));
}

// Bottom to top: the order of creation, the push buttons above the rest (Auto shares a
// corner with the full-list box and must stay whole and clickable).
void Form1Test::stackingOrderAndNesting_data() {
    QTest::addColumn<QString>("container");
    QTest::addColumn<QStringList>("children");
    QTest::newRow("Form1") << "Form1" << QStringList{"Frame2", "Frame1", "Label1", "Save"};
    QTest::newRow("Frame2") << "Frame2"
                            << QStringList{"Autoset", "Advanced", "Version", "Loadini",
                                           "Autoupdate"};
    QTest::newRow("Frame1") << "Frame1"
                            << QStringList{"Description", "Parameters", "Value", "Group"};
}

void Form1Test::stackingOrderAndNesting() {
    QFETCH(QString, container);
    QFETCH(QStringList, children);
    QObject* parent =
        container == QLatin1String("Form1") ? form_.get() : form_->findChild<QObject*>(container);
    QVERIFY(parent != nullptr);
    QStringList named;
    for (QObject* child : parent->children()) {
        if (!child->objectName().isEmpty() &&
            !child->objectName().startsWith(QLatin1String("qt_"))) {
            named << child->objectName();
        }
    }
    QCOMPARE(named, children);
}

// The Qt platform's open dialog: modal over the window, started from the request's
// title, filter and file; the chosen file comes back as a native path, a cancel as none.
void Form1Test::openDialog_data() {
    QTest::addColumn<bool>("open");
    QTest::newRow("open") << true;
    QTest::newRow("cancel") << false;
}

void Form1Test::openDialog() {
    QFETCH(bool, open);
    ravlet::QtPlatform platform;
    platform.SetWindow(form_.get());
    QString title;
    QStringList filters;
    QStringList selected;
    QStringList columns;  // size and date of tarven.ini
    QWidget* parent = nullptr;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        title = dialog->windowTitle();
        // The columns in Russian also where the system's locale is another.
        const auto* files = dialog->findChild<QFileSystemModel*>();
        if (files != nullptr && dialog->proxyModel() != nullptr &&
            QTest::qWaitFor([&] { return files->index(Path("tarven.ini")).isValid(); })) {
            const auto column = [&](int n) {
                const QModelIndex file = files->index(Path("tarven.ini"), n);
                return dialog->proxyModel()->mapFromSource(file).data().toString();
            };
            columns = {column(1), column(3)};
        }
        filters = dialog->nameFilters();
        selected = dialog->selectedFiles();
        parent = dialog->parentWidget();
        if (open) {
            static_cast<QDialog*>(dialog)->accept();  // QFileDialog::accept, checking the file
        } else {
            dialog->reject();
        }
    });
    const std::string start = QDir::toNativeSeparators(Path("tarven.ini")).toStdString();
    const std::optional<std::string> chosen =
        platform.ShowOpenDialog({ravlet::messages::kOpenTitle, kSettingsFilters, start});
    QCOMPARE(title, QStringLiteral("Открыть tarven.ini"));
    QCOMPARE(filters,
             (QStringList{"Файл настройки (*.ini)", "Текстовый файл (*.txt)", "Все файлы (*.*)"}));
    QCOMPARE(selected, QStringList{Path("tarven.ini")});
    QCOMPARE(parent, form_.get());
    QCOMPARE(columns.size(), 2);
    QCOMPARE(columns[0], QStringLiteral("%1 Б").arg(kIni.size()));
    const QRegularExpression russianDate(
        QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d$"));
    QVERIFY2(russianDate.match(columns[1]).hasMatch(), qPrintable(columns[1]));
    QCOMPARE(chosen, open ? std::optional<std::string>(start) : std::nullopt);
}

// Every caption is shown whole in the fixed layout.
void Form1Test::captionsFit_data() {
    QTest::addColumn<QString>("name");
    for (const char* name :
         {"Save", "Loadini", "Autoset", "Autoupdate", "Advanced", "Frame2", "Frame1"}) {
        QTest::newRow(name) << name;
    }
}

void Form1Test::captionsFit() {
    QFETCH(QString, name);
    auto* component = form_->findChild<QWidget*>(name);
    if (auto* frame = qobject_cast<QGroupBox*>(component)) {
        const int needed = frame->fontMetrics().horizontalAdvance(frame->title());
        QVERIFY2(needed < frame->width() - 16,
                 qPrintable(QStringLiteral("needs %1 px").arg(needed)));
    } else if (auto* button = qobject_cast<QPushButton*>(component)) {
        // A push button's size hint has a style minimum; the text with a margin must fit.
        const int needed = button->fontMetrics().horizontalAdvance(button->text()) + 8;
        QVERIFY2(needed <= button->width(), qPrintable(QStringLiteral("needs %1 px").arg(needed)));
    } else {
        const int needed = component->sizeHint().width();
        QVERIFY2(needed <= component->width(),
                 qPrintable(QStringLiteral("needs %1 px").arg(needed)));
    }
}

void Form1Test::creditLabel() {
    // Widened when the one line needs more, but never into the Save button beside it.
    auto* label = Find<QLabel>("Label1");
    QVERIFY(!label->wordWrap());
    const int needed = QFontMetrics(label->font()).horizontalAdvance(label->text());
    QVERIFY2(needed <= label->width(), qPrintable(QStringLiteral("needs %1 px").arg(needed)));
    QVERIFY(label->geometry().right() < Find<QPushButton>("Save")->geometry().left());
}

void Form1Test::controlKinds() {
    auto* value = Find<QComboBox>("Value");
    QVERIFY(value->isEditable());
    QCOMPARE(value->insertPolicy(), QComboBox::NoInsert);
    QVERIFY(qobject_cast<const ravlet::Cp1251Validator*>(value->validator()) != nullptr);
    QVERIFY(!Find<QComboBox>("Version")->isEditable());
    QVERIFY(!Find<QComboBox>("Group")->isEditable());

    auto* parameters = Find<QListWidget>("Parameters");
    QCOMPARE(parameters->selectionMode(), QAbstractItemView::SingleSelection);
    QVERIFY(!parameters->isSortingEnabled());

    auto* description = Find<QPlainTextEdit>("Description");
    QVERIFY(description->isReadOnly());
    QCOMPARE(description->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(description->textInteractionFlags(),
             Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // Typing into the hint field changes nothing.
    description->setPlainText(QStringLiteral("hint"));
    QTest::keyClicks(description, QStringLiteral("xyz"));
    QCOMPARE(description->toPlainText(), QStringLiteral("hint"));
}

void Form1Test::tabOrder() {
    form_->show();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    Find<QComboBox>("Group")->setFocus(Qt::TabFocusReason);
    QCOMPARE(OwnerName(QApplication::focusWidget()), QStringLiteral("Group"));

    QStringList visited;
    for (int i = 0; i < 10; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << OwnerName(QApplication::focusWidget());
    }
    // Tab indexes 1, 2, 3, 5, 6, 7, 9, 10, 11, 12, then round again; the frames (0, 4)
    // and the label (8) are skipped.
    QCOMPARE(visited, (QStringList{"Value", "Parameters", "Version", "Advanced", "Save",
                                   "Description", "Autoupdate", "Autoset", "Loadini", "Group"}));
    // Enter, the keypad's too, presses the focused button as Space does.
    Find<QPushButton>("Loadini")->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(platform_->dialogs.size(), std::size_t{2});
}

void Form1Test::startUp_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("enabled");
    for (const char* name :
         {"Autoupdate", "Parameters", "Advanced", "Version", "Value", "Group", "Save"}) {
        QTest::newRow(name) << name << false;
    }
    for (const char* name : {"Loadini", "Autoset", "Description", "Frame1", "Frame2", "Label1"}) {
        QTest::newRow(name) << name << true;
    }
}

void Form1Test::startUp() {
    QFETCH(QString, name);
    QFETCH(bool, enabled);
    QVERIFY(form_->Load());
    QCOMPARE(form_->findChild<QWidget*>(name)->isEnabled(), enabled);

    auto* version = Find<QComboBox>("Version");
    QCOMPARE(Items(version), (QStringList{"1.0", "2.0"}));
    QCOMPARE(version->currentIndex(), -1);
    QCOMPARE(Find<QComboBox>("Group")->count(), 0);
    QCOMPARE(Find<QListWidget>("Parameters")->count(), 0);
    QCOMPARE(Find<QComboBox>("Value")->count(), 0);
    QVERIFY(platform_->messages.empty());
}

void Form1Test::startUpWithoutBase() {
    QVERIFY(QFile::remove(Path("rvbase.txt")));
    QVERIFY(!form_->Load());
    QCOMPARE(platform_->messages.size(), std::size_t{1});
    QCOMPARE(platform_->messages[0].text, QString::fromUtf8(ravlet::messages::kBaseNotFound));
    QCOMPARE(platform_->messages[0].icon, MessageIcon::Critical);
    QVERIFY(!form_->isVisible());
}

void Form1Test::qtNameFilters_data() {
    QTest::addColumn<Filters>("filters");
    QTest::addColumn<QString>("expected");
    QTest::newRow("settings dialog")
        << kSettingsFilters << "Файл настройки (*.ini);;Текстовый файл (*.txt);;Все файлы (*.*)";
    QTest::newRow("pattern list kept whole")
        << Filters{{"Texts", "*.txt;*.ini"}} << "Texts (*.txt;*.ini)";
    QTest::newRow("none") << Filters{} << "";
}

void Form1Test::qtNameFilters() {
    QFETCH(Filters, filters);
    QFETCH(QString, expected);
    QCOMPARE(ravlet::QtNameFilters(filters), expected);
}

// Load, browse, pick, type, fill from the base, type again, save: the file on disk is
// the loaded one with each visited value rewritten and followed by one space.
void Form1Test::editingSession() {
    QVERIFY(form_->Load());
    auto* version = Find<QComboBox>("Version");
    auto* group = Find<QComboBox>("Group");
    auto* parameters = Find<QListWidget>("Parameters");
    auto* value = Find<QComboBox>("Value");
    auto* description = Find<QPlainTextEdit>("Description");
    const ravlet::Editor& editor = *editor_;

    // Load: the version of TARVEN=2.0.1 is recognised and the cascade shows Video/Mode.
    LoadIni(Path("tarven.ini"));
    QCOMPARE(platform_->dialogs.size(), std::size_t{1});
    QCOMPARE(platform_->dialogs[0].title, QStringLiteral("Открыть tarven.ini"));
    QCOMPARE(platform_->dialogs[0].filter, ravlet::QtNameFilters(kSettingsFilters));
    QCOMPARE(platform_->dialogs[0].fileName, QDir::toNativeSeparators(Path("tarven.ini")));
    QCOMPARE(version->currentText(), QStringLiteral("2.0"));
    for (const char* name :
         {"Autoupdate", "Parameters", "Advanced", "Version", "Value", "Group", "Save"}) {
        QVERIFY2(form_->findChild<QWidget*>(QString::fromLatin1(name))->isEnabled(), name);
    }
    QCOMPARE(Items(group), (QStringList{"[Video]", "[Sound]"}));
    QCOMPARE(group->currentIndex(), 0);
    QCOMPARE(Items(parameters), (QStringList{"Mode", "Layout"}));
    QCOMPARE(parameters->currentRow(), 0);
    QCOMPARE(Items(value), (QStringList{"OFF", "ON"}));
    QCOMPARE(value->currentText(), QStringLiteral("OFF"));
    QCOMPARE(description->toPlainText(), QStringLiteral("Режим экрана"));

    // Select the next parameter and its second value with the keyboard.
    QTest::keyClick(parameters, Qt::Key_Down);
    QCOMPARE(parameters->currentRow(), 1);
    QCOMPARE(Items(value), (QStringList{"QWERTY", "ЙЦУКЕН"}));
    QCOMPARE(value->currentText(), QStringLiteral("QWERTY"));
    QCOMPARE(description->toPlainText(), QStringLiteral("Раскладка клавиатуры"));
    QTest::keyClick(value, Qt::Key_Down);
    QCOMPARE(value->currentText(), QStringLiteral("ЙЦУКЕН"));

    // Another group, then a typed value replacing the offered one.
    QTest::keyClick(group, Qt::Key_Down);
    QCOMPARE(group->currentText(), QStringLiteral("[Sound]"));
    QCOMPARE(Items(parameters), QStringList{"Volume"});
    QCOMPARE(Items(value), (QStringList{"0", "50", "75", "100"}));
    QCOMPARE(value->currentText(), QStringLiteral("100"));
    QTest::keyClick(value->lineEdit(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(value->lineEdit(), QStringLiteral("80"));
    QCOMPARE(value->currentText(), QStringLiteral("80"));
    QCOMPARE(editor.IniText, Text("; Настройки эмулятора⏎"
                                  "TARVEN=2.0.1⏎"
                                  "[Video]⏎"
                                  "Mode=0 ⏎"
                                  "Layout=ЙЦУКЕН ;раскладка⏎"
                                  "[Sound]⏎"
                                  "Volume=80 ⏎"
                                  "Rate=44100⏎"));

    // Autoset: every parameter of 2.0, the full list's Rate included, gets its default;
    // then the first group's first parameter is shown again.
    auto* autoset = Find<QCheckBox>("Autoset");
    QTest::mouseClick(autoset, Qt::LeftButton);
    QVERIFY(autoset->isChecked());
    QCOMPARE(group->currentText(), QStringLiteral("[Video]"));
    QCOMPARE(parameters->currentItem()->text(), QStringLiteral("Mode"));
    QCOMPARE(value->currentText(), QStringLiteral("ON"));
    QVERIFY(parameters->isEnabled() && group->isEnabled() && value->isEnabled());

    // Back to Sound: the default is selected, and the typed value replaces it.
    QTest::keyClick(group, Qt::Key_Down);
    QCOMPARE(value->currentText(), QStringLiteral("75"));
    QTest::keyClick(value->lineEdit(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(value->lineEdit(), QStringLiteral("90"));

    // Save and Exit writes the file, confirms and ends the program.
    QTest::mouseClick(Find<QPushButton>("Save"), Qt::LeftButton);
    QCOMPARE(ReadFile(Path("tarven.ini")), Text("; Настройки эмулятора⏎"
                                                "TARVEN=2.0.1⏎"
                                                "[Video]⏎"
                                                "Mode=1 ⏎"
                                                "Layout=ЙЦУКЕН ;раскладка⏎"
                                                "[Sound]⏎"
                                                "Volume=90 ⏎"
                                                "Rate=22050 ⏎"));
    QCOMPARE(platform_->messages.size(), std::size_t{1});
    QCOMPARE(platform_->messages[0].text, QString::fromUtf8(ravlet::messages::kSaved));
    QCOMPARE(platform_->messages[0].icon, MessageIcon::Information);
    QCOMPARE(platform_->quits, 1);
}

// Auto: the older file chosen in the same dialog, the report in the hint field, and
// the normal pointer again afterwards.
void Form1Test::transferShowsReport() {
    WriteFile(Path("old.ini"), Text("; Старые настройки⏎"
                                    "[Video]⏎"
                                    "Mode=ON⏎"
                                    "[Sound]⏎"
                                    "Volume=25⏎"));
    QVERIFY(form_->Load());
    LoadIni(Path("tarven.ini"));
    platform_->answer = Path("old.ini");
    // Runs at the first pending-event pass after the dialog: the transfer's own yield.
    std::optional<Qt::CursorShape> pointerWhileBusy;
    platform_->onDialog = [&pointerWhileBusy] {
        QTimer::singleShot(0, [&pointerWhileBusy] {
            const QCursor* cursor = QApplication::overrideCursor();
            pointerWhileBusy = cursor != nullptr ? cursor->shape() : Qt::ArrowCursor;
        });
    };
    QTest::mouseClick(Find<QPushButton>("Autoupdate"), Qt::LeftButton);
    QCOMPARE(pointerWhileBusy, std::optional<Qt::CursorShape>(Qt::WaitCursor));

    QCOMPARE(platform_->dialogs.size(), std::size_t{2});
    QCOMPARE(platform_->dialogs[1].title, QStringLiteral("Открыть tarven.ini старой версии"));
    QCOMPARE(platform_->dialogs[1].filter, ravlet::QtNameFilters(kSettingsFilters));
    QCOMPARE(platform_->dialogs[1].fileName, QDir::toNativeSeparators(Path("tarven.ini")));
    QCOMPARE(Find<QPlainTextEdit>("Description")->toPlainText(),
             QStringLiteral("Список перенесенных параметров:\n[Video]Mode=1\n[Sound]Volume=25"));
    QCOMPARE(Find<QComboBox>("Value")->currentText(), QStringLiteral("ON"));
    QCOMPARE(editor_->IniText, Text("; Настройки эмулятора⏎"
                                    "TARVEN=2.0.1⏎"
                                    "[Video]⏎"
                                    "Mode=1 ⏎"
                                    "Layout=QWERTY ;раскладка⏎"
                                    "[Sound]⏎"
                                    "Volume=25 ⏎"
                                    "Rate=44100⏎"));
    QVERIFY(QApplication::overrideCursor() == nullptr);
    QVERIFY(platform_->messages.empty());

    // The carried values reach the disk with Save and Exit, and only then.
    QVERIFY(ReadFile(Path("tarven.ini")) != editor_->IniText);
    QTest::mouseClick(Find<QPushButton>("Save"), Qt::LeftButton);
    QCOMPARE(ReadFile(Path("tarven.ini")), editor_->IniText);
    QCOMPARE(platform_->quits, 1);
}

// Setting a widget from the model raises nothing; only the user's selection does, once.
void Form1Test::userSelectionRaisesClickOnce() {
    QVERIFY(form_->Load());
    LoadIni(Path("tarven.ini"));
    ravlet::Editor& editor = *editor_;
    int groupClicks = 0;
    int parameterClicks = 0;
    int valueClicks = 0;
    int valueChanges = 0;
    auto count = [](std::function<void()>& handler, int& counter) {
        handler = [inner = handler, &counter] {
            ++counter;
            inner();
        };
    };
    count(editor.Group.Click, groupClicks);
    count(editor.Parameters.Click, parameterClicks);
    count(editor.Value.Click, valueClicks);
    count(editor.Value.Change, valueChanges);

    QTest::keyClick(Find<QComboBox>("Group"), Qt::Key_Down);
    QCOMPARE(groupClicks, 1);
    QCOMPARE(parameterClicks, 1);  // the cascade selects the first parameter
    QCOMPARE(valueClicks, 1);      // and its current value

    auto* field = Find<QComboBox>("Value")->lineEdit();
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("42"));
    QCOMPARE(valueChanges, 2);  // one per keystroke
    QCOMPARE(valueClicks, 1);
    QCOMPARE(editor.Value.Text(), std::string("42"));
}

// The hint box: a click shows the whole settings text once the double-click time has
// passed; a drag and a double-click select and keep what it shows; Enter and Space show
// the whole text as a click does. Before a load the text is empty.
void Form1Test::hintBoxGestures_data() {
    QTest::addColumn<QString>("gesture");
    QTest::addColumn<bool>("showsWholeText");
    QTest::addColumn<QString>("selected");
    QTest::newRow("click") << "click" << true << "";
    QTest::newRow("drag") << "drag" << false << "*";  // as much as the font puts there
    QTest::newRow("double-click") << "double-click" << false << "Режим";
    QTest::newRow("Enter") << "Enter" << true << "";
    QTest::newRow("Space") << "Space" << true << "";
    QTest::newRow("Tab moves on") << "Tab" << false << "";
}

void Form1Test::hintBoxGestures() {
    QFETCH(QString, gesture);
    QFETCH(bool, showsWholeText);
    QFETCH(QString, selected);
    QVERIFY(form_->Load());
    auto* description = Find<QPlainTextEdit>("Description");
    description->setPlainText(QStringLiteral("old"));
    QTest::mouseClick(description->viewport(), Qt::LeftButton);
    QTRY_COMPARE(description->toPlainText(), QString());

    LoadIni(Path("tarven.ini"));
    QCOMPARE(description->toPlainText(), QStringLiteral("Режим экрана"));
    QWidget* viewport = description->viewport();
    const QPoint word(4, 6);
    if (gesture == QLatin1String("click")) {
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, word);
    } else if (gesture == QLatin1String("drag")) {
        QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, word);
        QTest::mouseMove(viewport, QPoint(60, 6));
        QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(60, 6));
    } else if (gesture == QLatin1String("double-click")) {
        QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, word);
    } else {
        description->setFocus(Qt::TabFocusReason);
        const Qt::Key key = gesture == QLatin1String("Enter")   ? Qt::Key_Return
                            : gesture == QLatin1String("Space") ? Qt::Key_Space
                                                                : Qt::Key_Tab;
        QTest::keyClick(description, key);
    }
    // Past the double-click time, when a click that waited for it has been taken.
    QTest::qWait(QApplication::doubleClickInterval() + 100);
    const QString whole = QStringLiteral(
        "; Настройки эмулятора\n"
        "TARVEN=2.0.1\n"
        "[Video]\n"
        "Mode=0 \n"
        "Layout=QWERTY ;раскладка\n"
        "[Sound]\n"
        "Volume=100\n"
        "Rate=44100\n");
    QCOMPARE(description->toPlainText(), showsWholeText ? whole : QStringLiteral("Режим экрана"));
    const QString got = description->textCursor().selectedText();
    if (selected == QLatin1String("*")) {
        QVERIFY(!got.isEmpty());
    } else {
        QCOMPARE(got, selected);
    }
}

// Finishing an edit selects nothing: the text typed is what stays written, also when
// it equals an item but for its case ("on" is not "ON", which would be stored as 1).
void Form1Test::typedValueStaysWhenEditingEnds_data() {
    QTest::addColumn<int>("finish");
    QTest::newRow("return key") << int(Qt::Key_Return);
    QTest::newRow("tab key") << int(Qt::Key_Tab);
}

void Form1Test::typedValueStaysWhenEditingEnds() {
    QFETCH(int, finish);
    QVERIFY(ShowWithIni());
    auto* value = Find<QComboBox>("Value");
    QCOMPARE(Items(value), (QStringList{"OFF", "ON"}));
    value->setFocus(Qt::MouseFocusReason);
    value->lineEdit()->selectAll();
    QTest::keyClicks(value->lineEdit(), QStringLiteral("on"));
    QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(finish));
    QCOMPARE(value->currentText(), QStringLiteral("on"));
    QCOMPARE(value->currentIndex(), 0);
    const std::string& ini = editor_->IniText;
    QCOMPARE(ini.substr(ini.find("Mode="), 9), std::string("Mode=on \r"));
}

void Form1Test::valueRefusesTyping_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<std::string>("written");
    QTest::newRow("cyrillic accepted") << "Жёлтый"
                                       << "Жёлтый" << Text("Mode=Жёлтый ⏎");
    QTest::newRow("punctuation accepted") << "№1 «x»"
                                          << "№1 «x»"
                                          << std::string(
                                                 "Mode=\xB9"
                                                 "1 \xABx\xBB \r\n");
    QTest::newRow("chinese refused") << "a中b"
                                     << "ab" << std::string("Mode=ab \r\n");
    QTest::newRow("emoji refused") << "a😀b"
                                   << "ab" << std::string("Mode=ab \r\n");
}

void Form1Test::valueRefusesTyping() {
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(std::string, written);
    QVERIFY(form_->Load());
    LoadIni(Path("tarven.ini"));
    auto* field = Find<QComboBox>("Value")->lineEdit();
    field->selectAll();
    Type(field, typed);
    QCOMPARE(field->text(), shown);
    const std::string& ini = editor_->IniText;
    const std::size_t line = ini.find("Mode=");
    QVERIFY(line != std::string::npos);
    QCOMPARE(ini.substr(line, ini.find('\n', line) + 1 - line), written);
}

void Form1Test::validator_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("acceptable");
    QTest::newRow("empty") << "" << true;
    QTest::newRow("latin, digits, signs") << "Pimlow 128=@,!" << true;
    QTest::newRow("semicolon") << "a;b" << false;
    QTest::newRow("cyrillic with yo") << "ЙЦУКЕН ёЁ" << true;
    QTest::newRow("code page punctuation") << "№ € « » — …" << true;
    QTest::newRow("chinese") << "中" << false;
    QTest::newRow("emoji") << "😀" << false;
    QTest::newRow("lone surrogate") << QString(QChar(0xD83D)) << false;
    QTest::newRow("tab") << "a\tb" << false;
    QTest::newRow("line break") << "a\nb" << false;
    QTest::newRow("delete") << "a\x7f" << false;
    QTest::newRow("C1 control with a byte") << QString(QChar(0x98)) << false;
    QTest::newRow("greek") << "λ" << false;
}

void Form1Test::validator() {
    QFETCH(QString, text);
    QFETCH(bool, acceptable);
    ravlet::Cp1251Validator validator;
    int pos = 0;
    QCOMPARE(validator.validate(text, pos),
             acceptable ? QValidator::Acceptable : QValidator::Invalid);
}

// Checking Autoset and then moving through the versions with the keyboard: each move
// runs a fill that disables Version for a while, and the keys keep reaching it.
void Form1Test::focusReturnsAfterAutosetFill() {
    QVERIFY(ShowWithIni());
    QTest::mouseClick(Find<QCheckBox>("Autoset"), Qt::LeftButton);
    auto* version = Find<QComboBox>("Version");
    version->setFocus(Qt::TabFocusReason);
    QCOMPARE(version->currentText(), QStringLiteral("2.0"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QCOMPARE(version->currentText(), QStringLiteral("1.0"));
    QCOMPARE(OwnerName(QApplication::focusWidget()), QStringLiteral("Version"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QCOMPARE(version->currentText(), QStringLiteral("2.0"));
    QCOMPARE(OwnerName(QApplication::focusWidget()), QStringLiteral("Version"));
    // The second fill ran: 2.0's default for Mode.
    QCOMPARE(Find<QComboBox>("Value")->currentText(), QStringLiteral("ON"));
}

void Form1Test::refusedCharacterIsSignalled_data() {
    QTest::addColumn<bool>("paste");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("said");
    QTest::addColumn<std::string>("mode");  // Mode's value in the file: Windows-1251 bytes
    QTest::addColumn<QString>("shown");
    const QString semicolon =
        QStringLiteral("Символ «;» нельзя записать в файл настроек: с него начинается комментарий");
    const auto control = [](const char* code) {
        return QStringLiteral("Символ «%1» нельзя записать в файл настроек: это управляющий символ")
            .arg(QLatin1String(code));
    };
    QTest::newRow("typed semicolon") << false << ";" << semicolon << std::string("0") << "OFF";
    QTest::newRow("pasted comment") << true << "7 ;note" << semicolon << std::string("0") << "OFF";
    QTest::newRow("pasted tab") << true << "1\t2" << control("U+0009") << std::string("0") << "OFF";
    // Qt takes any edit of a text it already refuses; the window does not.
    QTest::newRow("typed after 0x98 from the file")
        << false << "x" << control("U+0098") << std::string("a\x98") << QStringLiteral("a\u0098");
}

// The field keeps its text, the settings text is not touched, and the tooltip next
// to Value names the refused character.
void Form1Test::refusedCharacterIsSignalled() {
    QFETCH(bool, paste);
    QFETCH(QString, input);
    QFETCH(QString, said);
    QFETCH(std::string, mode);
    QFETCH(QString, shown);
    std::string ini = kIni;
    ini.replace(ini.find("Mode=0"), 6, "Mode=" + mode);
    WriteFile(Path("tarven.ini"), ini);
    QVERIFY(ShowWithIni());
    QToolTip::hideText();
    auto* field = Find<QComboBox>("Value")->lineEdit();
    field->setFocus();
    field->end(false);
    const std::string before = editor_->IniText;
    if (paste) {
        QApplication::clipboard()->setText(input);
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    } else {
        Type(field, input);
    }
    QCOMPARE(field->text(), shown);
    QCOMPARE(editor_->IniText, before);
    QVERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), said);
}

// After Description_Click shows the whole text, a click on the parameter that is
// already selected shows its hint again.
void Form1Test::clickOnSelectedParameterShowsHintAgain() {
    QVERIFY(ShowWithIni());
    auto* description = Find<QPlainTextEdit>("Description");
    auto* parameters = Find<QListWidget>("Parameters");
    const auto clickRow = [parameters](int row) {
        QTest::mouseClick(parameters->viewport(), Qt::LeftButton, Qt::NoModifier,
                          parameters->visualItemRect(parameters->item(row)).center());
    };
    QTest::mouseClick(description->viewport(), Qt::LeftButton);
    QTRY_VERIFY(description->toPlainText().startsWith(QStringLiteral("; Настройки эмулятора")));
    clickRow(0);
    QCOMPARE(description->toPlainText(), QStringLiteral("Режим экрана"));
    // Another row by mouse: the model follows the list.
    clickRow(1);
    QCOMPARE(editor_->Parameters.ListIndex(), 1);
    QCOMPARE(description->toPlainText(), QStringLiteral("Раскладка клавиатуры"));
}

// A wheel turned over a closed drop-down writes nothing unless the user works in it.
void Form1Test::strayWheelChangesNothing_data() {
    QTest::addColumn<QString>("list");
    QTest::addColumn<bool>("focused");
    QTest::newRow("Version, Autoset ticked") << "Version" << false;
    QTest::newRow("Value") << "Value" << false;
    QTest::newRow("Value with the focus") << "Value" << true;
}

void Form1Test::strayWheelChangesNothing() {
    QFETCH(QString, list);
    QFETCH(bool, focused);
    QVERIFY(ShowWithIni());
    QTest::mouseClick(Find<QCheckBox>("Autoset"), Qt::LeftButton);
    auto* combo = Find<QComboBox>(qPrintable(list));
    if (focused) combo->setFocus(Qt::MouseFocusReason);
    const std::string before = editor_->IniText;
    QWheelEvent up(QPointF(5, 5), combo->mapToGlobal(QPointF(5, 5)), {}, {0, 120}, Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(combo, &up);
    QCOMPARE(editor_->IniText != before, focused);
}

void Form1Test::saveAsksWhenFileChangedOnDisk_data() {
    QTest::addColumn<bool>("yes");
    QTest::newRow("Yes overwrites") << true;
    QTest::newRow("No keeps editing") << false;
}

void Form1Test::saveAsksWhenFileChangedOnDisk() {
    QFETCH(bool, yes);
    QVERIFY(ShowWithIni());
    const std::string other = Text("; Другая программа⏎TARVEN=2.0.1⏎");
    WriteFile(Path("tarven.ini"), other);

    // The question is a real message box; answer it once it is up.
    QString asked;
    QString title;
    std::optional<QMessageBox::Icon> icon;
    QTimer answer;
    AnswerQuestion(answer, yes, [&](QMessageBox& box) {
        asked = box.text();
        title = box.windowTitle();
        icon = box.icon();
    });
    QTest::mouseClick(Find<QPushButton>("Save"), Qt::LeftButton);
    QCOMPARE(asked, QStringLiteral(
                        "Файл настроек изменён другой программой после загрузки. Перезаписать?"));
    QCOMPARE(title, QStringLiteral("Ravlet"));
    QCOMPARE(icon, std::optional<QMessageBox::Icon>(QMessageBox::Question));
    if (yes) {
        QCOMPARE(ReadFile(Path("tarven.ini")), editor_->IniText);
        QCOMPARE(platform_->messages.size(), std::size_t{1});
        QCOMPARE(platform_->messages[0].text, QString::fromUtf8(ravlet::messages::kSaved));
        QCOMPARE(platform_->quits, 1);
    } else {
        QCOMPARE(ReadFile(Path("tarven.ini")), other);
        QVERIFY(platform_->messages.empty());
        QCOMPARE(platform_->quits, 0);
        QVERIFY(Find<QPushButton>("Save")->isEnabled());
    }
}

// A key typed in the middle of the value field stays where it was typed, and so does
// the caret: the field shown again from the control keeps what the user is editing.
void Form1Test::typingInTheMiddleKeepsTheCaret() {
    QVERIFY(ShowWithIni());
    auto* value = Find<QComboBox>("Value");
    value->setFocus(Qt::MouseFocusReason);
    value->lineEdit()->selectAll();
    QTest::keyClicks(value->lineEdit(), QStringLiteral("12"));
    value->lineEdit()->setCursorPosition(1);
    QTest::keyClicks(value->lineEdit(), QStringLiteral("0"));
    QCOMPARE(value->currentText(), QStringLiteral("102"));
    QCOMPARE(value->lineEdit()->cursorPosition(), 2);
    QCOMPARE(editor_->Value.Text(), std::string("102"));
    const std::string& ini = editor_->IniText;
    QCOMPARE(ini.substr(ini.find("Mode="), 10), std::string("Mode=102 \r"));
}

// A screen reader's user may set the value field's text through the accessibility
// interface: it is written as typed text is, and a refused text is not.
void Form1Test::textSetByAnAssistiveToolIsWritten() {
    QVERIFY(form_->Load());
    LoadIni(Path("tarven.ini"));
    QLineEdit* field = Find<QComboBox>("Value")->lineEdit();
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(field);
    QVERIFY(accessible != nullptr);
    accessible->setText(QAccessible::Value, QStringLiteral("7"));
    QTRY_COMPARE(editor_->Value.Text(), std::string("7"));
    const std::string& ini = editor_->IniText;
    QCOMPARE(ini.substr(ini.find("Mode="), 8), std::string("Mode=7 \r"));
    accessible->setText(QAccessible::Value, QStringLiteral("漢"));
    QTRY_COMPARE(field->text(), QStringLiteral("7"));
    QCOMPARE(editor_->Value.Text(), std::string("7"));
}

// The window is a window to a screen reader (not a "filler"), and the hint box offers
// the action that shows the whole settings text.
void Form1Test::accessibleRoles() {
    QVERIFY(form_->Load());
    LoadIni(Path("tarven.ini"));
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(form_.get());
    QVERIFY(window != nullptr);
    QCOMPARE(window->role(), QAccessible::Window);
    QCOMPARE(window->text(QAccessible::Name),
             QStringLiteral("Настройщик Tarven Pimlow (Ravlet v1.1)"));
    auto* description = Find<QPlainTextEdit>("Description");
    QAccessibleInterface* hint = QAccessible::queryAccessibleInterface(description);
    QVERIFY(hint != nullptr && hint->actionInterface() != nullptr);
    QVERIFY(
        hint->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    QVERIFY(hint->textInterface() != nullptr);
    QCOMPARE(hint->textInterface()->text(0, hint->textInterface()->characterCount()),
             QStringLiteral("Режим экрана"));
    hint->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QVERIFY(description->toPlainText().startsWith(QStringLiteral("; Настройки эмулятора")));
}

// Another Ravlet writer holds the settings file: within about a second Save asks whether to
// wait on; No leaves the file and the edits as they were, Yes saves once it is free.
void Form1Test::lockWaitAsks_data() {
    QTest::addColumn<bool>("yes");
    QTest::newRow("No stops waiting") << false;
    QTest::newRow("Yes waits on") << true;
}

void Form1Test::lockWaitAsks() {
    QFETCH(bool, yes);
    QVERIFY(ShowWithIni());
    editor_->Value.TypeText("7");
    const std::string path = QDir::toNativeSeparators(Path("tarven.ini")).toStdString();
    std::optional<ravlet::LockedTextFile> other(std::in_place, path);
    QString asked;
    QElapsedTimer clock;
    clock.start();
    qint64 askedAfter = -1;
    QTimer answer;
    AnswerQuestion(answer, yes, [&](QMessageBox& box) {
        asked = box.text();
        askedAfter = clock.elapsed();
        if (yes) other.reset();
    });
    QTest::mouseClick(Find<QPushButton>("Save"), Qt::LeftButton);
    other.reset();
    QCOMPARE(asked,
             QString::fromStdString(ravlet::messages::FileHeld(path, 30, /*byRavlet=*/true)));
    QVERIFY2(askedAfter >= 900 && askedAfter < 3000, qPrintable(QString::number(askedAfter)));
    QCOMPARE(ReadFile(Path("tarven.ini")) == kIni, !yes);
    QCOMPARE(platform_->quits, yes ? 1 : 0);
    QVERIFY(editor_->IniText.find("\r\nMode=7 \r\n") != std::string::npos);
}

// Qt's own buttons and dialogs speak Russian like the window, whatever the locale.
void Form1Test::qtTextsInRussian() {
    QLocale::setDefault(QLocale(QLocale::English));
    QTranslator translator;
    if (!ravlet::InstallQtRussian(translator)) QSKIP("Qt's Russian translations are not installed");
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Да"));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Отмена"));
    QCoreApplication::removeTranslator(&translator);
    QLocale::setDefault(QLocale::system());
}

// The shipped example base and settings file without its VSync line, loaded in the
// window; the note on the missing key shows whole below VSync's hint of two lines. With
// RAVLET_UI_SCREENSHOT set, the loaded window is saved there as a PNG.
void Form1Test::PickSelectAndType() {
    QTest::keyClick(Find<QListWidget>("Parameters"), Qt::Key_Down);
    QTest::keyClick(Find<QComboBox>("Value"), Qt::Key_Down);
    QTest::keyClick(Find<QComboBox>("Group"), Qt::Key_Down);
    QLineEdit* field = Find<QComboBox>("Value")->lineEdit();
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("80"));
}

// Ctrl+Z and Ctrl+Y (or Ctrl+Shift+Z) take back and make again the transfer, the fill and
// a typed value, wherever the focus is, the value field's own undo included; what is
// saved then is what a session without the undone steps saves.
void Form1Test::undoAndRedoByKeys() {
    WriteFile(Path("old.ini"), Text("[Video]⏎Mode=ON⏎[Sound]⏎Volume=25⏎"));
    WriteFile(Path("reference.ini"), kIni);
    QVERIFY(form_->Load());
    LoadIni(Path("tarven.ini"));
    auto* value = Find<QComboBox>("Value");
    auto* autoset = Find<QCheckBox>("Autoset");
    auto* description = Find<QPlainTextEdit>("Description");
    QLineEdit* field = value->lineEdit();

    PickSelectAndType();
    const std::string typed = editor_->IniText;
    // A keystroke after leaving the field is a step of its own.
    form_->show();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    field->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(field, Qt::Key_Tab);
    QVERIFY(!field->hasFocus());
    field->setFocus(Qt::MouseFocusReason);
    field->end(false);
    QTest::keyClicks(field, QStringLiteral("5"));
    QCOMPARE(value->currentText(), QStringLiteral("805"));
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(value->currentText(), QStringLiteral("80"));
    QCOMPARE(editor_->IniText, typed);
    QTest::mouseClick(autoset, Qt::LeftButton);
    const std::string filled = editor_->IniText;
    const QString filledHint = description->toPlainText();
    platform_->answer = Path("old.ini");
    QTest::mouseClick(Find<QPushButton>("Autoupdate"), Qt::LeftButton);
    const std::string carried = editor_->IniText;
    QVERIFY(typed != filled && filled != carried);

    // The transfer, from the value field: the hint it replaced is back.
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(editor_->IniText, filled);
    QCOMPARE(description->toPlainText(), filledHint);
    // The fill, from the parameter list: the box is unchecked, the typed value back.
    QTest::keyClick(Find<QListWidget>("Parameters"), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(editor_->IniText, typed);
    QVERIFY(!autoset->isChecked());
    QCOMPARE(Find<QComboBox>("Group")->currentText(), QStringLiteral("[Sound]"));
    QCOMPARE(value->currentText(), QStringLiteral("80"));
    // The typed run is one step; redone with both keys, then the fill undone again.
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(value->currentText(), QStringLiteral("100"));
    QTest::keyClick(field, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(value->currentText(), QStringLiteral("80"));
    QCOMPARE(editor_->IniText, typed);
    QTest::keyClick(form_.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(editor_->IniText, filled);
    QVERIFY(autoset->isChecked());
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(editor_->IniText, typed);
    QTest::mouseClick(Find<QPushButton>("Save"), Qt::LeftButton);
    QCOMPARE(platform_->quits, 1);

    // The same session without the fill and the transfer, saved to a copy.
    form_.reset();
    editor_ = std::make_unique<ravlet::Editor>(*platform_);
    form_ = std::make_unique<ravlet::Form1>(*editor_);
    QVERIFY(form_->Load());
    LoadIni(Path("reference.ini"));
    PickSelectAndType();
    QTest::mouseClick(Find<QPushButton>("Save"), Qt::LeftButton);
    QCOMPARE(platform_->quits, 2);
    QCOMPARE(ReadFile(Path("tarven.ini")), ReadFile(Path("reference.ini")));
    // Kept for a comparison by hand (cmp) when asked for.
    const QString keep = qEnvironmentVariable("RAVLET_KEEP_SAVED");
    if (!keep.isEmpty()) {
        for (const char* name : {"tarven.ini", "reference.ini"}) {
            QFile::remove(QDir(keep).filePath(QString::fromLatin1(name)));
            QVERIFY(QFile::copy(Path(name), QDir(keep).filePath(QString::fromLatin1(name))));
        }
    }
}

void Form1Test::examplesWindow() {
    const QString examples = QStringLiteral(RAVLET_EXAMPLES_DIR);
    if (!QFile::exists(examples + QStringLiteral("/rvbase.txt"))) QSKIP("no example base");
    QVERIFY(QFile::remove(Path("rvbase.txt")) && QFile::remove(Path("tarven.ini")));
    QVERIFY(QFile::copy(examples + QStringLiteral("/rvbase.txt"), Path("rvbase.txt")));
    std::string ini = ReadFile(examples + QStringLiteral("/tarven.ini"));
    ini.erase(ini.find("VSync=1\r\n"), 9);
    WriteFile(Path("tarven.ini"), ini);

    QVERIFY(ShowWithIni());
    QVERIFY(platform_->messages.empty());
    QVERIFY(Find<QComboBox>("Group")->count() > 0);
    QCOMPARE(Find<QListWidget>("Parameters")->currentRow(), 0);
    auto* description = Find<QPlainTextEdit>("Description");
    QVERIFY(!description->toPlainText().isEmpty());
    auto* parameters = Find<QListWidget>("Parameters");
    QTest::keyClick(parameters, Qt::Key_End);
    QCOMPARE(parameters->currentItem()->text(), QStringLiteral("VSync"));
    QCOMPARE(description->document()->lineCount(), 3);
    QTextCursor end(description->document());
    end.movePosition(QTextCursor::End);
    QVERIFY(description->cursorRect(end).bottom() < description->viewport()->height());

    const QString shot = qEnvironmentVariable("RAVLET_UI_SCREENSHOT");
    if (!shot.isEmpty()) {
        QTest::qWait(300);
        // On a real display, the pixels the display server shows; offscreen, the
        // window's own rendering.
        QPixmap pixels =
            form_->screen()->grabWindow(0, form_->x(), form_->y(), form_->width(), form_->height());
        if (pixels.isNull() || QGuiApplication::platformName() == QLatin1String("offscreen"))
            pixels = form_->grab();
        QVERIFY(pixels.save(shot));
    }
}

// Without any display, or with one that cannot be reached, the program says how to run
// it instead of aborting; --version, --help and a path that is not there are answered
// before a display is looked for.
void Form1Test::noDisplay() {
    struct Case {
        QString display;  // empty: none set
        QStringList args;
        int exitCode;
        bool onStdout;
        QStringList says;
    };
    const Case cases[] = {
        {{}, {}, 2, false, {QStringLiteral("нет дисплея"), QStringLiteral("xvfb-run -a ravlet")}},
        {{}, {dir_->path()}, 2, false, {QStringLiteral("нет дисплея")}},
        {":9999",
         {},
         2,
         false,
         {QStringLiteral("дисплей «:9999» недоступен"), QStringLiteral("xvfb-run -a ravlet")}},
        {{}, {QStringLiteral("--version")}, 0, true, {QStringLiteral("ravlet 1.1")}},
        {{}, {QStringLiteral("--help")}, 0, true, {QStringLiteral("ravlet [ПАПКА | ФАЙЛ]")}},
        {{}, {dir_->path() + QStringLiteral("/missing")}, 2, false, {QStringLiteral("missing")}},
    };
    for (const Case& c : cases) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
            environment.remove(QString::fromLatin1(name));
        }
        if (!c.display.isEmpty()) environment.insert(QStringLiteral("DISPLAY"), c.display);
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(dir_->path());
        process.start(QStringLiteral(RAVLET_APP_PATH), c.args);
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), c.exitCode);
        const QString said = QString::fromUtf8(c.onStdout ? process.readAllStandardOutput()
                                                          : process.readAllStandardError());
        for (const QString& part : c.says)
            QVERIFY2(said.contains(part), qPrintable(c.args.join(' ') + ": " + said));
        QVERIFY2(!said.contains(QStringLiteral("qt.qpa")), qPrintable(said));
    }
}

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
