// The one window on Windows' own controls: builds the components of the window
// description, forwards each user notification to its control's user entry and shows
// the controls. It decides nothing; the platform services are the editor's.
#pragma once

#include "win32/system.hpp"

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>

#include "editor/editor.hpp"
#include "editor/form_binding.hpp"
#include "editor/gestures.hpp"
#include "editor/window_description.hpp"

namespace ravlet::win32 {

class WinPlatform;

class Form1 : private FormBinding {
public:
    static constexpr std::size_t kCount = window::kComponentCount;

    // Creates the window, hidden and centred on its monitor, over `editor` and the
    // platform it was built with (whose busy state the window's cursor shows); both
    // outlive it.
    Form1(WinPlatform& platform, Editor& editor);
    ~Form1() override;

    // Start-up, before the window is shown: runs Form_Load and shows its result.
    // False when start-up failed; its message has been shown.
    bool Load();
    void Show();

    HWND Window() const { return window_; }
    // The native control of a component of the window description; nullptr for none.
    HWND Control(std::string_view name) const;
    // The tooltips of the components, and the one that shows a refused character.
    HWND ToolTips() const { return tips_; }
    HWND RefusedTip() const { return balloon_; }

    // One message of the loop: the window's own keys (Tab in tab-index order, Enter
    // on a push button, Enter and Space in the hint box), else translated and dispatched.
    void Dispatch(MSG& msg);

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR id, DWORD_PTR self);
    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleControl(std::size_t index, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    void CreateComponents();
    void CreateToolTips();
    // Places every component and sets the fonts for the window's current DPI.
    void Layout();
    void MakeFonts();
    int Px(int twips) const;

    bool Keys(const MSG& msg);
    // Undo and redo: Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z anywhere in the window go to the
    // editor's history, before the value field's edit could take Ctrl+Z for its own.
    bool HistoryKeys(const MSG& msg);
    void MoveFocus(bool back);
    void OnCommand(std::size_t index, WORD code);
    void ShowControl(std::size_t index, const ravlet::Control& control, bool itemsChanged) override;
    std::function<void()> KeepFocus() override;
    void ShowRefused(const RefusedCharacter& refused);
    void ClickDescription();

    WinPlatform& platform_;
    HWND window_ = nullptr;
    std::array<HWND, kCount> controls_{};
    std::array<HFONT, kCount> fonts_{};  // the fonts made for the components, or nullptr
    HWND tips_ = nullptr;
    HWND balloon_ = nullptr;
    UINT dpi_ = 96;
    bool closing_ = false;
    ListClick listClick_;
    HintClick hintClick_;
    wchar_t highSurrogate_ = 0;
};

}  // namespace ravlet::win32
