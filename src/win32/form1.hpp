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
#include "editor/window_description.hpp"

namespace ravlet::win32 {

class WinPlatform;

class Form1 {
public:
    static constexpr std::size_t kCount = std::size(window::kComponents);

    // Creates the window, hidden and centred on its monitor, over `editor` and the
    // platform it was built with (whose busy state the window's cursor shows); both
    // outlive it.
    Form1(WinPlatform& platform, Editor& editor);
    ~Form1();
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

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
    // on a push button), else translated and dispatched.
    void Dispatch(MSG& msg);

private:
    // The revisions of a model control that its native control last showed.
    struct Shown {
        static constexpr std::uint64_t kNever = ~std::uint64_t{0};
        std::uint64_t revision = kNever;
        std::uint64_t items = kNever;
        int index = -2;  // the list index last selected in the control; -2: none yet
    };

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
    HFONT FontOf(window::Font font) const;
    int Px(int twips) const;

    bool Keys(const MSG& msg);
    // Undo and redo: Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z anywhere in the window go to the
    // editor's history, before the value field's edit could take Ctrl+Z for its own.
    bool HistoryKeys(const MSG& msg);
    void MoveFocus(bool back);
    void OnCommand(std::size_t index, WORD code);
    // Runs a user's action on the model, then brings every control up to date.
    void Forward(const std::function<void()>& action);
    void SyncControls();
    void ShowRefused(const RefusedCharacter& refused);
    std::size_t IndexOf(std::string_view name) const;

    WinPlatform& platform_;
    Editor& editor_;
    HWND window_ = nullptr;
    std::array<HWND, kCount> controls_{};
    std::array<Shown, kCount> shown_{};
    HWND tips_ = nullptr;
    HWND balloon_ = nullptr;
    UINT dpi_ = 96;
    HFONT dialogFont_ = nullptr;
    HFONT listFont_ = nullptr;
    HFONT creditFont_ = nullptr;
    int forwardDepth_ = 0;
    // True while controls are set from the model: what they notify then is not the user's.
    bool syncing_ = false;
    bool closing_ = false;
    POINT pressAt_{};           // where the left button went down in Description
    int pressedRow_ = -1;       // the parameter selected when the left button went down
    bool listPressed_ = false;  // the left button is down in Parameters
    wchar_t highSurrogate_ = 0;
};

}  // namespace ravlet::win32
