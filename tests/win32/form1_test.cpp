// The real window on Windows' controls: its components as the window description gives
// them at 96 DPI, and an editing session driven through the controls' own messages.
#include "win32/form1.hpp"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "editor/editor.hpp"
#include "editor/messages.hpp"
#include "support/files.hpp"
#include "textengine/codepage.hpp"
#include "textengine/text_file.hpp"
#include "win32/win_platform.hpp"

namespace {

namespace fs = std::filesystem;
using ravlet::win32::Wide;

// The Windows platform with its dialogs scripted and its messages and quits recorded.
class ScriptedPlatform : public ravlet::win32::WinPlatform {
public:
    std::deque<std::string> answers;  // the files the open dialog returns, in turn
    std::vector<ravlet::OpenDialogRequest> requests;
    std::vector<std::string> messages;
    int quits = 0;

    std::optional<std::string> ShowOpenDialog(const ravlet::OpenDialogRequest& request) override {
        requests.push_back(request);
        if (answers.empty()) return std::nullopt;
        std::string answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void ShowMessage(const std::string& text, ravlet::MessageIcon) override {
        messages.push_back(text);
    }
    bool AskYesNo(const std::string& text) override {
        messages.push_back(text);
        return false;
    }
    void Quit() override { ++quits; }
};

std::wstring TextOf(HWND hwnd) {
    wchar_t text[4096] = {};
    ::GetWindowTextW(hwnd, text, 4096);
    return text;
}

std::wstring ComboItem(HWND combo, int i) {
    wchar_t text[512] = {};
    ::SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    return text;
}

std::wstring ListItem(HWND list, int i) {
    wchar_t text[512] = {};
    ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    return text;
}

std::wstring ToolTipOf(HWND tips, HWND owner, HWND tool) {
    wchar_t text[512] = {};
    TOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = owner;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = text;
    ::SendMessageW(tips, TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&info));
    return text;
}

// The editor's Windows-1251 text as the controls show it.
std::wstring Shown(const std::string& cp1251) { return Wide(ravlet::Cp1251ToUtf8(cp1251)); }

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

void Click(HWND hwnd, int x, int y) {
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, At(x, y));
}

void ClickRow(HWND list, int row) {
    RECT r{};
    ::SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
    Click(list, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

// A window over a copy of the examples in a folder with a Cyrillic name, the working folder.
class Win32WindowTest : public testing::Test {
protected:
    void SetUp() override {
        dir_ = ravlet::test::MakeTempDir("ravlet-окно-");
        for (const char* name : {"rvbase.txt", "tarven.ini"}) {
            fs::copy_file(fs::path(RAVLET_EXAMPLES_DIR) / name, dir_ / name);
        }
        ASSERT_TRUE(::SetCurrentDirectoryW(dir_.wstring().c_str()));
        form_ = std::make_unique<ravlet::win32::Form1>(platform_, editor_);
        platform_.SetWindow(form_->Window());
        platform_.dispatch = [this](MSG& msg) { form_->Dispatch(msg); };
        ASSERT_TRUE(form_->Load());
        form_->Show();
    }
    void TearDown() override {
        form_.reset();
        ::SetCurrentDirectoryW(fs::temp_directory_path().wstring().c_str());
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    HWND C(const char* name) const { return form_->Control(name); }

    // Runs the messages waiting for the window, as its loop would.
    void Pump() {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) form_->Dispatch(msg);
    }

    std::string Utf8(const fs::path& path) const {
        const std::u8string text = path.u8string();
        return std::string(text.begin(), text.end());
    }

    fs::path dir_;
    ScriptedPlatform platform_;
    ravlet::Editor editor_{platform_};
    std::unique_ptr<ravlet::win32::Form1> form_;
};

TEST_F(Win32WindowTest, ComponentsHaveTheirKindPlaceTextsAndTabOrderAt96Dpi) {
    ASSERT_EQ(::GetDpiForWindow(form_->Window()), 96u);
    RECT client{};
    ::GetClientRect(form_->Window(), &client);
    EXPECT_EQ(client.right, 345);
    EXPECT_EQ(client.bottom, 329);
    EXPECT_EQ(TextOf(form_->Window()), L"Настройщик Tarven Pimlow (Ravlet v1.1)");
    const LONG style = ::GetWindowLongW(form_->Window(), GWL_STYLE);
    EXPECT_FALSE(style & (WS_MAXIMIZEBOX | WS_THICKFRAME));

    struct Row {
        const char* name;
        const wchar_t* cls;
        LONG styleMask, style;  // the kind, in the class's style bits
        const char* parent;
        RECT rect;  // left, top, right, bottom in the parent, pixels
        const wchar_t* caption;
        const wchar_t* toolTip;
    };
    const Row rows[] = {
        {"Save",
         L"Button",
         0xF,
         BS_PUSHBUTTON,
         "Form1",
         {192, 296, 337, 323},
         L"Save and Exit",
         L"Запись измененного ini файла и выход"},
        {"Frame2",
         L"Button",
         0xF,
         BS_GROUPBOX,
         "Form1",
         {8, 8, 337, 89},
         L"Версия tarven.ini",
         L""},
        {"Loadini",
         L"Button",
         0xF,
         BS_PUSHBUTTON,
         "Frame2",
         {264, 45, 321, 72},
         L"Load",
         L"Загрузить файл ini для настройки"},
        {"Autoset",
         L"Button",
         0xF,
         BS_CHECKBOX,
         "Frame2",
         {8, 40, 193, 57},
         L"Заполнить значениями из базы",
         L"Разрешить перенос параметров из текущей записи версии в редактируемый ini файл"},
        {"Autoupdate",
         L"Button",
         0xF,
         BS_PUSHBUTTON,
         "Frame2",
         {200, 45, 257, 72},
         L"Auto",
         L"Перенос настроек из старой версии эмулятора в новую"},
        {"Advanced",
         L"Button",
         0xF,
         BS_CHECKBOX,
         "Frame2",
         {8, 56, 209, 73},
         L"Полный список параметров",
         L"Разрешить отображение полного списка доступных для изменения параметров"},
        {"Version",
         L"ComboBox",
         0x3,
         CBS_DROPDOWNLIST,
         "Frame2",
         {8, 16, 321, 38},
         L"",
         L"Выбор записи версии эмулятора из базы версий"},
        {"Frame1",
         L"Button",
         0xF,
         BS_GROUPBOX,
         "Form1",
         {8, 96, 337, 289},
         L"Насторйка параметров",
         L""},
        {"Description",
         L"Edit",
         ES_MULTILINE | ES_READONLY | WS_VSCROLL,
         ES_MULTILINE | ES_READONLY | WS_VSCROLL,
         "Frame1",
         {8, 137, 321, 185},
         L"",
         L"Поле подсказки"},
        {"Parameters",
         L"ListBox",
         LBS_SORT | LBS_MULTIPLESEL | LBS_EXTENDEDSEL,
         0,
         "Frame1",
         {8, 43, 321, 103},
         L"",
         L"Список доступных параметров в выбранной группе"},
        {"Value",
         L"ComboBox",
         0x3,
         CBS_DROPDOWN,
         "Frame1",
         {8, 109, 321, 131},
         L"",
         L"Поле изменения значения параметра"},
        {"Group",
         L"ComboBox",
         0x3,
         CBS_DROPDOWNLIST,
         "Frame1",
         {8, 16, 321, 38},
         L"",
         L"Список доступных групп параметров"},
        // The label is at least as wide as described: it grows to its one line.
        {"Label1",
         L"Static",
         0,
         0,
         "Form1",
         {8, 299, 156, 318},
         L"© 2026 the Ravlet authors",
         L"Автор программы"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const HWND hwnd = C(row.name);
        ASSERT_NE(hwnd, nullptr);
        wchar_t cls[64] = {};
        ::GetClassNameW(hwnd, cls, 64);
        EXPECT_STREQ(cls, row.cls);
        EXPECT_EQ(::GetWindowLongW(hwnd, GWL_STYLE) & row.styleMask, row.style);
        const HWND parent =
            std::string_view(row.parent) == "Form1" ? form_->Window() : C(row.parent);
        EXPECT_EQ(::GetParent(hwnd), parent);
        RECT r{};
        ::GetWindowRect(hwnd, &r);
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, row.rect.left);
        EXPECT_EQ(r.top, row.rect.top);
        EXPECT_EQ(r.bottom, row.rect.bottom);
        if (std::string_view(row.name) == "Label1") {
            EXPECT_GE(r.right, row.rect.right);
        } else {
            EXPECT_EQ(r.right, row.rect.right);
        }
        EXPECT_EQ(TextOf(hwnd), row.caption);
        EXPECT_EQ(ToolTipOf(form_->ToolTips(), form_->Window(), hwnd), row.toolTip);
    }

    // Tab walks the enabled components in ascending tab index; before a load only
    // these take the focus.
    const std::vector<std::string> order = {"Description", "Autoset", "Loadini", "Description"};
    ::SetFocus(C("Loadini"));
    std::vector<std::string> seen;
    for (std::size_t i = 0; i < order.size(); ++i) {
        ::PostMessageW(::GetFocus(), WM_KEYDOWN, VK_TAB, 0);
        Pump();
        for (const auto& c : ravlet::window::kComponents) {
            if (C(c.name) == ::GetFocus()) seen.push_back(c.name);
        }
    }
    EXPECT_EQ(seen, order);
}

TEST_F(Win32WindowTest, ASessionThroughTheControlsOwnMessages) {
    const std::string ini = Utf8(dir_ / "tarven.ini");
    platform_.answers.push_back(ini);
    ::SendMessageW(C("Loadini"), BM_CLICK, 0, 0);
    ASSERT_EQ(platform_.requests.size(), 1u);
    EXPECT_EQ(platform_.requests[0].fileName, ini);
    EXPECT_EQ(platform_.requests[0].title, ravlet::messages::kOpenTitle);
    // The detected version, its first group and parameter, as the controls show them.
    EXPECT_EQ(TextOf(C("Version")), L"2.0");
    EXPECT_EQ(TextOf(C("Group")), L"[Video]");
    EXPECT_EQ(::SendMessageW(C("Parameters"), LB_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(::IsWindowEnabled(C("Save")));

    // A selection: the next group, by the arrow key in the closed drop-down.
    ::SetFocus(C("Group"));
    ::SendMessageW(C("Group"), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(TextOf(C("Group")), L"[Sound]");
    ASSERT_EQ(::SendMessageW(C("Parameters"), LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(ListItem(C("Parameters"), 1), L"Volume");
    EXPECT_EQ(::GetFocus(), C("Group"));

    // One click on a row is one Click, whatever the list box reports on press and release.
    int parameterClicks = 0;
    const std::function<void()> parametersClick = editor_.Parameters.Click;
    editor_.Parameters.Click = [&] {
        ++parameterClicks;
        parametersClick();
    };
    ClickRow(C("Parameters"), 1);
    EXPECT_EQ(parameterClicks, 1);
    EXPECT_EQ(TextOf(C("Value")), L"50");
    EXPECT_EQ(ComboItem(C("Value"), 4), L"100");
    EXPECT_EQ(TextOf(C("Description")), L"Громкость звука в процентах");

    // A typed value reaches the settings text keystroke by keystroke; ';' is refused,
    // with a beep and the balloon naming it.
    const HWND edit = ::GetWindow(C("Value"), GW_CHILD);
    ::SetFocus(edit);
    ::SendMessageW(edit, EM_SETSEL, 0, -1);
    for (const wchar_t ch : std::wstring(L"7;5")) ::SendMessageW(edit, WM_CHAR, ch, 0);
    EXPECT_EQ(TextOf(C("Value")), L"75");
    EXPECT_NE(editor_.IniText.find("\r\nVolume=75 \r\n"), std::string::npos);
    wchar_t tip[256] = {};
    TOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = form_->Window();
    info.uId = 1;
    info.lpszText = tip;
    ::SendMessageW(form_->RefusedTip(), TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(std::wstring(tip), L"Символ «;» нельзя записать в файл настроек");

    // A drag in the hint field selects and is no click; a click shows the settings text;
    // a click on the selected parameter shows its hint again.
    const HWND description = C("Description");
    ::SendMessageW(description, WM_LBUTTONDOWN, MK_LBUTTON, At(2, 4));
    ::SendMessageW(description, WM_MOUSEMOVE, MK_LBUTTON, At(120, 4));
    ::SendMessageW(description, WM_LBUTTONUP, 0, At(120, 4));
    DWORD from = 0, to = 0;
    ::SendMessageW(description, EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                   reinterpret_cast<LPARAM>(&to));
    EXPECT_LT(from, to);
    EXPECT_EQ(TextOf(description), L"Громкость звука в процентах");
    Click(description, 4, 4);
    EXPECT_EQ(TextOf(description), Shown(editor_.IniText));
    ClickRow(C("Parameters"), 1);
    EXPECT_EQ(parameterClicks, 2);
    EXPECT_EQ(TextOf(description), L"Громкость звука в процентах");
    EXPECT_EQ(TextOf(C("Value")), L"75");

    // A wheel turn over the version list, which has no focus, changes nothing.
    ::SetFocus(C("Parameters"));
    const std::string before = editor_.IniText;
    ::SendMessageW(C("Version"), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), At(50, 30));
    EXPECT_EQ(::SendMessageW(C("Version"), CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(TextOf(C("Group")), L"[Sound]");
    EXPECT_EQ(editor_.IniText, before);

    // The fill from base defaults disables the box that started it; the focus comes back.
    ::SetFocus(C("Autoset"));
    ::SendMessageW(C("Autoset"), BM_CLICK, 0, 0);
    EXPECT_EQ(::SendMessageW(C("Autoset"), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(::GetFocus(), C("Autoset"));
    EXPECT_NE(editor_.IniText.find("\r\nVolume=50 \r\n"), std::string::npos);

    // Enter on the focused Save button presses it: the file holds the edited text.
    ::SetFocus(C("Save"));
    ::PostMessageW(C("Save"), WM_KEYDOWN, VK_RETURN, 0);
    Pump();
    ASSERT_EQ(platform_.messages, std::vector<std::string>{ravlet::messages::kSaved});
    EXPECT_EQ(platform_.quits, 1);
    EXPECT_EQ(ravlet::LoadTextFile(ini), editor_.IniText);
}

// Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z take back and make again the transfer, the fill and a
// typed value, the value field's own undo included; what is saved then is what the same
// session without the undone steps saves.
TEST_F(Win32WindowTest, UndoAndRedoByKeysSaveAsIfTheStepsWereNeverMade) {
    const HWND edit = ::GetWindow(C("Value"), GW_CHILD);
    const auto load = [&](const char* name) {
        platform_.answers.push_back(Utf8(dir_ / name));
        ::SendMessageW(C("Loadini"), BM_CLICK, 0, 0);
    };
    // The next group, its second parameter, and 75 typed over its value.
    const auto selectPickAndType = [&] {
        ::SetFocus(C("Group"));
        ::SendMessageW(C("Group"), WM_KEYDOWN, VK_DOWN, 0);
        ClickRow(C("Parameters"), 1);
        ::SetFocus(edit);
        ::SendMessageW(edit, EM_SETSEL, 0, -1);
        for (const wchar_t ch : std::wstring(L"75")) ::SendMessageW(edit, WM_CHAR, ch, 0);
    };
    const auto save = [&] {
        ::SendMessageW(C("Save"), BM_CLICK, 0, 0);
        ASSERT_EQ(platform_.messages.back(), ravlet::messages::kSaved);
    };
    // Keys as the message loop gets them, Ctrl (and Shift) held.
    const auto press = [&](HWND target, WPARAM key, bool shift) {
        BYTE keys[256] = {};
        ::GetKeyboardState(keys);
        keys[VK_CONTROL] = 0x80;
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        ::SetKeyboardState(keys);
        ::PostMessageW(target, WM_KEYDOWN, key, 0);
        Pump();
        keys[VK_CONTROL] = keys[VK_SHIFT] = 0;
        ::SetKeyboardState(keys);
    };

    fs::copy_file(dir_ / "tarven.ini", dir_ / "reference.ini");
    load("reference.ini");
    selectPickAndType();
    save();

    load("tarven.ini");
    selectPickAndType();
    const std::string typed = editor_.IniText;
    // A keystroke after leaving the field is a step of its own.
    ::SetFocus(C("Parameters"));
    ::SetFocus(edit);
    ::SendMessageW(edit, EM_SETSEL, 2, 2);
    ::SendMessageW(edit, WM_CHAR, L'5', 0);
    EXPECT_EQ(TextOf(C("Value")), L"755");
    press(edit, 'Z', false);
    EXPECT_EQ(TextOf(C("Value")), L"75");
    EXPECT_EQ(editor_.IniText, typed);
    ::SendMessageW(C("Autoset"), BM_CLICK, 0, 0);
    const std::string filled = editor_.IniText;
    const std::wstring filledHint = TextOf(C("Description"));
    ravlet::test::WriteBytes(dir_ / "old.ini", "[Sound]\r\nVolume=25\r\n");
    platform_.answers.push_back(Utf8(dir_ / "old.ini"));
    ::SendMessageW(C("Autoupdate"), BM_CLICK, 0, 0);
    ASSERT_NE(editor_.IniText, filled);
    ASSERT_NE(filled, typed);

    press(edit, 'Z', false);  // the transfer: its report gives way to the hint before it
    EXPECT_EQ(editor_.IniText, filled);
    EXPECT_EQ(TextOf(C("Description")), filledHint);
    press(C("Parameters"), 'Z', false);  // the fill: the box unchecked, the typed value back
    EXPECT_EQ(editor_.IniText, typed);
    EXPECT_EQ(::SendMessageW(C("Autoset"), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(TextOf(C("Group")), L"[Sound]");
    EXPECT_EQ(TextOf(C("Value")), L"75");
    press(edit, 'Z', false);  // the typed run, one step
    EXPECT_EQ(TextOf(C("Value")), L"50");
    press(edit, 'Y', false);
    EXPECT_EQ(TextOf(C("Value")), L"75");
    EXPECT_EQ(editor_.IniText, typed);
    press(C("Version"), 'Z', true);  // Ctrl+Shift+Z: the fill again
    EXPECT_EQ(editor_.IniText, filled);
    EXPECT_EQ(::SendMessageW(C("Autoset"), BM_GETCHECK, 0, 0), BST_CHECKED);
    press(edit, 'Z', false);
    EXPECT_EQ(editor_.IniText, typed);
    save();
    EXPECT_EQ(ravlet::LoadTextFile(Utf8(dir_ / "tarven.ini")),
              ravlet::LoadTextFile(Utf8(dir_ / "reference.ini")));
    // Kept for a comparison by hand (cmp) when asked for.
    if (const char* keep = std::getenv("RAVLET_KEEP_SAVED")) {
        for (const char* name : {"tarven.ini", "reference.ini"}) {
            fs::copy_file(dir_ / name, fs::path(keep) / name, fs::copy_options::overwrite_existing);
        }
    }
}

}  // namespace
