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
#include "win32/win_platform.hpp"

namespace ravlet::win32 {
namespace {

using window::Component;
using window::Kind;

constexpr wchar_t kClassName[] = L"RavletForm1";
constexpr UINT_PTR kBalloonTimer = 1;
constexpr UINT kBalloonMs = 3000;
// Control identifiers: the component's index after this.
constexpr int kFirstId = 100;
// How many rows a drop-down's list shows when it opens.
constexpr int kDropRows = 10;
// The credit label's colour.
constexpr COLORREF kCreditColour = RGB(0, 128, 128);

std::wstring Shown(const std::string& cp1251) { return Wide(Cp1251ToUtf8(cp1251)); }

// The edit control breaks lines only at CR LF; a settings text may end its lines in LF.
std::wstring ShownText(const std::string& cp1251) {
    const std::wstring text = Shown(cp1251);
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

Control* ModelOf(Editor& e, std::string_view name) {
    if (name == "Save") return &e.Save;
    if (name == "Loadini") return &e.Loadini;
    if (name == "Autoset") return &e.Autoset;
    if (name == "Autoupdate") return &e.Autoupdate;
    if (name == "Advanced") return &e.Advanced;
    if (name == "Version") return &e.Version;
    if (name == "Description") return &e.Description;
    if (name == "Parameters") return &e.Parameters;
    if (name == "Value") return &e.Value;
    if (name == "Group") return &e.Group;
    return nullptr;  // frames and the label show no model
}

// UTF-16 as characters; a lone surrogate stays, and nothing can store it.
std::u32string Ucs4(std::wstring_view text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            out.push_back(0x10000 + ((unit - 0xD800) << 10) +
                          (static_cast<char32_t>(text[++i]) - 0xDC00));
        } else {
            out.push_back(unit);
        }
    }
    return out;
}

bool TakesFocus(Kind kind) { return kind != Kind::Frame && kind != Kind::Label; }

bool Changed(const Control& model, std::uint64_t seen) { return model.Revision() != seen; }

bool IsCombo(Kind kind) { return kind == Kind::DropDownList || kind == Kind::EditableDropDown; }

// The items of a drop-down or the list box, rebuilt only when the model's changed.
void SyncItems(HWND hwnd, const ListControl& model, std::uint64_t& seen, UINT reset, UINT add) {
    if (model.ItemsRevision() == seen) return;
    ::SendMessageW(hwnd, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(hwnd, reset, 0, 0);
    for (const std::string& item : model.Items()) {
        ::SendMessageW(hwnd, add, 0, reinterpret_cast<LPARAM>(Shown(item).c_str()));
    }
    ::SendMessageW(hwnd, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(hwnd, nullptr, TRUE);
    seen = model.ItemsRevision();
}

void SyncCombo(HWND hwnd, const ListControl& model, std::uint64_t& seenItems, int& seenIndex,
               bool editable) {
    const bool rebuilt = model.ItemsRevision() != seenItems;
    SyncItems(hwnd, model, seenItems, CB_RESETCONTENT, CB_ADDSTRING);
    // An editable field goes by what was shown, not by its own index, which typing may
    // have reset: selecting again would overwrite the field under the caret.
    const bool differs = editable ? model.ListIndex() != seenIndex
                                  : ::SendMessageW(hwnd, CB_GETCURSEL, 0, 0) != model.ListIndex();
    if (rebuilt || differs) {
        ::SendMessageW(hwnd, CB_SETCURSEL, static_cast<WPARAM>(model.ListIndex()), 0);
        seenIndex = model.ListIndex();
    }
    if (editable) {
        const std::wstring text = Shown(model.Text());
        // Leaves the caret where the user is typing when the text is already there.
        if (TextOf(hwnd) != text) {
            ::SetWindowTextW(hwnd, text.c_str());
            ::SendMessageW(hwnd, CB_SETEDITSEL, 0, MAKELPARAM(text.size(), text.size()));
        }
    }
}

void SyncList(HWND hwnd, const ListControl& model, std::uint64_t& seenItems) {
    SyncItems(hwnd, model, seenItems, LB_RESETCONTENT, LB_ADDSTRING);
    if (::SendMessageW(hwnd, LB_GETCURSEL, 0, 0) != model.ListIndex()) {
        ::SendMessageW(hwnd, LB_SETCURSEL, static_cast<WPARAM>(model.ListIndex()), 0);
    }
}

// A frame forwards its children's notifications to the window, which binds them, and
// paints its own background: the group box leaves it to a parent that clips it away.
LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (msg == WM_COMMAND) return ::SendMessageW(::GetAncestor(hwnd, GA_ROOT), msg, wParam, lParam);
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

Form1::Form1(WinPlatform& platform, Editor& editor) : platform_(platform), editor_(editor) {
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
    dpi_ = ::GetDpiForWindow(window_);
    MakeFonts();
    CreateComponents();
    CreateToolTips();
    Layout();

    // Centred on the work area of the window's monitor.
    RECT outer{0, 0, Px(window::kClientWidth), Px(window::kClientHeight)};
    ::AdjustWindowRectExForDpi(&outer, kStyle, FALSE, WS_EX_CONTROLPARENT, dpi_);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    ::SetWindowPos(window_, nullptr, work.left + (work.right - work.left - width) / 2,
                   work.top + (work.bottom - work.top - height) / 2, width, height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    SyncControls();
}

Form1::~Form1() {
    // The editor outlives the window: nothing may call back into it.
    editor_.BeforeYield = nullptr;
    closing_ = true;
    if (window_) ::DestroyWindow(window_);
    for (HFONT font : {dialogFont_, listFont_, creditFont_}) {
        if (font) ::DeleteObject(font);
    }
}

int Form1::Px(int twips) const { return ::MulDiv(twips, static_cast<int>(dpi_), 1440); }

std::size_t Form1::IndexOf(std::string_view name) const {
    for (std::size_t i = 0; i < kCount; ++i) {
        if (name == window::kComponents[i].name) return i;
    }
    return kCount;
}

HWND Form1::Control(std::string_view name) const {
    const std::size_t i = IndexOf(name);
    return i < kCount ? controls_[i] : nullptr;
}

void Form1::MakeFonts() {
    for (HFONT font : {dialogFont_, listFont_, creditFont_}) {
        if (font) ::DeleteObject(font);
    }
    const int dpi = static_cast<int>(dpi_);
    // The small dialog font the fixed layout was drawn for.
    dialogFont_ = ::CreateFontW(-::MulDiv(8, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                CLEARTYPE_QUALITY, DEFAULT_PITCH, L"Tahoma");
    listFont_ = ::CreateFontW(-::MulDiv(825, dpi, 7200), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                              RUSSIAN_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                              CLEARTYPE_QUALITY, FIXED_PITCH | FF_MODERN, L"Courier New");
    creditFont_ = ::CreateFontW(-::MulDiv(12, dpi, 72), 0, 0, 0, FW_BOLD, TRUE, FALSE, FALSE,
                                RUSSIAN_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                CLEARTYPE_QUALITY, VARIABLE_PITCH | FF_ROMAN, L"Times New Roman");
}

HFONT Form1::FontOf(window::Font font) const {
    switch (font) {
        case window::Font::List:
            return listFont_;
        case window::Font::Credit:
            return creditFont_;
        case window::Font::Dialog:
            break;
    }
    return dialogFont_;
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
        const std::size_t container = IndexOf(c.container);
        const HWND parent = container < kCount ? controls_[container] : window_;
        const HWND hwnd = ::CreateWindowExW(
            exStyle, cls, Wide(c.caption).c_str(), style, 0, 0, 1, 1, parent,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstId + i)), instance, nullptr);
        if (!hwnd)
            throw std::runtime_error(std::string("the control ") + c.name +
                                     " could not be created");
        controls_[i] = hwnd;
        if (c.kind == Kind::Frame) {
            ::SetWindowSubclass(hwnd, FrameProc, 0, 0);
        } else {
            ::SetWindowSubclass(hwnd, ControlProc, i, reinterpret_cast<DWORD_PTR>(this));
        }
        if (c.kind == Kind::EditableDropDown) {
            ::SetWindowSubclass(EditOf(hwnd), ControlProc, i, reinterpret_cast<DWORD_PTR>(this));
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
        ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(c.font)), FALSE);
        int width = Px(c.width);
        const int height = Px(c.height);
        if (c.kind == Kind::Label) {
            // The credit is one line and the label is sized to it: the description's
            // width fits its own wording, not necessarily ours in the fonts at hand.
            const HDC dc = ::GetDC(hwnd);
            const HGDIOBJ old = ::SelectObject(dc, creditFont_);
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
    SyncControls();
    // A long run (the fill, the transfer) lets messages through: the controls show
    // the model as it is then.
    editor_.BeforeYield = [this] { SyncControls(); };
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
            if (reinterpret_cast<HWND>(lParam) == Control("Label1")) {
                const HDC dc = reinterpret_cast<HDC>(wParam);
                ::SetTextColor(dc, kCreditColour);
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
    if (syncing_) return;
    const Component& c = window::kComponents[index];
    const HWND hwnd = controls_[index];
    Editor& e = editor_;
    switch (c.kind) {
        case Kind::PushButton:
        case Kind::CheckBox:
            if (code != BN_CLICKED) return;
            if (c.kind == Kind::CheckBox) {
                auto* box = static_cast<CheckBox*>(ModelOf(e, c.name));
                Forward([box] { box->UserClick(); });
            } else {
                auto* button = static_cast<Button*>(ModelOf(e, c.name));
                Forward([button] { button->UserClick(); });
            }
            return;
        case Kind::DropDownList:
        case Kind::EditableDropDown: {
            auto* list = static_cast<ListControl*>(ModelOf(e, c.name));
            if (code == CBN_SELCHANGE) {
                const int i = static_cast<int>(::SendMessageW(hwnd, CB_GETCURSEL, 0, 0));
                if (i >= 0) Forward([list, i] { list->UserSelect(i); });
            } else if (code == CBN_EDITCHANGE) {
                const std::optional<std::string> utf8 = WideToUtf8(TextOf(hwnd));
                const std::optional<std::string> bytes = utf8 ? Utf8ToCp1251(*utf8) : std::nullopt;
                if (!bytes) {
                    // Refused as typed; what still got through is replaced by the model's text.
                    shown_[index].revision = Shown::kNever;
                    SyncControls();
                    return;
                }
                Forward([list, &bytes] { list->TypeText(*bytes); });
            } else if (code == CBN_KILLFOCUS && c.kind == Kind::EditableDropDown) {
                editor_.ValueFieldLeft();  // the next keystroke begins a step of its own
            }
            return;
        }
        case Kind::ListBox:
            if (code == LBN_SELCHANGE && !listPressed_) {  // a key; clicks are taken on release
                auto* list = static_cast<ListControl*>(ModelOf(e, c.name));
                const int i = static_cast<int>(::SendMessageW(hwnd, LB_GETCURSEL, 0, 0));
                if (i >= 0) Forward([list, i] { list->UserSelect(i); });
            }
            return;
        default:
            return;
    }
}

LRESULT CALLBACK Form1::ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                    DWORD_PTR self) {
    return reinterpret_cast<Form1*>(self)->HandleControl(id, hwnd, msg, wParam, lParam);
}

LRESULT Form1::HandleControl(std::size_t index, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const Component& c = window::kComponents[index];
    switch (c.kind) {
        case Kind::DropDownList:
        case Kind::EditableDropDown:
            if (msg == WM_MOUSEWHEEL && hwnd == controls_[index]) {
                // A wheel turn over a closed drop-down without the focus changes nothing:
                // it was meant for whatever has the focus.
                const HWND focus = ::GetFocus();
                const bool focused = focus == hwnd || ::IsChild(hwnd, focus);
                if (!focused && !::SendMessageW(hwnd, CB_GETDROPPEDSTATE, 0, 0)) return 0;
            }
            if (msg == WM_CHAR && hwnd != controls_[index] && !syncing_) {
                // The value field's own edit: a character the settings text cannot hold
                // is refused as it is typed.
                const wchar_t ch = static_cast<wchar_t>(wParam);
                if (ch >= 0xD800 && ch <= 0xDBFF) {
                    highSurrogate_ = ch;
                    return 0;
                }
                char32_t full = ch;
                if (ch >= 0xDC00 && ch <= 0xDFFF && highSurrogate_ != 0) {
                    full = 0x10000 + ((static_cast<char32_t>(highSurrogate_) - 0xD800) << 10) +
                           (ch - 0xDC00);
                }
                highSurrogate_ = 0;
                // Below a space are the edit's own keys (Backspace, Ctrl+C, ...), not text.
                if (const std::optional<RefusedCharacter> refused =
                        full >= 0x20 && full != 0x7F ? FirstRefused(std::u32string(1, full))
                                                     : std::nullopt) {
                    ShowRefused(*refused);
                    return 0;
                }
            }
            if (msg == WM_PASTE && hwnd != controls_[index]) {
                std::u32string pasted;
                if (::OpenClipboard(hwnd)) {
                    if (const HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
                        if (const auto* text = static_cast<const wchar_t*>(::GlobalLock(data))) {
                            pasted = Ucs4(text);
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
            // One click, one choice: the row under the release, when the press moved
            // the selection or the release is on the selected row (a click on the
            // selected parameter is a click too). What the control reports meanwhile
            // (a change on the press, another on the release) is not forwarded.
            if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) {
                pressedRow_ = static_cast<int>(::SendMessageW(hwnd, LB_GETCURSEL, 0, 0));
                listPressed_ = true;
            } else if (msg == WM_LBUTTONUP && listPressed_) {
                const LRESULT result = ::DefSubclassProc(hwnd, msg, wParam, lParam);
                listPressed_ = false;
                const LRESULT hit = ::SendMessageW(hwnd, LB_ITEMFROMPOINT, 0, lParam);
                const int row = static_cast<int>(::SendMessageW(hwnd, LB_GETCURSEL, 0, 0));
                const bool onRow = HIWORD(hit) == 0 && static_cast<int>(LOWORD(hit)) == row;
                if (row >= 0 && (row != pressedRow_ || onRow)) {
                    auto* list = static_cast<ListControl*>(ModelOf(editor_, c.name));
                    Forward([list, row] { list->UserSelect(row); });
                }
                return result;
            } else if (msg == WM_KEYDOWN) {
                listPressed_ = false;  // a press whose release went elsewhere is over
            }
            break;
        case Kind::TextBox:
            // A click shows the settings text; a drag selects and is no click.
            if (msg == WM_LBUTTONDOWN) {
                pressAt_ =
                    POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            } else if (msg == WM_LBUTTONUP) {
                const LRESULT result = ::DefSubclassProc(hwnd, msg, wParam, lParam);
                const int dx = static_cast<short>(LOWORD(lParam)) - pressAt_.x;
                const int dy = static_cast<short>(HIWORD(lParam)) - pressAt_.y;
                if (std::abs(dx) <= ::GetSystemMetrics(SM_CXDRAG) &&
                    std::abs(dy) <= ::GetSystemMetrics(SM_CYDRAG)) {
                    Forward([this] { editor_.Description.UserClick(); });
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
    for (std::size_t i = 0; i < kCount; ++i) {
        if (TakesFocus(window::kComponents[i].kind)) {
            order.push_back(i);
        }
    }
    std::sort(order.begin(), order.end(), [](std::size_t a, std::size_t b) {
        return window::kComponents[a].tabIndex < window::kComponents[b].tabIndex;
    });
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

void Form1::Forward(const std::function<void()>& action) {
    // Windows takes the focus off a control as it is disabled (the fill disables most
    // of the window while it runs) and does not bring it back; the editor never moves it.
    const HWND focused = forwardDepth_ == 0 ? ::GetFocus() : nullptr;
    ++forwardDepth_;
    try {
        action();
    } catch (const std::exception& error) {
        // An exception must not cross the system's window procedure; the user learns what failed.
        editor_.ReportFailure(error);
    }
    --forwardDepth_;
    SyncControls();
    if (focused && ::IsWindow(focused) && ::IsWindowEnabled(focused) &&
        ::IsWindowVisible(focused) && ::GetFocus() != focused) {
        ::SetFocus(focused);
    }
}

void Form1::SyncControls() {
    const bool wasSyncing = syncing_;
    syncing_ = true;
    for (std::size_t i = 0; i < kCount; ++i) {
        const Component& c = window::kComponents[i];
        ravlet::Control* model = ModelOf(editor_, c.name);
        if (!model || !Changed(*model, shown_[i].revision)) continue;
        const HWND hwnd = controls_[i];
        switch (c.kind) {
            case Kind::CheckBox:
                ::SendMessageW(
                    hwnd, BM_SETCHECK,
                    static_cast<CheckBox*>(model)->Value() == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
                break;
            case Kind::DropDownList:
            case Kind::EditableDropDown:
                SyncCombo(hwnd, *static_cast<ListControl*>(model), shown_[i].items, shown_[i].index,
                          c.kind == Kind::EditableDropDown);
                break;
            case Kind::ListBox:
                SyncList(hwnd, *static_cast<ListControl*>(model), shown_[i].items);
                break;
            case Kind::TextBox:
                ::SetWindowTextW(hwnd, ShownText(static_cast<TextBox*>(model)->Text()).c_str());
                break;
            default:
                break;
        }
        ::EnableWindow(hwnd, model->Enabled());
        shown_[i].revision = model->Revision();
    }
    syncing_ = wasSyncing;
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
