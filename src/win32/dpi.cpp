// Run-time lookup of the per-monitor DPI functions, with the system DPI where the
// system is older than they are.
#include "win32/dpi.hpp"

namespace ravlet::win32 {
namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
// shcore's GetDpiForMonitor; its first kind, MDT_EFFECTIVE_DPI, is the one windows scale by.
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
constexpr int kEffectiveDpi = 0;

// A function of user32, which every window program has loaded; null where it is missing.
template <typename Fn>
Fn User32Function(const char* name) {
    const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(user32, name)))
                  : nullptr;
}

GetDpiForMonitorFn LoadGetDpiForMonitor() {
    // From the system folder only: the program usually sits in the emulator's folder,
    // where a planted shcore.dll must not be loaded. Windows 7 has no shcore, and
    // without its loader update it refuses the flag; either way, no function.
    const HMODULE shcore = ::LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!shcore) return nullptr;
    return reinterpret_cast<GetDpiForMonitorFn>(
        reinterpret_cast<void*>(::GetProcAddress(shcore, "GetDpiForMonitor")));
}

}  // namespace

UINT WindowDpi(HWND window) {
    static const auto forWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    if (forWindow) {
        if (const UINT dpi = forWindow(window)) return dpi;
    }
    static const GetDpiForMonitorFn forMonitor = LoadGetDpiForMonitor();
    if (forMonitor) {
        UINT x = 0;
        UINT y = 0;
        const HMONITOR monitor = ::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
        if (SUCCEEDED(forMonitor(monitor, kEffectiveDpi, &x, &y)) && y != 0) return y;
    }
    return SystemDpi();
}

UINT SystemDpi() {
    const HDC screen = ::GetDC(nullptr);
    if (!screen) return USER_DEFAULT_SCREEN_DPI;
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

BOOL AdjustWindowRectForDpi(RECT* rect, DWORD style, BOOL menu, DWORD exStyle, UINT dpi) {
    static const auto forDpi =
        User32Function<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
    if (forDpi) return forDpi(rect, style, menu, exStyle, dpi);
    return ::AdjustWindowRectEx(rect, style, menu, exStyle);
}

}  // namespace ravlet::win32
