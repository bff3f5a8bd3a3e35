// The window on Windows' controls: its components, their binding to the editor's
// controls, and the sync that shows the controls.
#include "win32/form1.hpp"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "textengine/codepage.hpp"
#include "textengine/value_rule.hpp"
#include "textengine/wide_text.hpp"
#include "win32/accessible_names.hpp"
#include "win32/dpi.hpp"
#include "win32/win_platform.hpp"

namespace ravlet::win32 {
namespace {

using window::Component;
using window::Kind;

constexpr wchar_t kClassName[] = L"RavletForm1";
constexpr UINT_PTR kBalloonTimer = 1;
constexpr UINT_PTR kHintClickTimer = 2;
constexpr UINT kBalloonMs = 3000;
// Control identifiers: the component's index after this.
constexpr int kFirstId = 100;
// How many rows a drop-down's list shows when it opens.
constexpr int kDropRows = 10;

std::wstring Wide(std::string_view utf8) { return Utf8ToWide(utf8).value_or(std::wstring()); }

std::wstring AsShown(const std::string& cp1251) { return Wide(Cp1251ToUtf8(cp1251)); }

// The edit control breaks lines only at CR LF; a settings text may end its lines in LF.
std::wstring ShownText(const std::string& cp1251) {
    const std::wstring text = AsShown(cp1251);
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r')) out.push_back(L'\r');
        out.push_back(text[i]);
    }
    return out;
}

std::wstring TextOf(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool IsCombo(Kind kind) { return kind == Kind::DropDownList || kind == Kind::EditableDropDown; }

// The items of a drop-down or the list box, rebuilt only when the model's changed.
void ShowItems(HWND hwnd, const ListControl& model, UINT reset, UINT add) {
    ::SendMessageW(hwnd, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(hwnd, reset, 0, 0);
    for (const std::string& item : model.Items()) {
        ::SendMessageW(hwnd, add, 0, reinterpret_cast<LPARAM>(AsShown(item).c_str()));
    }
    ::SendMessageW(hwnd, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(hwnd, nullptr, TRUE);
}

void ShowCombo(HWND hwnd, const ListControl& model, bool rebuilt, int& seenIndex, bool editable) {
    if (rebuilt) ShowItems(hwnd, model, CB_RESETCONTENT, CB_ADDSTRING);
    // An editable field goes by what was shown, not by its own index, which typing may
    // have reset: selecting again would overwrite the field under the caret.
    const bool differs = editable ? model.ListIndex() != seenIndex
                                  : ::SendMessageW(hwnd, CB_GETCURSEL, 0, 0) != model.ListIndex();
    if (rebuilt || differs) {
        ::SendMessageW(hwnd, CB_SETCURSEL, static_cast<WPARAM>(model.ListIndex()), 0);
        seenIndex = model.ListIndex();
    }
    if (editable) {
        const std::wstring text = AsShown(model.Text());
        // Leaves the caret where the user is typing when the text is already there.
        if (TextOf(hwnd) != text) {
            ::SetWindowTextW(hwnd, text.c_str());
            ::SendMessageW(hwnd, CB_SETEDITSEL, 0, MAKELPARAM(text.size(), text.size()));
        }
    }
}

void ShowList(HWND hwnd, const ListControl& model, bool rebuilt) {
    if (rebuilt) ShowItems(hwnd, model, LB_RESETCONTENT, LB_ADDSTRING);
    if (::SendMessageW(hwnd, LB_GETCURSEL, 0, 0) != model.ListIndex()) {
        ::SendMessageW(hwnd, LB_SETCURSEL, static_cast<WPARAM>(model.ListIndex()), 0);
    }
}

// A frame forwards its children's notifications to the window, which binds them, and
// paints its own background: the group box leaves it to a parent that clips it away.
LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR index,
                           DWORD_PTR) {
    if (msg == WM_COMMAND) return ::SendMessageW(::GetAncestor(hwnd, GA_ROOT), msg, wParam, lParam);
    if (msg == WM_GETOBJECT) {
        if (const LRESULT object =
                AccessibleObject(hwnd, wParam, lParam, window::kComponents[index], nullptr))
            return object;
    }
    if (msg == WM_ERASEBKGND) {
        RECT r;
        ::GetClientRect(hwnd, &r);
        ::FillRect(reinterpret_cast<HDC>(wParam), &r, ::GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}

// The edit field of the value drop-down.
HWND EditOf(HWND combo) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    return ::GetComboBoxInfo(combo, &info) ? info.hwndItem : nullptr;
}

}  // namespace

Form1::Form1(WinPlatform& platform, Editor& editor) : FormBinding(editor), platform_(platform) {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    wc.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(1));
    ::RegisterClassExW(&wc);  // fails harmlessly when a second window registers it again

    // Fixed single border: no sizing frame, no maximise.
    constexpr DWORD kStyle =
        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    window_ =
        ::CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, Wide(window::kCaption).c_str(), kStyle,
                          CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, nullptr, nullptr, instance, this);
    if (!window_) throw std::runtime_error("the window could not be created");
    dpi_ = WindowDpi(window_);
    MakeFonts();
    CreateComponents();
    CreateToolTips();
    Layout();

    // Centred on the work area of the window's monitor.
    RECT outer{0, 0, Px(window::kClientWidth), Px(window::kClientHeight)};
    AdjustWindowRectForDpi(&outer, kStyle, FALSE, WS_EX_CONTROLPARENT, dpi_);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    ::SetWindowPos(window_, nullptr, work.left + (work.right - work.left - width) / 2,
                   work.top + (work.bottom - work.top - height) / 2, width, height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    Sync();
}

Form1::~Form1() {
    closing_ = true;
    if (window_) ::DestroyWindow(window_);
    for (HFONT font : fonts_) {
        if (font) ::DeleteObject(font);
    }
}

int Form1::Px(int twips) const { return ::MulDiv(twips, static_cast<int>(dpi_), 1440); }

HWND Form1::Control(std::string_view name) const {
    const std::size_t i = window::IndexOf(name);
    return i < kCount ? controls_[i] : nullptr;
}

void Form1::MakeFonts() {
    for (std::size_t i = 0; i < kCount; ++i) {
        if (fonts_[i]) ::DeleteObject(fonts_[i]);
        const window::Font& f = window::kComponents[i].font;
        const bool fixed = std::string_view(f.family) == window::kListFont.family;
        fonts_[i] = ::CreateFontW(
            -static_cast<int>(f.pointSize * dpi_ / 72 + 0.5), 0, 0, 0, f.bold ? FW_BOLD : FW_NORMAL,
            f.italic, FALSE, FALSE, static_cast<DWORD>(f.charset ? f.charset : DEFAULT_CHARSET),
            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
            fixed ? FIXED_PITCH | FF_MODERN : VARIABLE_PITCH, Wide(f.family).c_str());
    }
}

void Form1::CreateComponents() {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    for (std::size_t i = 0; i < kCount; ++i) {
        const Component& c = window::kComponents[i];
        const wchar_t* cls = L"BUTTON";
        DWORD style = WS_CHILD | WS_VISIBLE;
        DWORD exStyle = 0;
        switch (c.kind) {
            case Kind::Frame:
                style |= BS_GROUPBOX;
                exStyle |= WS_EX_CONTROLPARENT;
                break;
            case Kind::PushButton:
                style |= BS_PUSHBUTTON | WS_TABSTOP;
                break;
            // The model toggles the box; the control only shows it.
            case Kind::CheckBox:
                style |= BS_CHECKBOX | WS_TABSTOP;
                break;
            case Kind::DropDownList:
                cls = L"COMBOBOX";
                style |= CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
                break;
            case Kind::EditableDropDown:
                cls = L"COMBOBOX";
                style |= CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP;
                break;
            case Kind::ListBox:
                cls = L"LISTBOX";
                style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP;
                exStyle |= WS_EX_CLIENTEDGE;
                break;
            case Kind::TextBox:
                cls = L"EDIT";
                style |= ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP;
                exStyle |= WS_EX_CLIENTEDGE;
                break;
            case Kind::Label:
                cls = L"STATIC";
                style |= SS_LEFT | SS_NOPREFIX | SS_NOTIFY;
                break;
        }
        // Siblings never paint over each other: the one above is drawn whole.
        style |= WS_CLIPSIBLINGS;
        const std::size_t container = window::IndexOf(c.container);
        const HWND parent = container < kCount ? controls_[container] : window_;
        const HWND hwnd = ::CreateWindowExW(
            exStyle, cls, Wide(c.caption).c_str(), style, 0, 0, 1, 1, parent,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstId + i)), instance, nullptr);
        if (!hwnd)
            throw std::runtime_error(std::string("the control ") + c.name +
                                     " could not be created");
        controls_[i] = hwnd;
        if (c.kind == Kind::Frame) {
            ::SetWindowSubclass(hwnd, FrameProc, i, 0);
        } else {
            ::SetWindowSubclass(hwnd, ControlProc, i, reinterpret_cast<DWORD_PTR>(this));
        }
        if (c.kind == Kind::EditableDropDown) {
            ::SetWindowSubclass(EditOf(hwnd), ControlProc, i, reinterpret_cast<DWORD_PTR>(this));
        }
    }
    // A sibling created earlier lies above a later one; a push button goes above all.
    for (std::size_t i = 0; i < kCount; ++i) {
        if (window::DrawnOnTop(window::kComponents[i].kind)) {
            ::SetWindowPos(controls_[i], HWND_TOP, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
}

void Form1::CreateToolTips() {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    tips_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                              WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance, nullptr);
    // The long tooltips wrap rather than run across the screen.
    ::SendMessageW(tips_, TTM_SETMAXTIPWIDTH, 0, Px(6000));
    for (std::size_t i = 0; i < kCount; ++i) {
        const Component& c = window::kComponents[i];
        if (*c.toolTip == '\0') continue;
        std::wstring text = Wide(c.toolTip);
        std::vector<HWND> tools{controls_[i]};
        if (c.kind == Kind::EditableDropDown) tools.push_back(EditOf(controls_[i]));
        for (HWND tool : tools) {
            TOOLINFOW info{};
            info.cbSize = sizeof info;
            info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            info.hwnd = window_;
            info.uId = reinterpret_cast<UINT_PTR>(tool);
            info.lpszText = text.data();
            ::SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
        }
    }

    // The sign for a refused character: a balloon below the value field, for a while.
    balloon_ =
        ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                          WS_POPUP | TTS_BALLOON | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance, nullptr);
    // Measured as a wrapping tip: a single-line balloon clips the last letter of its
    // text on some systems.
    ::SendMessageW(balloon_, TTM_SETMAXTIPWIDTH, 0, Px(6000));
    TOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    info.hwnd = window_;
    info.uId = 1;
    info.lpszText = const_cast<wchar_t*>(L"");
    ::SendMessageW(balloon_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void Form1::Layout() {
    for (std::size_t i = 0; i < kCount; ++i) {
        const Component& c = window::kComponents[i];
        const HWND hwnd = controls_[i];
        ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_[i]), FALSE);
        if (c.kind == Kind::PushButton) {
            // The balloon measures its text in the font it is given and draws it in the
            // same: the window's dialog font, as the buttons have it.
            ::SendMessageW(balloon_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_[i]), FALSE);
        }
        int width = Px(c.width);
        const int height = Px(c.height);
        if (c.kind == Kind::Label) {
            // The credit is one line and the label is sized to it: the description's
            // width fits its own wording, not necessarily ours in the fonts at hand.
            const HDC dc = ::GetDC(hwnd);
            const HGDIOBJ old = ::SelectObject(dc, fonts_[i]);
            const std::wstring text = TextOf(hwnd);
            SIZE size{};
            ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
            ::SelectObject(dc, old);
            ::ReleaseDC(hwnd, dc);
            // An italic line leans past its measured width.
            width = std::max(width, static_cast<int>(size.cx + size.cy / 4));
        }
        // A drop-down's height is its closed field's; its list opens below.
        const int placed = IsCombo(c.kind) ? height * kDropRows : height;
        ::SetWindowPos(hwnd, nullptr, Px(c.left), Px(c.top), width, placed,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        if (IsCombo(c.kind)) {
            // The closed field's height follows its item height, which the systems do not
            // all report as they take it: steer by the height measured.
            int item = static_cast<int>(
                ::SendMessageW(hwnd, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
            for (int pass = 0; pass < 3; ++pass) {
                RECT r;
                ::GetWindowRect(hwnd, &r);
                const int off = height - (r.bottom - r.top);
                if (off == 0 || item + off < 1) break;
                item += off;
                ::SendMessageW(hwnd, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), item);
            }
        }
    }
    ::InvalidateRect(window_, nullptr, TRUE);
}

bool Form1::Load() {
    const bool loaded = editor_.Form_Load();
    Sync();
    return loaded;
}

void Form1::Show() {
    ::ShowWindow(window_, SW_SHOWNORMAL);
    ::UpdateWindow(window_);
    // The first control in tab order takes the focus, as in a dialog.
    MoveFocus(false);
}

LRESULT CALLBACK Form1::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Form1*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self || !self->window_) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    return self->Handle(msg, wParam, lParam);
}

LRESULT Form1::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            if (id >= kFirstId && id < kFirstId + static_cast<int>(kCount) && lParam != 0) {
                OnCommand(static_cast<std::size_t>(id - kFirstId), HIWORD(wParam));
                return 0;
            }
            break;
        }
        case WM_CTLCOLORSTATIC:
            for (std::size_t i = 0; i < kCount; ++i) {
                const window::Colour& colour = window::kComponents[i].colour;
                if (reinterpret_cast<HWND>(lParam) != controls_[i] || colour.system) continue;
                const HDC dc = reinterpret_cast<HDC>(wParam);
                ::SetTextColor(dc, RGB(colour.red, colour.green, colour.blue));
                ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
                return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
            }
            break;
        case WM_SETCURSOR: {
            if (platform_.Busy()) {
                ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
                return TRUE;
            }
            break;
        }
        case WM_DPICHANGED: {
            dpi_ = HIWORD(wParam);
            MakeFonts();
            Layout();
            const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
            ::SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                           suggested->right - suggested->left, suggested->bottom - suggested->top,
                           SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case WM_TIMER:
            if (wParam == kHintClickTimer) {
                ::KillTimer(window_, kHintClickTimer);
                if (hintClick_.Settle()) ClickDescription();
                return 0;
            }
            if (wParam == kBalloonTimer) {
                ::KillTimer(window_, kBalloonTimer);
                TOOLINFOW info{};
                info.cbSize = sizeof info;
                info.hwnd = window_;
                info.uId = 1;
                ::SendMessageW(balloon_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&info));
                return 0;
            }
            break;
        case WM_CLOSE:
            // Closing ends the program without saving and without asking.
            ::DestroyWindow(window_);
            return 0;
        case WM_DESTROY:
            if (!closing_) ::PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(window_, msg, wParam, lParam);
}

void Form1::OnCommand(std::size_t index, WORD code) {
    if (Syncing()) return;
    const Component& c = window::kComponents[index];
    const HWND hwnd = controls_[index];
    ravlet::Control* control = ControlOf(index);
    if (control == nullptr) return;
    switch (c.kind) {
        case Kind::PushButton:
            if (code == BN_CLICKED) {
                auto* button = static_cast<Button*>(control);
                Forward([button] { button->UserClick(); });
            }
            return;
        case Kind::CheckBox:
            if (code == BN_CLICKED) {
                auto* box = static_cast<CheckBox*>(control);
                Forward([box] { box->UserClick(); });
            }
            return;
        case Kind::DropDownList:
        case Kind::EditableDropDown: {
            auto* list = static_cast<ListControl*>(control);
            if (code == CBN_SELCHANGE) {
                const int i = static_cast<int>(::SendMessageW(hwnd, CB_GETCURSEL, 0, 0));
                if (i >= 0) Forward([list, i] { list->UserSelect(i); });
            } else if (code == CBN_EDITCHANGE) {
                // Typed, pasted or set by an assistive tool: all written as typed text.
                const std::optional<std::string> utf8 = WideToUtf8(TextOf(hwnd));
                const std::optional<std::string> bytes = utf8 ? Utf8ToCp1251(*utf8) : std::nullopt;
                if (!bytes) {
                    // Refused as typed; what still got through is replaced by the control's text.
                    ShowAgain(index);
                    Sync();
                    return;
                }
                Forward([list, &bytes] { list->TypeText(*bytes); });
            } else if (code == CBN_KILLFOCUS && c.kind == Kind::EditableDropDown) {
                editor_.ValueFieldLeft();  // the next keystroke begins a step of its own
            }
            return;
        }
        case Kind::ListBox:
            if (code == LBN_SELCHANGE &&
                !listClick_.Pressed()) {  // a key; a click is taken on release
                auto* list = static_cast<ListControl*>(control);
                const int i = static_cast<int>(::SendMessageW(hwnd, LB_GETCURSEL, 0, 0));
                if (i >= 0) Forward([list, i] { list->UserSelect(i); });
            }
            return;
        default:
            return;
    }
}

void Form1::ClickDescription() {
    auto* box = static_cast<TextBox*>(ControlOf(window::IndexOf("Description")));
    Forward([box] { box->UserClick(); });
}

LRESULT CALLBACK Form1::ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                    DWORD_PTR self) {
    return reinterpret_cast<Form1*>(self)->HandleControl(id, hwnd, msg, wParam, lParam);
}

LRESULT Form1::HandleControl(std::size_t index, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const Component& c = window::kComponents[index];
    if (msg == WM_GETOBJECT) {
        // The hint box's default action shows the whole settings text, as a click does.
        const std::function<void()> action =
            c.kind == Kind::TextBox ? std::function<void()>([this] { ClickDescription(); })
                                    : nullptr;
        if (const LRESULT object = AccessibleObject(hwnd, wParam, lParam, c, action)) return object;
    }
    switch (c.kind) {
        case Kind::DropDownList:
        case Kind::EditableDropDown:
            if (msg == WM_MOUSEWHEEL && hwnd == controls_[index]) {
                // A wheel turn over a closed drop-down without the focus changes nothing:
                // it was meant for whatever has the focus.
                const HWND focus = ::GetFocus();
                const bool focused = focus == hwnd || ::IsChild(hwnd, focus);
                if (!WheelChooses(focused, ::SendMessageW(hwnd, CB_GETDROPPEDSTATE, 0, 0) != 0))
                    return 0;
            }
            if (msg == WM_CHAR && hwnd != controls_[index] && !Syncing()) {
                // The value field's own edit: a character the settings text cannot hold
                // is refused as it is typed.
                const wchar_t ch = static_cast<wchar_t>(wParam);
                if (ch >= 0xD800 && ch <= 0xDBFF) {
                    highSurrogate_ = ch;
                    return 0;
                }
                const wchar_t pair[] = {highSurrogate_, ch};
                const std::u32string typed = WideToUtf32(
                    highSurrogate_ != 0 ? std::wstring_view(pair, 2) : std::wstring_view(&ch, 1));
                const char32_t full = typed.size() == 1 ? typed[0] : ch;
                highSurrogate_ = 0;
                // Below a space are the edit's own keys (Backspace, Ctrl+C, ...), not text.
                if (const std::optional<RefusedCharacter> refused =
                        full >= 0x20 && full != 0x7F ? FirstRefused(std::u32string(1, full))
                                                     : std::nullopt) {
                    ShowRefused(*refused);
                    return 0;
                }
            }
            if (msg == WM_SETTEXT && hwnd != controls_[index] && !Syncing()) {
                // Text set from outside the window (an assistive tool) is written as
                // typed text is; the combo box reports no change for it.
                const LRESULT result = ::DefSubclassProc(hwnd, msg, wParam, lParam);
                OnCommand(index, CBN_EDITCHANGE);
                return result;
            }
            if (msg == WM_PASTE && hwnd != controls_[index]) {
                std::u32string pasted;
                if (::OpenClipboard(hwnd)) {
                    if (const HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
                        if (const auto* text = static_cast<const wchar_t*>(::GlobalLock(data))) {
                            pasted = WideToUtf32(text);
                            ::GlobalUnlock(data);
                        }
                    }
                    ::CloseClipboard();
                }
                if (const std::optional<RefusedCharacter> refused = FirstRefused(pasted)) {
                    ShowRefused(*refused);
                    return 0;
                }
            }
            break;
        case Kind::ListBox:
            // One click, one choice (ListClick), whatever the list box reports on the
            // press and the release.
            if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) {
                listClick_.Press(static_cast<int>(::SendMessageW(hwnd, LB_GETCURSEL, 0, 0)));
            } else if (msg == WM_LBUTTONUP && listClick_.Pressed()) {
                const LRESULT result = ::DefSubclassProc(hwnd, msg, wParam, lParam);
                const LRESULT hit = ::SendMessageW(hwnd, LB_ITEMFROMPOINT, 0, lParam);
                const int row = static_cast<int>(::SendMessageW(hwnd, LB_GETCURSEL, 0, 0));
                const bool onRow = HIWORD(hit) == 0 && static_cast<int>(LOWORD(hit)) == row;
                if (listClick_.Release(row, onRow)) {
                    auto* list = static_cast<ListControl*>(ControlOf(index));
                    Forward([list, row] { list->UserSelect(row); });
                }
                return result;
            } else if (msg == WM_KEYDOWN) {
                listClick_.Key();
            }
            break;
        case Kind::TextBox:
            // A click shows the settings text once the double-click time has passed
            // (HintClick); a drag or a double-click selects and is no click.
            if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) {
                ::KillTimer(window_, kHintClickTimer);
                hintClick_.Press(static_cast<short>(LOWORD(lParam)),
                                 static_cast<short>(HIWORD(lParam)), msg == WM_LBUTTONDBLCLK);
            } else if (msg == WM_LBUTTONUP) {
                const LRESULT result = ::DefSubclassProc(hwnd, msg, wParam, lParam);
                if (hintClick_.Release(
                        static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)),
                        ::GetSystemMetrics(SM_CXDRAG), ::GetSystemMetrics(SM_CYDRAG))) {
                    ::SetTimer(window_, kHintClickTimer, ::GetDoubleClickTime(), nullptr);
                }
                return result;
            }
            break;
        default:
            break;
    }
    return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}

void Form1::Dispatch(MSG& msg) {
    if (Keys(msg)) return;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
}

bool Form1::Keys(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || (msg.hwnd != window_ && !::IsChild(window_, msg.hwnd)))
        return false;
    if (HistoryKeys(msg)) return true;
    if (msg.wParam == VK_TAB && ::GetKeyState(VK_CONTROL) >= 0 && ::GetKeyState(VK_MENU) >= 0) {
        MoveFocus(::GetKeyState(VK_SHIFT) < 0);
        return true;
    }
    if (msg.hwnd == Control("Description")) {
        const HintKey key = msg.wParam == VK_RETURN  ? HintKey::Enter
                            : msg.wParam == VK_SPACE ? HintKey::Space
                                                     : HintKey::Other;
        if (ShowsWholeText(key) && ::GetKeyState(VK_CONTROL) >= 0 && ::GetKeyState(VK_MENU) >= 0) {
            ClickDescription();
            return true;
        }
    }
    if (msg.wParam == VK_RETURN) {
        // Enter on a focused push button presses it.
        for (std::size_t i = 0; i < kCount; ++i) {
            if (controls_[i] == msg.hwnd && window::kComponents[i].kind == Kind::PushButton) {
                OnCommand(i, BN_CLICKED);
                return true;
            }
        }
    }
    return false;
}

bool Form1::HistoryKeys(const MSG& msg) {
    const HistoryCommand command =
        HistoryCommandFor(static_cast<int>(msg.wParam), ::GetKeyState(VK_CONTROL) < 0,
                          ::GetKeyState(VK_SHIFT) < 0, ::GetKeyState(VK_MENU) < 0);
    if (command == HistoryCommand::None) return false;
    Forward([this, command] { editor_.Perform(command); });
    return true;
}

void Form1::MoveFocus(bool back) {
    // The components that take the focus, in ascending tab index.
    std::vector<std::size_t> order;
    window::ForEachInTabOrder([&order](std::size_t i) { order.push_back(i); });
    const HWND focus = ::GetFocus();
    std::size_t at = order.size();
    for (std::size_t k = 0; k < order.size(); ++k) {
        const HWND hwnd = controls_[order[k]];
        if (focus && (hwnd == focus || ::IsChild(hwnd, focus))) at = k;
    }
    const std::size_t n = order.size();
    for (std::size_t step = 1; step <= n; ++step) {
        const std::size_t k =
            at == n ? (back ? n - step : step - 1) : (back ? (at + n - step) % n : (at + step) % n);
        const HWND hwnd = controls_[order[k]];
        if (::IsWindowEnabled(hwnd) && ::IsWindowVisible(hwnd)) {
            ::SetFocus(hwnd);
            return;
        }
    }
}

std::function<void()> Form1::KeepFocus() {
    // Windows takes the focus off a control as it is disabled (the fill disables most
    // of the window while it runs) and does not bring it back; the editor never moves it.
    const HWND focused = ::GetFocus();
    return [focused] {
        if (focused && ::IsWindow(focused) && ::IsWindowEnabled(focused) &&
            ::IsWindowVisible(focused) && ::GetFocus() != focused) {
            ::SetFocus(focused);
        }
    };
}

void Form1::ShowControl(std::size_t index, const ravlet::Control& control, bool itemsChanged) {
    const Component& c = window::kComponents[index];
    const HWND hwnd = controls_[index];
    switch (c.kind) {
        case Kind::CheckBox:
            ::SendMessageW(
                hwnd, BM_SETCHECK,
                static_cast<const CheckBox&>(control).Value() == 1 ? BST_CHECKED : BST_UNCHECKED,
                0);
            break;
        case Kind::DropDownList:
        case Kind::EditableDropDown:
            ShowCombo(hwnd, static_cast<const ListControl&>(control), itemsChanged,
                      ShownOf(index).index, c.kind == Kind::EditableDropDown);
            break;
        case Kind::ListBox:
            ShowList(hwnd, static_cast<const ListControl&>(control), itemsChanged);
            break;
        case Kind::TextBox:
            ::SetWindowTextW(hwnd, ShownText(static_cast<const TextBox&>(control).Text()).c_str());
            break;
        default:
            break;
    }
    ::EnableWindow(hwnd, control.Enabled());
}

void Form1::ShowRefused(const RefusedCharacter& refused) {
    ::MessageBeep(MB_ICONWARNING);
    const HWND value = Control("Value");
    RECT r;
    ::GetWindowRect(value, &r);
    std::wstring text = Wide(RefusedCharacterMessage(refused));
    TOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = window_;
    info.uId = 1;
    info.lpszText = text.data();
    ::SendMessageW(balloon_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
    ::SendMessageW(balloon_, TTM_TRACKPOSITION, 0,
                   MAKELPARAM(r.left + (r.right - r.left) / 4, r.bottom));
    ::SendMessageW(balloon_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&info));
    ::SetTimer(window_, kBalloonTimer, kBalloonMs, nullptr);
}

}  // namespace ravlet::win32
