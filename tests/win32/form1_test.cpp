// The real window on Windows' controls: its components as the window description gives
// them at 96 DPI, and an editing session driven through the controls' own messages.
#include "win32/form1.hpp"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <oleacc.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "editor/editor.hpp"
#include "editor/messages.hpp"
#include "support/files.hpp"
#include "support/window_check.hpp"
#include "textengine/wide_text.hpp"
#include "textengine/codepage.hpp"
#include "textengine/text_file.hpp"
#include "win32/win_platform.hpp"

namespace {

namespace fs = std::filesystem;
std::wstring Wide(const std::string& utf8) { return ravlet::Utf8ToWide(utf8).value_or(L"?"); }

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

    // Waits out the double-click time, after which a click in the hint box is taken.
    void SettleClicks() {
        ::Sleep(::GetDoubleClickTime() + 50);
        Pump();
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

std::string Utf8(const std::wstring& wide) { return ravlet::WideToUtf8(wide).value_or("?"); }

// The name and description a screen reader gets for a control, through MSAA.
std::pair<std::string, std::string> AccessibleTexts(HWND hwnd) {
    IAccessible* accessible = nullptr;
    if (FAILED(::AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT),
                                            __uuidof(IAccessible),
                                            reinterpret_cast<void**>(&accessible)))) {
        return {"<no MSAA object>", ""};
    }
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    std::pair<std::string, std::string> texts;
    BSTR text = nullptr;
    if (accessible->get_accName(self, &text) == S_OK && text) texts.first = Utf8(text);
    ::SysFreeString(text);
    text = nullptr;
    if (accessible->get_accDescription(self, &text) == S_OK && text) texts.second = Utf8(text);
    ::SysFreeString(text);
    accessible->Release();
    return texts;
}

// Every component as the window description gives it at 96 DPI, before start-up: kind,
// container, place, texts, the names a screen reader gets, font, colour, design state.
TEST(Win32Window, BuiltFromTheDescription) {
    // The accessible objects come through COM, as they come to a screen reader.
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    ScriptedPlatform platform;
    ravlet::Editor editor(platform);
    ravlet::win32::Form1 form(platform, editor);
    ASSERT_EQ(::GetDpiForWindow(form.Window()), 96u);
    RECT client{};
    ::GetClientRect(form.Window(), &client);
    EXPECT_EQ(client.right, 345);
    EXPECT_EQ(client.bottom, 329);
    EXPECT_EQ(TextOf(form.Window()), L"Настройщик Tarven Pimlow (Ravlet v1.1)");
    const LONG style = ::GetWindowLongW(form.Window(), GWL_STYLE);
    EXPECT_FALSE(style & (WS_MAXIMIZEBOX | WS_THICKFRAME));

    const auto read = [&form](const ravlet::window::Component& c) {
        ravlet::test::BuiltComponent b;
        const HWND hwnd = form.Control(c.name);
        if (hwnd == nullptr) return b;
        b.found = true;
        wchar_t cls[64] = {};
        ::GetClassNameW(hwnd, cls, 64);
        const std::wstring kind = cls;
        const LONG s = ::GetWindowLongW(hwnd, GWL_STYLE);
        // Its window class, and the style bits under `mask` equal to `style`.
        const auto is = [&](const wchar_t* windowClass, LONG mask, LONG style) {
            return kind == windowClass && (s & mask) == style;
        };
        constexpr LONG kReadOnlyText = ES_MULTILINE | ES_READONLY | WS_VSCROLL;
        switch (c.kind) {
            using K = ravlet::window::Kind;
            case K::Frame:
                b.kindMatches = is(L"Button", 0xF, BS_GROUPBOX);
                break;
            case K::PushButton:
                b.kindMatches = is(L"Button", 0xF, BS_PUSHBUTTON);
                break;
            case K::CheckBox:
                b.kindMatches = is(L"Button", 0xF, BS_CHECKBOX);
                break;
            case K::DropDownList:
                b.kindMatches = is(L"ComboBox", 3, CBS_DROPDOWNLIST);
                break;
            case K::EditableDropDown:
                b.kindMatches = is(L"ComboBox", 3, CBS_DROPDOWN);
                break;
            case K::ListBox:
                b.kindMatches = is(L"ListBox", LBS_SORT | LBS_MULTIPLESEL | LBS_EXTENDEDSEL, 0);
                break;
            case K::TextBox:
                b.kindMatches = is(L"Edit", kReadOnlyText, kReadOnlyText);
                break;
            case K::Label:
                b.kindMatches = kind == L"Static";
                break;
        }
        const HWND parent = ::GetParent(hwnd);
        b.container = parent == form.Window() ? "Form1" : "?";
        for (const auto& other : ravlet::window::kComponents) {
            if (form.Control(other.name) == parent) b.container = other.name;
        }
        RECT r{};
        ::GetWindowRect(hwnd, &r);
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        b.left = r.left;
        b.top = r.top;
        b.width = r.right - r.left;
        b.height = r.bottom - r.top;
        b.caption = Utf8(TextOf(hwnd));
        b.toolTip = Utf8(ToolTipOf(form.ToolTips(), form.Window(), hwnd));
        std::tie(b.accessibleName, b.accessibleDescription) = AccessibleTexts(hwnd);
        LOGFONTW font{};
        ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof font,
                     &font);
        if (std::wstring_view(font.lfFaceName) != L"Tahoma") {
            b.fontFamily = Utf8(font.lfFaceName);
            b.pointSize = -font.lfHeight * 72.0 / 96;
            b.bold = font.lfWeight >= FW_BOLD;
            b.italic = font.lfItalic != 0;
        }
        // The colour the parent hands the control's drawing (the system's own, by default).
        const HDC dc = ::CreateCompatibleDC(nullptr);
        constexpr COLORREF kUnset = RGB(1, 2, 3);
        ::SetTextColor(dc, kUnset);
        ::SendMessageW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                       reinterpret_cast<LPARAM>(hwnd));
        const COLORREF colour = ::GetTextColor(dc);
        ::DeleteDC(dc);
        b.systemColour = colour == kUnset || colour == ::GetSysColor(COLOR_WINDOWTEXT);
        b.red = GetRValue(colour);
        b.green = GetGValue(colour);
        b.blue = GetBValue(colour);
        b.enabled = ::IsWindowEnabled(hwnd) != FALSE;
        b.visible = (s & WS_VISIBLE) != 0;
        return b;
    };
    EXPECT_EQ(ravlet::test::DescriptionMismatches(read, 96), std::vector<std::string>{});

    // The push buttons lie above the other components (Auto shares a corner with the
    // full-list box) and no sibling paints over another.
    for (const auto& c : ravlet::window::kComponents) {
        SCOPED_TRACE(c.name);
        const HWND hwnd = form.Control(c.name);
        EXPECT_TRUE(::GetWindowLongW(hwnd, GWL_STYLE) & WS_CLIPSIBLINGS);
        if (ravlet::window::DrawnOnTop(c.kind)) {
            for (HWND above = ::GetWindow(hwnd, GW_HWNDPREV); above;
                 above = ::GetWindow(above, GW_HWNDPREV)) {
                EXPECT_EQ(::GetWindowLongW(above, GWL_STYLE) & 0xF, BS_PUSHBUTTON);
            }
        }
    }
    ::CoUninitialize();
}

TEST_F(Win32WindowTest, TabWalksTheComponentsInTabIndexOrder) {
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
    EXPECT_EQ(std::wstring(tip),
              L"Символ «;» нельзя записать в файл настроек: с него начинается комментарий");

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
    SettleClicks();
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

// The hint box's gestures: a double-click selects a word and keeps what the box shows;
// Enter, Space and the accessibility interface's default action show the whole text.
// The value field: typing in the middle keeps the caret there; a text an assistive tool
// sets is written as typed text is.
TEST_F(Win32WindowTest, GesturesOfTheHintBoxAndTheValueField) {
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    platform_.answers.push_back(Utf8(dir_ / "tarven.ini"));
    ::SendMessageW(C("Loadini"), BM_CLICK, 0, 0);
    const HWND description = C("Description");
    const std::wstring hint = TextOf(description);
    ASSERT_FALSE(hint.empty());
    const std::wstring whole = Shown(editor_.IniText);

    ::SendMessageW(description, WM_LBUTTONDOWN, MK_LBUTTON, At(4, 4));
    ::SendMessageW(description, WM_LBUTTONUP, 0, At(4, 4));
    ::SendMessageW(description, WM_LBUTTONDBLCLK, MK_LBUTTON, At(4, 4));
    ::SendMessageW(description, WM_LBUTTONUP, 0, At(4, 4));
    SettleClicks();
    EXPECT_EQ(TextOf(description), hint);
    DWORD from = 0, to = 0;
    ::SendMessageW(description, EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                   reinterpret_cast<LPARAM>(&to));
    EXPECT_LT(from, to);

    for (const WPARAM key : {VK_RETURN, VK_SPACE}) {
        SCOPED_TRACE(key == VK_RETURN ? "Enter" : "Space");
        ::SendMessageW(C("Parameters"), LB_SETCURSEL, 0, 0);
        editor_.Description.SetText("hint");
        ::SetFocus(description);
        ::PostMessageW(description, WM_KEYDOWN, key, 0);
        Pump();
        EXPECT_EQ(TextOf(description), whole);
    }

    editor_.Description.SetText("hint");
    IAccessible* accessible = nullptr;
    ASSERT_EQ(
        ::AccessibleObjectFromWindow(description, static_cast<DWORD>(OBJID_CLIENT),
                                     __uuidof(IAccessible), reinterpret_cast<void**>(&accessible)),
        S_OK);
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR action = nullptr;
    ASSERT_EQ(accessible->get_accDefaultAction(self, &action), S_OK);
    EXPECT_EQ(Utf8(action), ravlet::messages::kShowWholeText);
    ::SysFreeString(action);
    EXPECT_EQ(accessible->accDoDefaultAction(self), S_OK);
    accessible->Release();
    EXPECT_EQ(TextOf(description), whole);

    const HWND edit = ::GetWindow(C("Value"), GW_CHILD);
    ::SetFocus(edit);
    ::SendMessageW(edit, EM_SETSEL, 0, -1);
    for (const wchar_t ch : std::wstring(L"75")) ::SendMessageW(edit, WM_CHAR, ch, 0);
    ::SendMessageW(edit, EM_SETSEL, 1, 1);
    ::SendMessageW(edit, WM_CHAR, L'0', 0);
    EXPECT_EQ(editor_.Value.Text(), "705");
    ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, 2u);
    EXPECT_EQ(to, 2u);

    ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"42"));
    EXPECT_EQ(editor_.Value.Text(), "42");
    ::CoUninitialize();
}

// Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z, wherever the focus is, take back and make again the
// transfer, the fill and a typed value, the value field's own undo included. (That the save
// then matches a session without the undone steps is the Qt window's test.)
TEST_F(Win32WindowTest, UndoAndRedoByKeysReachTheEditorFromEveryComponent) {
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
}

}  // namespace
